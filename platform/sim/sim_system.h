#pragma once
// Small simulated ports: shell folders, system facts and the clock. Their defaults describe
// an x64 Windows 10 with one user, "user".

#include <cstdint>
#include <map>

#include "platform/sim/fault_plan.h"
#include "ports/clock.h"
#include "ports/shell_folders.h"
#include "ports/system_info.h"

namespace tarnwick::sim {

inline constexpr char16_t kCommonStartup[] =
    u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
inline constexpr char16_t kUserStartup[] =
    u"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";

// Fault call: "SHGetFolderPathW" [the CSIDL as decimal text].
class SimShellFolders final : public ShellFolders {
 public:
  explicit SimShellFolders(FaultPlan& faults);
  // Sets a folder's path as the shell returns it; an empty path makes the shell fail for it.
  void Set(int csidl, Text path) { folders_[csidl] = std::move(path); }
  bool FolderPath(int csidl, Text& out) override;

 private:
  FaultPlan& faults_;
  std::map<int, Text> folders_;
};

class SimSystemInfo final : public SystemInfo {
 public:
  uint16_t architecture = 9;  // AMD64
  uint32_t majorVersion = 10;
  uint32_t minorVersion = 0;
  uint16_t NativeProcessorArchitecture() override { return architecture; }
  uint32_t MajorVersion() override { return majorVersion; }
  uint32_t MinorVersion() override { return minorVersion; }
  Text programPath = u"C:\\Program Files\\Tarnwick\\Tarnwick.exe";
  Text ProgramPath() override { return programPath; }
  Text userSid = u"S-1-5-21-1004336348-1177238915-682003330-1001";
  Text UserSid() override { return userSid; }
};

class SimClock final : public Clock {
 public:
  uint64_t now = 0x01DB2F5C7A3E4000;  // a moment in 2024
  LocalTime local{2024, 3, 7, 9, 5, 2};
  uint32_t ticks = 12345;
  uint64_t UtcNowFileTime() override { return now; }
  LocalTime LocalNow() override { return local; }
  uint32_t TickCount() override { return ticks; }
};

}  // namespace tarnwick::sim
