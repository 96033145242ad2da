#include "core/catalogue/toggles.h"

#include <exception>
#include <mutex>

#include "core/catalogue/location_codes.h"
#include "core/catalogue/startup_approved.h"
#include "core/catalogue/task_lock.h"
#include "core/catalogue/task_service.h"
#include "core/error.h"
#include "core/mor/path.h"
#include "core/mor/registry.h"

namespace tarnwick {
namespace {

// StartupApproved values exist from Windows 10 on; older systems remove the entry instead.
bool UsesStartupApproved(const AppContext& app) { return app.ports.systemInfo.MajorVersion() >= 10; }

}  // namespace

void SetAutorunEnabled(TextView target, TextView from, bool enable, const AppContext& app) {
  if (SameTextAscii(from, location::kFile)) {
    SetFileEnabled(target, enable, app);
  } else if (SameTextAscii(from, location::kTask)) {
    SetTaskEnabled(target, enable, app);
  } else if (SameTextAscii(from, location::kService)) {
    SetServiceEnabled(target, enable, app);
  } else {
    SetRegistryEnabled(target, enable, app);
  }
}

void SetFileEnabled(TextView path, bool enable, const AppContext& app) {
  if (UsesStartupApproved(app)) {
    const size_t slash = path.rfind(u'\\');
    const TextView directory = slash == TextView::npos ? TextView() : path.substr(0, slash);
    const TextView name = slash == TextView::npos ? path : path.substr(slash + 1);
    const RootKey root = directory == GetFolderPath(app.ports.shellFolders, csidl::kCommonStartup)
                             ? root::kLocalMachine
                             : root::kCurrentUser;
    TReg(app.ports.registry)
        .WriteBinary(root, startup_approved::kStartupFolderKey, name,
                     MakeStartupApproved(enable, app.ports.clock));
    return;
  }
  if (enable) return;
  Text message;
  if (!app.ports.fileSystem.RemoveFile(path, message)) {
    throw TarnwickError(u"\"" + Text(path) + u"\" cannot be deleted: " + message);
  }
}

void SetRegistryEnabled(TextView target, bool enable, const AppContext& app) {
  const TReg reg(app.ports.registry);
  if (!UsesStartupApproved(app)) {
    if (!enable) reg.Delete(target);
    return;
  }
  RootKey root = 0;
  Text key, name;
  if (!TReg::Parse(target, root, key, name)) return;
  const TextView approvedKey =
      ContainsTextAscii(key, u"Wow6432Node") ? startup_approved::kRun32Key : startup_approved::kRunKey;
  reg.WriteBinary(root, approvedKey, name, MakeStartupApproved(enable, app.ports.clock));
}

void SetTaskEnabled(TextView path, bool enable, const AppContext& app) {
  std::lock_guard<std::recursive_mutex> hold(TaskLock);
  TaskServiceScope connection(app.ports.com);
  if (!TaskService) return;
  try {
    std::unique_ptr<ScheduledTaskFolder> folder;
    CheckTaskCall(TaskService->GetFolder(u"\\", folder), "ITaskService::GetFolder");
    std::unique_ptr<ScheduledTask> task;
    CheckTaskCall(folder->GetTask(path, task), "ITaskFolder::GetTask");
    if (task) {
      CheckTaskCall(task->put_Enabled(enable ? kVariantTrue : kVariantFalse),
                    "IRegisteredTask::put_Enabled");
    }
  } catch (const std::exception&) {
    // A task deleted meanwhile or a scheduler that refuses changes nothing, silently.
  }
}

void SetServiceEnabled(TextView name, bool enable, const AppContext& app) {
  auto manager = app.ports.services.Connect(scm::kConnect);
  if (!manager) return;
  auto service = manager->Open(Text(name), scm::kChangeConfig | scm::kStop);
  if (!service) return;
  (void)service->ChangeStartType(enable ? scm::kAutoStart : scm::kDisabled);
}

}  // namespace tarnwick
