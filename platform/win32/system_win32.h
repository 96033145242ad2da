#pragma once
// Small real ports: shell folders, system facts, the clock, folder listing.

#include "ports/clock.h"
#include "ports/file_system.h"
#include "ports/shell_folders.h"
#include "ports/system_info.h"

namespace tarnwick::win32 {

class Win32ShellFolders final : public ShellFolders {
 public:
  bool FolderPath(int csidl, Text& out) override;
};

class Win32SystemInfo final : public SystemInfo {
 public:
  uint16_t NativeProcessorArchitecture() override;
  uint32_t MajorVersion() override;
  uint32_t MinorVersion() override;
  Text ProgramPath() override;
  Text UserSid() override;
};

class Win32Clock final : public Clock {
 public:
  uint64_t UtcNowFileTime() override;
  LocalTime LocalNow() override;
  uint32_t TickCount() override;
};

class Win32FileSystem final : public FileSystem {
 public:
  ListResult ListFiles(TextView folder, std::vector<Text>& names) override;
  ListResult ListSubfolders(TextView folder, std::vector<Text>& names) override;
  bool FileExists(TextView path) override;
  bool Stamp(TextView path, FileStamp& stamp) override;
  bool ReadWholeFile(TextView path, size_t limit, std::string& bytes, Text& message) override;
  bool RemoveFile(TextView path, Text& message) override;
  bool WriteWholeFile(TextView path, const std::string& bytes, Text& message) override;
};

// The system's message for an error code, without the trailing line break.
Text SystemMessage(unsigned long error);

}  // namespace tarnwick::win32
