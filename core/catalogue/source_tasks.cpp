#include <mutex>

#include "core/catalogue/sources.h"
#include "core/catalogue/task_lock.h"

namespace tarnwick {

void ReadScheduledTasks(TAutorunList&, const AppContext&) {
  std::lock_guard<std::recursive_mutex> hold(TaskLock);
  // The root folder's tasks are read here once the Task Scheduler port exists.
}

}  // namespace tarnwick
