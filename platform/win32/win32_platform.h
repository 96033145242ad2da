#pragma once
// The real platform: owns one adapter per port and hands out the ports view.

#include "platform/win32/service_manager_win32.h"
#include "ports/ports.h"

namespace tarnwick::win32 {

class Win32Platform {
 public:
  Ports ports() { return Ports{services_}; }

 private:
  Win32ServiceManager services_;
};

}  // namespace tarnwick::win32
