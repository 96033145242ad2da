#pragma once
// Switching entries off and on the way Windows records it. Nothing is edited in the
// catalogue: the refresh that follows reads the new state back.

#include "core/app_context.h"
#include "core/catalogue/entry_id.h"

namespace tarnwick {

// What the system did with a switch. Shows nothing: a caller that wants the original's
// silence drops it, one that reports (tarnwickc) says what happened.
enum class SwitchStatus {
  Done,      // the system took the change
  Refused,   // the system would not: no right, no connection, a protected service, ...
  NotFound,  // the system has nothing of that name (a task deleted meanwhile, a bad location)
  Blocked,   // not switched: the entry cannot be switched (SwitchBlockOf says why)
};

// Why an entry cannot be switched.
enum class SwitchBlock {
  None,
  NoReversibleSwitch,  // RunOnce, policy Run keys, Winlogon: Windows keeps no off state
  SetByPolicy,         // a Store app task the administrator's policy switches
};
SwitchBlock SwitchBlockOf(const EntryId& id, const AppContext& app);
// In English, for tarnwickc; the window translates its own texts.
const char* SwitchBlockText(SwitchBlock block);

// Picks the toggle by location code (without regard to case); any code other than FILE,
// SCHE and SERV is a registry Run value. Deleting a startup file on systems older than 8
// lets its failure through as TarnwickError.
[[nodiscard]] SwitchStatus SetAutorunEnabled(const EntryId& id, bool enable, const AppContext& app);

// StartupApproved exists from Windows 8 (6.2) on; older systems remove the entry instead.
bool UsesStartupApproved(SystemInfo& system);

[[nodiscard]] SwitchStatus SetFileEnabled(TextView path, bool enable, const AppContext& app);
[[nodiscard]] SwitchStatus SetRegistryEnabled(TextView target, bool enable, const AppContext& app);
[[nodiscard]] SwitchStatus SetTaskEnabled(TextView path, bool enable, const AppContext& app);
// State 2 on, 1 off, as the system's own startup page writes it; never a policy's 3 or 4.
[[nodiscard]] SwitchStatus SetStoreAppEnabled(TextView target, bool enable, const AppContext& app);
// Disabling remembers the start type it replaces (service_start_record.h); enabling gives
// that type back, or sets automatic start when there is no record.
[[nodiscard]] SwitchStatus SetServiceEnabled(TextView name, bool enable, const AppContext& app);

}  // namespace tarnwick
