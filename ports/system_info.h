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
  // The operating system's true major and minor version (10.0 on Windows 10 and 11,
  // 6.2 on Windows 8, 6.3 on 8.1), whatever the program's manifest says.
  virtual uint32_t MajorVersion() = 0;
  virtual uint32_t MinorVersion() = 0;
  // The full path of the running program's own file.
  virtual Text ProgramPath() = 0;
  // The security identifier of the user the program runs as, as text ("S-1-5-21-..."); empty
  // when it cannot be read.
  virtual Text UserSid() = 0;
};

}  // namespace tarnwick
