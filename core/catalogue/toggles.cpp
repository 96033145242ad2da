#include "core/catalogue/toggles.h"


#include "core/catalogue/location_codes.h"
#include "core/catalogue/run_keys.h"
#include "core/catalogue/service_start_record.h"
#include "core/catalogue/startup_approved.h"
#include "core/catalogue/store_apps.h"
#include "core/catalogue/task_session.h"
#include "core/error.h"
#include "core/paths/path.h"
#include "core/registry/registry.h"

namespace tarnwick {

bool UsesStartupApproved(SystemInfo& system) {
  const uint32_t major = system.MajorVersion();
  return major > 6 || (major == 6 && system.MinorVersion() >= 2);
}

SwitchBlock SwitchBlockOf(const EntryId& id, const AppContext& app) {
  for (TextView code : {location::kRunOnce, location::kPolicyRun, location::kWinlogon}) {
    if (SameTextAscii(id.from, code)) return SwitchBlock::NoReversibleSwitch;
  }
  int32_t state = 0;
  if (SameTextAscii(id.from, location::kStoreApp) && StoreTaskState(app, id.target, state) &&
      (state == store_app::kDisabledByPolicy || state == store_app::kEnabledByPolicy)) {
    return SwitchBlock::SetByPolicy;
  }
  return SwitchBlock::None;
}

const char* SwitchBlockText(SwitchBlock block) {
  switch (block) {
    case SwitchBlock::NoReversibleSwitch:
      return "Windows keeps no off state for this place; it can only be deleted, which this program does not do";
    case SwitchBlock::SetByPolicy: return "the administrator's policy switches this app";
    case SwitchBlock::None: break;
  }
  return "";
}

SwitchStatus SetAutorunEnabled(const EntryId& id, bool enable, const AppContext& app) {
  if (SwitchBlockOf(id, app) != SwitchBlock::None) return SwitchStatus::Blocked;
  if (SameTextAscii(id.from, location::kStoreApp)) return SetStoreAppEnabled(id.target, enable, app);
  if (SameTextAscii(id.from, location::kFile)) return SetFileEnabled(id.target, enable, app);
  if (SameTextAscii(id.from, location::kTask)) return SetTaskEnabled(id.target, enable, app);
  if (SameTextAscii(id.from, location::kService)) return SetServiceEnabled(id.target, enable, app);
  return SetRegistryEnabled(id.target, enable, app);
}

namespace {

SwitchStatus StatusOf(bool done) { return done ? SwitchStatus::Done : SwitchStatus::Refused; }

}  // namespace

SwitchStatus SetFileEnabled(TextView path, bool enable, const AppContext& app) {
  if (UsesStartupApproved(app.ports.systemInfo)) {
    const size_t slash = path.rfind(u'\\');
    const TextView directory = slash == TextView::npos ? TextView() : path.substr(0, slash);
    const TextView name = slash == TextView::npos ? path : path.substr(slash + 1);
    const RootKey root = directory == GetFolderPath(app.ports.shellFolders, csidl::kCommonStartup)
                             ? root::kLocalMachine
                             : root::kCurrentUser;
    return StatusOf(TReg(app.ports.registry)
                        .WriteBinary(root, startup_approved::kStartupFolderKey, name,
                                     MakeStartupApproved(enable, app.ports.clock)));
  }
  if (enable) return SwitchStatus::Done;  // nothing brings a deleted file back
  Text message;
  if (!app.ports.fileSystem.RemoveFile(path, message)) {
    throw TarnwickError(u"\"" + Text(path) + u"\" cannot be deleted: " + message);
  }
  return SwitchStatus::Done;
}

SwitchStatus SetRegistryEnabled(TextView target, bool enable, const AppContext& app) {
  const TReg reg(app.ports.registry);
  RootKey root = 0;
  Text key, name;
  if (!SplitRegistryTarget(target, root, key, name)) return SwitchStatus::NotFound;
  if (!UsesStartupApproved(app.ports.systemInfo)) {
    if (enable) return SwitchStatus::Done;  // nothing brings a deleted value back
    // The value alone goes, even when a subkey of the Run key bears its name.
    return StatusOf(reg.DeleteValue(root, key, name));
  }
  const TextView approvedKey =
      ContainsTextAscii(key, u"Wow6432Node") ? startup_approved::kRun32Key : startup_approved::kRunKey;
  return StatusOf(reg.WriteBinary(root, approvedKey, name, MakeStartupApproved(enable, app.ports.clock)));
}

SwitchStatus SetTaskEnabled(TextView path, bool enable, const AppContext& app) {
  TaskSession session(app.ports.com);
  if (!session.Service()) return SwitchStatus::Refused;
  std::unique_ptr<ScheduledTaskFolder> folder;
  if (!Succeeded(session.Service()->GetFolder(u"\\", folder))) return SwitchStatus::Refused;
  std::unique_ptr<ScheduledTask> task;
  if (const HResult found = folder->GetTask(path, task); !Succeeded(found)) {
    return found == hresult::kFileNotFound ? SwitchStatus::NotFound : SwitchStatus::Refused;
  }
  return StatusOf(Succeeded(task->put_Enabled(enable ? kVariantTrue : kVariantFalse)));
}

SwitchStatus SetStoreAppEnabled(TextView target, bool enable, const AppContext& app) {
  int32_t state = 0;
  if (!StoreTaskState(app, target, state)) return SwitchStatus::NotFound;
  if (state == store_app::kDisabledByPolicy || state == store_app::kEnabledByPolicy) return SwitchStatus::Blocked;
  return StatusOf(TReg(app.ports.registry)
                      .WriteInteger(root::kCurrentUser, Text(store_app::kSystemAppData) + u"\\" + Text(target), u"State",
                                    enable ? store_app::kEnabled : store_app::kDisabledByUser));
}

SwitchStatus SetServiceEnabled(TextView name, bool enable, const AppContext& app) {
  namespace record = service_start_record;
  auto manager = app.ports.services.Connect(scm::kConnect);
  if (!manager) return SwitchStatus::Refused;
  // The port does not tell a missing service from one that may not be changed.
  auto service = manager->Open(Text(name), scm::kQueryConfig | scm::kChangeConfig | scm::kStop);
  if (!service) return SwitchStatus::Refused;
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
    if (service->ChangeStartType(scm::kDisabled)) return SwitchStatus::Done;
    if (remember) record::Forget(reg, name);
    return SwitchStatus::Refused;
  }

  std::optional<record::StartType> recorded = record::Recorded(reg, name);
  ServiceConfig config;
  if (recorded && service->QueryConfig(config) && config.startType != scm::kDisabled) {
    // Someone changed the type since it was disabled here: the record no longer applies.
    record::Forget(reg, name);
    recorded.reset();
  }
  if (!recorded) return StatusOf(service->ChangeStartType(scm::kAutoStart));
  if (!service->ChangeStartType(recorded->startType)) return SwitchStatus::Refused;  // the record stays
  // A platform without the delayed flag keeps the start type and loses only the delay.
  if (recorded->startType == scm::kAutoStart) (void)service->ChangeDelayedAutoStart(recorded->delayed);
  record::Forget(reg, name);
  return SwitchStatus::Done;
}

}  // namespace tarnwick
