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
  bool keepsActions() const { return true; }
  void Register(const Text& definition) {
    scheduler_.tasks.push_back({u"\\TarnwickContract", u"Probe", true, false, definition});
  }

 private:
  sim::FaultPlan faults_;
  sim::SimTaskScheduler scheduler_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, TaskSchedulerContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
