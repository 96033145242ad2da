// The service manager contract against Wine's service control manager, with a service of
// the test's own.

#include <windows.h>

#include "platform/win32/service_manager_win32.h"
#include "platform/win32/wide.h"
#include "tests/contract/service_manager_contract.h"
#include "tests/win/test_support.h"

namespace tarnwick::contract {
namespace {

constexpr wchar_t kName[] = L"TarnwickContractSvc";
constexpr wchar_t kDisplayName[] = L"Tarnwick Contract \u00E9\uD55C";
constexpr wchar_t kBinaryPath[] = L"\"C:\\Program Files\\T\\svc.exe\" -k group";

class Win32Environment {
 public:
  ServiceManager& services() { return services_; }
  Text name() const { return win32::FromWide(kName); }
  Text displayName() const { return win32::FromWide(kDisplayName); }
  Text binaryPath() const { return win32::FromWide(kBinaryPath); }
  // Windows keeps it; Wine 8 refuses the query and the change.
  bool delayedFlagSupported() const { return !test::RunningUnderWine(); }

 private:
  test::ScratchService service_{kName, kDisplayName, kBinaryPath};
  win32::Win32ServiceManager services_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ServiceManagerContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
