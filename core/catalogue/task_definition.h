#pragma once
// What the catalogue reads from a scheduled task's definition (the XML Windows keeps for it).

#include "core/text/text.h"

namespace tarnwick {

struct TaskDefinition {
  bool atLogonOrBoot = false;  // a LogonTrigger or BootTrigger
  bool enabled = true;         // Settings/Enabled
  bool hidden = false;         // Settings/Hidden
  Text command;                // the first Exec action's Command and Arguments
  Text arguments;
};

// False for text that is no task definition.
bool ParseTaskDefinition(TextView xml, TaskDefinition& definition);

}  // namespace tarnwick
