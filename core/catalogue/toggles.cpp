#include "core/catalogue/toggles.h"


#include "core/catalogue/location_codes.h"
#include "core/catalogue/run_keys.h"
#include "core/catalogue/service_start_record.h"
#include "core/catalogue/startup_approved.h"
#include "core/catalogue/task_session.h"
#include "core/error.h"
#include "core/paths/path.h"
#include "core/registry/registry.h"

namespace tarnwick {

bool UsesStartupApproved(SystemInfo& system) {
  const uint32_t major = system.MajorVersion();
  return major > 6 || (major == 6 && system.MinorVersion() >= 2);
}

void SetAutorunEnabled(const EntryId& id, bool enable, const AppContext& app) {
  if (SameTextAscii(id.from, location::kFile)) {
    SetFileEnabled(id.target, enable, app);
  } else if (SameTextAscii(id.from, location::kTask)) {
    SetTaskEnabled(id.target, enable, app);
  } else if (SameTextAscii(id.from, location::kService)) {
    SetServiceEnabled(id.target, enable, app);
  } else {
    SetRegistryEnabled(id.target, enable, app);
  }
}

void SetFileEnabled(TextView path, bool enable, const AppContext& app) {
  if (UsesStartupApproved(app.ports.systemInfo)) {
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
  RootKey root = 0;
  Text key, name;
  if (!SplitRegistryTarget(target, root, key, name)) return;
  if (!UsesStartupApproved(app.ports.systemInfo)) {
    // The value alone goes, even when a subkey of the Run key bears its name.
    if (!enable) reg.DeleteValue(root, key, name);
    return;
  }
  const TextView approvedKey =
      ContainsTextAscii(key, u"Wow6432Node") ? startup_approved::kRun32Key : startup_approved::kRunKey;
  reg.WriteBinary(root, approvedKey, name, MakeStartupApproved(enable, app.ports.clock));
}

void SetTaskEnabled(TextView path, bool enable, const AppContext& app) {
  TaskSession session(app.ports.com);
  if (!session.Service()) return;
  // A task deleted meanwhile or a scheduler that refuses changes nothing, silently.
  std::unique_ptr<ScheduledTaskFolder> folder;
  if (!Succeeded(session.Service()->GetFolder(u"\\", folder))) return;
  std::unique_ptr<ScheduledTask> task;
  if (!Succeeded(folder->GetTask(path, task))) return;
  (void)task->put_Enabled(enable ? kVariantTrue : kVariantFalse);
}

void SetServiceEnabled(TextView name, bool enable, const AppContext& app) {
  namespace record = service_start_record;
  auto manager = app.ports.services.Connect(scm::kConnect);
  if (!manager) return;
  auto service = manager->Open(Text(name), scm::kQueryConfig | scm::kChangeConfig | scm::kStop);
  if (!service) return;
  const TReg reg(app.ports.registry);

  if (!enable) {
    ServiceConfig config;
    bool delayed = false;
    const bool known = service->QueryConfig(config);
    // Remembered before the change, so that a failure in between never loses the type.
    const bool remember = known && config.startType != scm::kDisabled;
    if (remember) {
      if (!service->QueryDelayedAutoStart(delayed)) delayed = false;
      record::Remember(reg, name, {config.startType, delayed && config.startType == scm::kAutoStart});
    }
    if (!service->ChangeStartType(scm::kDisabled) && remember) record::Forget(reg, name);
    return;
  }

  std::optional<record::StartType> recorded = record::Recorded(reg, name);
  ServiceConfig config;
  if (recorded && service->QueryConfig(config) && config.startType != scm::kDisabled) {
    // Someone changed the type since it was disabled here: the record no longer applies.
    record::Forget(reg, name);
    recorded.reset();
  }
  if (!recorded) {
    (void)service->ChangeStartType(scm::kAutoStart);
    return;
  }
  if (!service->ChangeStartType(recorded->startType)) return;  // the record stays for a retry
  if (recorded->startType == scm::kAutoStart) (void)service->ChangeDelayedAutoStart(recorded->delayed);
  record::Forget(reg, name);
}

}  // namespace tarnwick
