#pragma once
// The simulated Windows in one object: a test fixture owns one, seeds it, and passes
// its ports (or the AppContext built from them) to the code under test.

#include "core/app_context.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_file_trust.h"
#include "platform/sim/sim_file_info.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_locale.h"
#include "platform/sim/sim_network.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_service_manager.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_task_scheduler.h"
#include "ports/ports.h"

namespace tarnwick::sim {

class SimWindows {
 public:
  SimWindows() {
    files.AddFolder(kCommonStartup);
    files.AddFolder(kUserStartup);
  }

  FaultPlan faults;
  SimServiceManager services{faults};
  SimRegistry registry{faults};
  SimShellFolders shellFolders{faults};
  SimSystemInfo systemInfo;
  SimFileSystem files{faults};
  SimClock clock;
  SimTaskScheduler tasks{faults};
  SimLocale locale{faults};
  SimResources resources{faults};
  SimVersionResources versions{faults};
  SimIconSource icons{faults};
  SimHttp http{faults};
  SimShell shell;
  SimShortcuts shortcuts{faults};
  SimSignatures signatures{faults};

  Ports ports() { return Ports{services, registry, shellFolders, systemInfo, files, clock, tasks, locale, resources, versions, icons, http, shell,
                                  shortcuts, signatures}; }
  // Built anew on each call, as at program start, from the current simulated state.
  AppContext app() { return AppContext::Start(ports()); }
};

}  // namespace tarnwick::sim
