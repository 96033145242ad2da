// The Task Scheduler contract against the simulated scheduler.

#include "platform/sim/sim_task_scheduler.h"
#include "tests/contract/task_scheduler_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() { scheduler_.tasks = {{u"\\", u"Updater"}}; }
  ComRuntime& com() { return scheduler_; }
  bool countsTasks() const { return true; }

 private:
  sim::FaultPlan faults_;
  sim::SimTaskScheduler scheduler_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, TaskSchedulerContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
