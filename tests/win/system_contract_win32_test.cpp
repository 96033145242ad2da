// The small system ports' contracts against Wine.

#include "platform/win32/locale_win32.h"
#include "platform/win32/system_win32.h"
#include "tests/contract/system_contract.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  ShellFolders& shellFolders() { return shellFolders_; }
  SystemInfo& systemInfo() { return systemInfo_; }
  Clock& clock() { return clock_; }
  Locale& locale() { return locale_; }
  ProgramResources& resources() { return resources_; }

 private:
  win32::Win32ShellFolders shellFolders_;
  win32::Win32SystemInfo systemInfo_;
  win32::Win32Clock clock_;
  win32::Win32Locale locale_;
  win32::Win32Resources resources_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SystemContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
