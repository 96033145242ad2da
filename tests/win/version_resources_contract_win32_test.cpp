// The version resources contract against real files: our own programs under Wine.

#include <windows.h>

#include "platform/win32/file_info_win32.h"
#include "tests/contract/version_resources_contract.h"
#include "tests/win/test_support.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  VersionResources& versions() { return versions_; }
  Text withVersion() const { return test::BesideThisProgram(L"Tarnwick.exe"); }
  Text withoutVersion() const { return test::BesideThisProgram(L"core_tests.exe"); }
  Text missing() const { return test::BesideThisProgram(L"missing.exe"); }

 private:
  win32::Win32VersionResources versions_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, VersionResourcesContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
