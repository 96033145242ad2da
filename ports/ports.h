#pragma once
// Everything the portable modules may ask of the platform, passed as one bundle.
// The real platform (platform/win32) and the simulated one (platform/sim) each own
// their implementations and hand out this view; it owns nothing.

#include "ports/registry.h"
#include "ports/service_manager.h"

namespace tarnwick {

struct Ports {
  ServiceManager& services;
  Registry& registry;
};

}  // namespace tarnwick
