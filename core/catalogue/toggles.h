#pragma once
// Switching entries off and on the way Windows records it. Nothing is edited in the
// catalogue: the refresh that follows reads the new state back.

#include "core/app_context.h"
#include "core/catalogue/entry_id.h"

namespace tarnwick {

// Picks the toggle by location code (without regard to case); any code other than FILE,
// SCHE and SERV is a registry Run value. Silent, except that deleting a startup file on
// systems older than 10 lets its failure through as TarnwickError.
void SetAutorunEnabled(const EntryId& id, bool enable, const AppContext& app);

// StartupApproved exists from Windows 8 (6.2) on; older systems remove the entry instead.
bool UsesStartupApproved(SystemInfo& system);

void SetFileEnabled(TextView path, bool enable, const AppContext& app);
void SetRegistryEnabled(TextView target, bool enable, const AppContext& app);
void SetTaskEnabled(TextView path, bool enable, const AppContext& app);
// Disabling remembers the start type it replaces (service_start_record.h); enabling gives
// that type back, or sets automatic start when there is no record.
void SetServiceEnabled(TextView name, bool enable, const AppContext& app);

}  // namespace tarnwick
