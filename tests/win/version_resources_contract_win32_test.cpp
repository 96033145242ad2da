// The version resources contract against real files: our own programs under Wine.

#include <windows.h>

#include "platform/win32/file_info_win32.h"
#include "platform/win32/wide.h"
#include "tests/contract/version_resources_contract.h"

namespace tarnwick::contract {
namespace {

Text BesideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return win32::FromWide((path.substr(0, path.find_last_of(L'\\') + 1) + name).c_str());
}

class Win32Environment {
 public:
  VersionResources& versions() { return versions_; }
  Text withVersion() const { return BesideThisProgram(L"Tarnwick.exe"); }
  Text withoutVersion() const { return BesideThisProgram(L"core_tests.exe"); }
  Text missing() const { return BesideThisProgram(L"missing.exe"); }

 private:
  win32::Win32VersionResources versions_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, VersionResourcesContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
