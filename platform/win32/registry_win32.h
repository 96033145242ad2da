#pragma once

#include "ports/registry.h"

namespace tarnwick::win32 {

// The registry through advapi32; every key is opened in the 64-bit view.
class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(RootKey root, TextView path, KeyAccess access) override;
};

}  // namespace tarnwick::win32
