#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/task_definition.h"
#include "core/catalogue/task_session.h"
#include "core/paths/path.h"

namespace tarnwick {
namespace {

constexpr size_t kMaxDefinitionBytes = 1024 * 1024;
constexpr int kMaxDepth = 16;
constexpr TextView kTasksFolder = u"\\System32\\Tasks";

// "\Name" in the root, "\Vendor\Name" below it.
Text TaskPath(TextView folder, TextView name) {
  Text path(folder);
  if (path.empty() || path.back() != u'\\') path += u'\\';
  return path + Text(name);
}

void TakeDefinition(TAutorunInfo& entry, const TaskDefinition& definition, const AppContext& app) {
  if (definition.command.empty()) return;
  const Text quoted = u"\"" + definition.command + u"\"";
  entry.FileName = CommandLineToPath(app.folderVars, quoted);
  entry.RawData = definition.arguments.empty() ? quoted : quoted + u" " + definition.arguments;
}

// Tasks below the root that run at logon or boot, folder after folder; a folder that cannot
// be read ends only itself.
void ReadTaskSubfolders(ScheduledTaskService& service, TextView path, int depth, TAutorunList& list,
                        const AppContext& app) {
  std::unique_ptr<ScheduledTaskFolder> folder;
  if (depth > kMaxDepth || !Succeeded(service.GetFolder(path, folder))) return;
  std::vector<Text> subfolders;
  if (!Succeeded(folder->GetFolderPaths(subfolders))) subfolders.clear();
  for (const Text& subfolder : subfolders) {
    std::unique_ptr<ScheduledTaskFolder> child;
    std::unique_ptr<ScheduledTaskCollection> tasks;
    int32_t count = 0;
    if (Succeeded(service.GetFolder(subfolder, child)) && Succeeded(child->GetTasks(0, tasks)) &&
        Succeeded(tasks->get_Count(count))) {
      for (int32_t index = 1; index <= count; ++index) {
        std::unique_ptr<ScheduledTask> task;
        TAutorunInfo entry;
        int16_t enabled = kVariantFalse;
        Text xml;
        TaskDefinition definition;
        if (!Succeeded(tasks->get_Item(index, task)) || !Succeeded(task->get_Name(entry.Caption)) ||
            !Succeeded(task->get_Xml(xml)) || !ParseTaskDefinition(xml, definition) || !definition.atLogonOrBoot ||
            !Succeeded(task->get_Enabled(enabled))) {
          continue;
        }
        entry.Target = TaskPath(subfolder, entry.Caption);
        entry.From = Text(location::kTask);
        entry.Enabled = enabled != kVariantFalse;
        TakeDefinition(entry, definition, app);
        list.push_back(std::move(entry));
      }
    }
    ReadTaskSubfolders(service, subfolder, depth + 1, list, app);
  }
}

// Without an enumerable collection: the definition files under System32\Tasks, each task
// opened by its path for its state. The root's tasks all count; below it, those that run at
// logon or boot. Hidden tasks stay out, as the enumeration leaves them out.
void ReadTaskFiles(ScheduledTaskFolder& root, TextView folder, TextView taskFolder, int depth, TAutorunList& list,
                   const AppContext& app) {
  if (depth > kMaxDepth) return;
  std::vector<Text> names;
  if (app.ports.fileSystem.ListFiles(folder, names).status != ListStatus::Ok) return;
  const bool inRoot = taskFolder == u"\\";
  for (const Text& name : names) {
    std::string bytes;
    Text message;
    TaskDefinition definition;
    const bool read = app.ports.fileSystem.ReadWholeFile(Text(folder) + u"\\" + name, kMaxDefinitionBytes, bytes, message) &&
                      ParseTaskDefinition(DecodeTextFile(bytes), definition);
    if (read && definition.hidden) continue;
    if (!inRoot && !(read && definition.atLogonOrBoot)) continue;
    TAutorunInfo entry;
    entry.Caption = name;
    entry.Target = TaskPath(taskFolder, name);
    entry.From = Text(location::kTask);
    entry.Enabled = definition.enabled;
    std::unique_ptr<ScheduledTask> task;
    int16_t enabled = kVariantFalse;
    if (Succeeded(root.GetTask(entry.Target, task)) && Succeeded(task->get_Enabled(enabled))) {
      entry.Enabled = enabled != kVariantFalse;
    } else if (!read) {
      continue;  // neither the scheduler nor the file knows it
    }
    if (read) TakeDefinition(entry, definition, app);
    list.push_back(std::move(entry));
  }
  std::vector<Text> subfolders;
  if (app.ports.fileSystem.ListSubfolders(folder, subfolders).status != ListStatus::Ok) return;
  for (const Text& subfolder : subfolders) {
    ReadTaskFiles(root, Text(folder) + u"\\" + subfolder, TaskPath(taskFolder, subfolder), depth + 1, list, app);
  }
}

}  // namespace

HResult ReadTaskFolder(ScheduledTaskService& service, TextView path, TAutorunList& list, const AppContext* app) {
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
    Text xml;
    TaskDefinition definition;
    // What it starts is a detail: a definition that cannot be read costs the entry nothing.
    if (app && Succeeded(task->get_Xml(xml)) && ParseTaskDefinition(xml, definition)) {
      TakeDefinition(entry, definition, *app);
    }
    list.push_back(std::move(entry));
  }
  return hresult::kOk;
}

void ReadScheduledTasks(TAutorunList& list, const AppContext& app) {
  TaskSession session(app.ports.com);
  // A failing Task Scheduler ends this source quietly; what was read stays.
  ScheduledTaskService* service = session.Service();
  if (!service) return;
  const size_t before = list.size();
  const HResult root = ReadTaskFolder(*service, u"\\", list, &app);
  if (Succeeded(root)) {
    ReadTaskSubfolders(*service, u"\\", 0, list, app);
    return;
  }
  // A collection that cannot be counted or walked at all (Wine): the definition files instead.
  std::unique_ptr<ScheduledTaskFolder> rootFolder;
  const Text windows = app.folderVars.Path(u"%SystemRoot%");
  if (list.size() != before || windows.empty() || !Succeeded(service->GetFolder(u"\\", rootFolder))) return;
  ReadTaskFiles(*rootFolder, windows + Text(kTasksFolder), u"\\", 0, list, app);
}

}  // namespace tarnwick
