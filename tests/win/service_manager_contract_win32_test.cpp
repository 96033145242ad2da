// The service manager contract against Wine's service control manager, with a service of
// the test's own.

#include <windows.h>

#include "platform/win32/service_manager_win32.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "tests/contract/service_manager_contract.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  Win32Environment() {
    manager_.reset(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager_) return;
    Remove();  // a run that died earlier may have left it
    service_.reset(CreateServiceW(manager_.get(), win32::Wide(name()).c_str(), win32::Wide(displayName()).c_str(),
                                  SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                  SERVICE_ERROR_NORMAL, win32::Wide(binaryPath()).c_str(), nullptr, nullptr,
                                  nullptr, nullptr, nullptr));
  }
  ~Win32Environment() {
    if (service_) DeleteService(service_.get());
  }
  ServiceManager& services() { return services_; }
  Text name() const { return u"TarnwickContractSvc"; }
  Text displayName() const { return u"Tarnwick Contract \u00E9\uD55C"; }
  Text binaryPath() const { return u"\"C:\\Program Files\\T\\svc.exe\" -k group"; }
  // Windows keeps it; Wine 8 refuses the query and the change.
  bool delayedFlagSupported() const {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
  }

 private:
  void Remove() {
    win32::UniqueScHandle old(OpenServiceW(manager_.get(), win32::Wide(name()).c_str(), DELETE));
    if (old) DeleteService(old.get());
  }
  win32::UniqueScHandle manager_, service_;
  win32::Win32ServiceManager services_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ServiceManagerContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
