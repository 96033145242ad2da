// The Task Scheduler contract against Wine's Task Scheduler, through our own declarations.

#include <windows.h>

#include "platform/win32/task_scheduler_win32.h"
#include "tests/contract/task_scheduler_contract.h"
#include "tests/win/test_support.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  ComRuntime& com() { return com_; }
  // Windows counts them; Wine 8 answers E_NOTIMPL.
  bool countsTasks() const { return !test::RunningUnderWine(); }

 private:
  win32::Win32ComRuntime com_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TaskSchedulerContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
