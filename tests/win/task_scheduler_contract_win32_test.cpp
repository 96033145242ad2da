// The Task Scheduler contract against Wine's Task Scheduler, through our own declarations.

#include <windows.h>

#include "platform/win32/task_scheduler_win32.h"
#include "tests/contract/task_scheduler_contract.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  ComRuntime& com() { return com_; }
  // Windows counts them; Wine 8 answers E_NOTIMPL.
  bool countsTasks() const { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr; }

 private:
  win32::Win32ComRuntime com_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TaskSchedulerContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
