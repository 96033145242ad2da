#pragma once
// A connection to the Task Scheduler for one use: the task source's read or one task toggle.
// It initialises COM on the calling thread as needed and gives that back when it ends.

#include <memory>

#include "ports/task_scheduler.h"

namespace tarnwick {

class TaskSession {
 public:
  // Connects; a failure at any step leaves the session unconnected and COM as it was.
  explicit TaskSession(ComRuntime& com);
  // Releases the service, then undoes this session's COM initialisation.
  ~TaskSession();
  TaskSession(const TaskSession&) = delete;
  TaskSession& operator=(const TaskSession&) = delete;

  // nullptr when the Task Scheduler could not be reached.
  ScheduledTaskService* Service() const { return service_.get(); }

 private:
  void UndoComInitialization();

  ComRuntime& com_;
  // True when this session holds a COM initialisation of its own to give back.
  bool comInitialized_ = false;
  std::unique_ptr<ScheduledTaskService> service_;
};

}  // namespace tarnwick
