#pragma once
// The one shared connection to the Task Scheduler, opened and closed around each use by the
// task source and the task toggle while they hold TaskLock.

#include <memory>

#include "ports/task_scheduler.h"

namespace tarnwick {

// Set while a connection is open. Touched only under TaskLock.
extern std::unique_ptr<ScheduledTaskService> TaskService;
// True when the open connection holds a COM initialisation of its own to undo.
extern bool TaskComInitialized;

// Leaves TaskService set when connected, unset otherwise; raises nothing.
void OpenTaskService(ComRuntime& com);
// Releases TaskService and undoes this connection's COM initialisation.
void CloseTaskService(ComRuntime& com);

// Closes the connection on every path out of a scope.
class TaskServiceScope {
 public:
  explicit TaskServiceScope(ComRuntime& com) : com_(com) { OpenTaskService(com_); }
  ~TaskServiceScope() { CloseTaskService(com_); }
  TaskServiceScope(const TaskServiceScope&) = delete;
  TaskServiceScope& operator=(const TaskServiceScope&) = delete;

 private:
  ComRuntime& com_;
};

// Throws TarnwickError for a failed call, as the task code's interface calls do.
void CheckTaskCall(HResult result, const char* call);

}  // namespace tarnwick
