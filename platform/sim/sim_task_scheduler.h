#pragma once
// The simulated COM runtime and Task Scheduler. COM keeps the calling thread's apartment and
// initialisation count as Windows does; live objects are counted to catch leaked references.
//
// Fault calls (subject in brackets): "CoInitializeEx", "CoInitializeSecurity",
// "CoCreateInstance", "ITaskService::Connect", "ITaskService::GetFolder" [path],
// "ITaskFolder::GetTasks", "ITaskFolder::GetTask" [path],
// "IRegisteredTaskCollection::get_Count", "IRegisteredTaskCollection::get_Item",
// "IRegisteredTask::get_Name", "IRegisteredTask::get_Enabled", "IRegisteredTask::put_Enabled",
// "IRegisteredTask::get_Xml" [task name], "ITaskFolder::GetFolders" [folder path]. A failing
// call returns E_FAIL.

#include <vector>

#include "platform/sim/fault_plan.h"
#include "platform/sim/folded_index.h"
#include "ports/task_scheduler.h"

namespace tarnwick::sim {

struct SimTask {
  Text folder = u"\\";  // "\" or "\Sub"
  Text name;
  bool enabled = true;
  bool hidden = false;
  Text xml;  // its definition
};

enum class Apartment { None, Multithreaded, SingleThreaded };

class SimTaskScheduler final : public ComRuntime {
 public:
  explicit SimTaskScheduler(FaultPlan& faults) : faults_(faults) {}

  std::vector<SimTask> tasks;
  // Folders without tasks of their own; folders of tasks exist anyway.
  std::vector<Text> folders;
  bool serviceRunning = true;  // Connect fails while the service is stopped

  // The thread's COM state; a test may start it initialised, as the UI thread is.
  Apartment apartment = Apartment::None;
  int initCount = 0;
  bool securitySet = false;

  int LiveObjects() const { return liveObjects_; }
  SimTask* Find(TextView folder, TextView name);

  HResult CoInitializeEx() override;
  HResult CoInitializeSecurity() override;
  HResult CreateTaskService(std::unique_ptr<ScheduledTaskService>& service) override;
  void CoUninitialize() override;

 private:
  friend class SimObject;
  FaultPlan& faults_;
  int liveObjects_ = 0;
  FoldedIndex index_;
};

}  // namespace tarnwick::sim
