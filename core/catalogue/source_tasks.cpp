
#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/task_session.h"

namespace tarnwick {

HResult ReadTaskFolder(ScheduledTaskService& service, TextView path, TAutorunList& list) {
  std::unique_ptr<ScheduledTaskFolder> folder;
  if (const HResult result = service.GetFolder(path, folder); !Succeeded(result)) return result;
  std::unique_ptr<ScheduledTaskCollection> tasks;
  if (const HResult result = folder->GetTasks(0, tasks); !Succeeded(result)) return result;
  int32_t count = 0;
  if (const HResult result = tasks->get_Count(count); !Succeeded(result)) return result;

  Text prefix(path);
  if (!prefix.empty() && prefix.back() == u'\\') prefix.pop_back();
  for (int32_t index = 1; index <= count; ++index) {
    std::unique_ptr<ScheduledTask> task;
    TAutorunInfo entry;
    int16_t enabled = kVariantFalse;
    HResult result = tasks->get_Item(index, task);
    if (Succeeded(result)) result = task->get_Name(entry.Caption);
    if (Succeeded(result)) result = task->get_Enabled(enabled);
    if (!Succeeded(result)) return result;  // the tasks read so far stay
    entry.Target = prefix + u"\\" + entry.Caption;
    entry.From = Text(location::kTask);
    entry.Enabled = enabled != kVariantFalse;
    list.push_back(std::move(entry));
  }
  return hresult::kOk;
}

void ReadScheduledTasks(TAutorunList& list, const AppContext& app) {
  TaskSession session(app.ports.com);
  // A failing Task Scheduler ends this source quietly; what was read stays.
  if (session.Service()) (void)ReadTaskFolder(*session.Service(), u"\\", list);
}

}  // namespace tarnwick
