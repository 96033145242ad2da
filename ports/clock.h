#pragma once
// Port: the system clock.

#include <cstdint>

namespace tarnwick {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime LocalNow() = 0;
  // Milliseconds since the system started (GetTickCount).
  virtual uint32_t TickCount() = 0;
  // The current UTC time as a FILETIME: 100-ns intervals since 1 January 1601.
  virtual uint64_t UtcNowFileTime() = 0;
};

}  // namespace tarnwick
