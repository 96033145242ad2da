#pragma once
// Store apps' startup tasks: the user's switch is a DWORD "State" per task under the app's
// SystemAppData key; the task's name and program come from the package's manifest.

#include "core/app_context.h"
#include "core/catalogue/autorun_info.h"

namespace tarnwick {

namespace store_app {
inline constexpr TextView kSystemAppData =
    u"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\SystemAppData";
inline constexpr TextView kPackages =
    u"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\Repository\\Packages";
// The values of State.
inline constexpr int32_t kDisabled = 0;
inline constexpr int32_t kDisabledByUser = 1;
inline constexpr int32_t kEnabled = 2;
inline constexpr int32_t kDisabledByPolicy = 3;
inline constexpr int32_t kEnabledByPolicy = 4;
}  // namespace store_app

// One entry per task with a State: Target "<package family>\<task id>", Caption the task's
// display name from the manifest (the family name when it has none or only a resource
// reference), FileName the package's executable.
void ReadStoreAppTasks(TAutorunList& list, const AppContext& app);

// The task's State; false when it has none.
bool StoreTaskState(const AppContext& app, TextView target, int32_t& state);

struct ManifestTask {
  Text displayName;
  Text executable;  // relative to the package folder
};
// The startup task `taskId` of an AppxManifest.xml's text; false when the manifest has none.
bool FindStartupTask(TextView manifest, TextView taskId, ManifestTask& task);

}  // namespace tarnwick
