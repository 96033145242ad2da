#pragma once
// The simulated Windows in one object: a test fixture owns one, seeds it, and passes
// its ports to the code under test.

#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_service_manager.h"
#include "ports/ports.h"

namespace tarnwick::sim {

class SimWindows {
 public:
  FaultPlan faults;
  SimServiceManager services{faults};
  SimRegistry registry{faults};

  Ports ports() { return Ports{services, registry}; }
};

}  // namespace tarnwick::sim
