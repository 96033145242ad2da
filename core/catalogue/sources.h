#pragma once
// The four sources of the catalogue. Each appends its entries to the end of the list and
// absorbs its own failures, except where it is said to let an error through.

#include <array>

#include "core/catalogue/autorun_info.h"
#include "core/app_context.h"

namespace tarnwick {

void ReadStartupFolders(TAutorunList& list, const AppContext& app);
// One startup folder; its StartupApproved root is HKLM when it is the all-users folder.
void ReadStartupFolder(TextView folder, TAutorunList& list, const AppContext& app);
void ReadRunKeys(TAutorunList& list, const AppContext& app);
// One Run key; `key` begins with "".
void ReadRunKey(RootKey root, TextView key, TAutorunList& list, const AppContext& app);
void ReadScheduledTasks(TAutorunList& list, const AppContext& app);
// One task folder's tasks, appended until a call fails; the first failure is returned.
[[nodiscard]] HResult ReadTaskFolder(ScheduledTaskService& service, TextView path, TAutorunList& list);
void ReadServices(TAutorunList& list, const AppContext& app);

using CatalogueSource = void (*)(TAutorunList&, const AppContext&);

// The order of a refresh: folders, Run keys, tasks, services.
inline constexpr std::array<CatalogueSource, 4> kCatalogueSources = {
    ReadStartupFolders, ReadRunKeys, ReadScheduledTasks, ReadServices};

}  // namespace tarnwick
