#pragma once
// Port: facts about the running system.

#include <cstdint>

#include "core/text/text.h"

namespace tarnwick {

namespace processor_architecture {
inline constexpr uint16_t kIntel = 0;
inline constexpr uint16_t kArm64 = 12;
inline constexpr uint16_t kAmd64 = 9;
}  // namespace processor_architecture

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // GetNativeSystemInfo's processor architecture: the machine's, not the process's.
  virtual uint16_t NativeProcessorArchitecture() = 0;
  // The operating system's true major version (10 on Windows 10 and 11).
  virtual uint32_t MajorVersion() = 0;
  // The full path of the running program's own file.
  virtual Text ProgramPath() = 0;
};

}  // namespace tarnwick
