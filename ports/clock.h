#pragma once
// Port: the system clock.

#include <cstdint>

namespace tarnwick {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current UTC time as a FILETIME: 100-ns intervals since 1 January 1601.
  virtual uint64_t UtcNowFileTime() = 0;
};

}  // namespace tarnwick
