#pragma once
// Switching entries off and on the way Windows records it. Nothing is edited in the
// catalogue: the refresh that follows reads the new state back.

#include "core/app_context.h"

namespace tarnwick {

// Picks the toggle by location code (without regard to case); any code other than FILE,
// SCHE and SERV is a registry Run value. Silent, except that deleting a startup file on
// systems older than 10 lets its failure through as TarnwickError.
void SetAutorunEnabled(TextView target, TextView from, bool enable, const AppContext& app);

void SetFileEnabled(TextView path, bool enable, const AppContext& app);
void SetRegistryEnabled(TextView target, bool enable, const AppContext& app);
void SetTaskEnabled(TextView path, bool enable, const AppContext& app);
void SetServiceEnabled(TextView name, bool enable, const AppContext& app);

}  // namespace tarnwick
