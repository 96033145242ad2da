#pragma once
// Port: the running program's own resources.

#include "ports/registry.h"  // Bytes

namespace tarnwick {

class ProgramResources {
 public:
  virtual ~ProgramResources() = default;
  // The whole of the raw-data (RT_RCDATA) resource `name`, names compared without regard to
  // case. False when there is none or it cannot be read.
  [[nodiscard]] virtual bool ReadRcData(TextView name, Bytes& data) = 0;
};

}  // namespace tarnwick
