#include "platform/sim/sim_system.h"

#include <string>

#include "core/paths/path.h"

namespace tarnwick::sim {

SimShellFolders::SimShellFolders(FaultPlan& faults) : faults_(faults) {
  folders_ = {
      {csidl::kWindows, u"C:\\Windows"},
      {csidl::kProgramFiles, u"C:\\Program Files"},
      {csidl::kProgramFilesX86, u"C:\\Program Files (x86)"},
      {csidl::kProgramFilesCommon, u"C:\\Program Files\\Common Files"},
      {csidl::kProgramFilesCommonX86, u"C:\\Program Files (x86)\\Common Files"},
      {csidl::kCommonAppData, u"C:\\ProgramData"},
      {csidl::kAppData, u"C:\\Users\\user\\AppData\\Roaming"},
      {csidl::kCommonDocuments, u"C:\\Users\\Public\\Documents"},
      {csidl::kCommonStartup, kCommonStartup},
      {csidl::kStartup, kUserStartup},
  };
}

bool SimShellFolders::FolderPath(int csidl, Text& out) {
  if (faults_.ShouldFail("SHGetFolderPathW", FromUtf8(std::to_string(csidl)))) return false;
  auto it = folders_.find(csidl);
  if (it == folders_.end() || it->second.empty()) return false;
  out = it->second;
  return true;
}

}  // namespace tarnwick::sim
