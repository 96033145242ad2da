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
// The root folder's tasks (all of them), then those of every other folder that run at logon
// or boot; from the definition files under System32\Tasks where the root cannot be enumerated.
void ReadScheduledTasks(TAutorunList& list, const AppContext& app);
// One task folder's tasks, appended until a call fails; the first failure is returned. With
// `app`, each task's definition gives what it starts (FileName, RawData).
[[nodiscard]] HResult ReadTaskFolder(ScheduledTaskService& service, TextView path, TAutorunList& list,
                                     const AppContext* app = nullptr);
void ReadServices(TAutorunList& list, const AppContext& app);
// Store apps' startup tasks (store_apps.h).
void ReadStoreAppTasks(TAutorunList& list, const AppContext& app);
// RunOnce, the policy Run keys and a Winlogon Shell or Userinit other than Windows' own.
void ReadMoreRegistryKeys(TAutorunList& list, const AppContext& app);

using CatalogueSource = void (*)(TAutorunList&, const AppContext&);

// The order of a refresh: folders, Run keys, tasks, services; then the places beyond them.
inline constexpr std::array<CatalogueSource, 6> kCatalogueSources = {
    ReadStartupFolders, ReadRunKeys, ReadScheduledTasks, ReadServices, ReadStoreAppTasks, ReadMoreRegistryKeys};

}  // namespace tarnwick
