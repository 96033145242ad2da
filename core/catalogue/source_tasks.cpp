#include <exception>
#include <mutex>

#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/task_lock.h"
#include "core/catalogue/task_service.h"

namespace tarnwick {

void ReadTaskFolder(ScheduledTaskService& service, TextView path, TAutorunList& list) {
  std::unique_ptr<ScheduledTaskFolder> folder;
  CheckTaskCall(service.GetFolder(path, folder), "ITaskService::GetFolder");
  std::unique_ptr<ScheduledTaskCollection> tasks;
  CheckTaskCall(folder->GetTasks(0, tasks), "ITaskFolder::GetTasks");
  int32_t count = 0;
  CheckTaskCall(tasks->get_Count(count), "IRegisteredTaskCollection::get_Count");

  Text prefix(path);
  if (!prefix.empty() && prefix.back() == u'\\') prefix.pop_back();
  for (int32_t index = 1; index <= count; ++index) {
    std::unique_ptr<ScheduledTask> task;
    CheckTaskCall(tasks->get_Item(index, task), "IRegisteredTaskCollection::get_Item");
    TAutorunInfo entry;
    CheckTaskCall(task->get_Name(entry.Caption), "IRegisteredTask::get_Name");
    int16_t enabled = kVariantFalse;
    CheckTaskCall(task->get_Enabled(enabled), "IRegisteredTask::get_Enabled");
    entry.Target = prefix + u"\\" + entry.Caption;
    entry.From = Text(location::kTask);
    entry.Enabled = enabled != kVariantFalse;
    list.push_back(std::move(entry));
  }
}

void ReadScheduledTasks(TAutorunList& list, const AppContext& app) {
  std::lock_guard<std::recursive_mutex> hold(TaskLock);
  TaskServiceScope connection(app.ports.com);
  if (!TaskService) return;
  try {
    ReadTaskFolder(*TaskService, u"\\", list);
  } catch (const std::exception&) {
    // A failing Task Scheduler ends this source quietly; what was read stays.
  }
}

}  // namespace tarnwick
