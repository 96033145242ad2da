#pragma once
// The real platform: owns one adapter per port and hands out the ports view.

#include "platform/win32/registry_win32.h"
#include "platform/win32/service_manager_win32.h"
#include "ports/ports.h"

namespace tarnwick::win32 {

class Win32Platform {
 public:
  Ports ports() { return Ports{services_, registry_}; }

 private:
  Win32ServiceManager services_;
  Win32Registry registry_;
};

}  // namespace tarnwick::win32
