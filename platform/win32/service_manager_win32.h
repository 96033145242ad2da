#pragma once

#include "ports/service_manager.h"

namespace tarnwick::win32 {

// The service control manager of the local machine, through advapi32.
class Win32ServiceManager final : public ServiceManager {
 public:
  std::unique_ptr<ScmConnection> Connect(uint32_t access) override;
};

}  // namespace tarnwick::win32
