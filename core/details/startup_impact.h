#pragma once
// Startup impact as Windows measured it at the last boot. Windows writes one file per boot
// and user, %SystemRoot%\System32\WDI\LogFiles\StartupInfo\<SID>_StartupInfo<N>.xml: a
// StartupData element holding one Process element per process started at logon, with its
// image path (attribute Name), CPU time (CpuUsage, microseconds) and disk use (DiskUsage,
// bytes).

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "core/app_context.h"

namespace tarnwick {

enum class ImpactLevel { NotMeasured, Low, Medium, High };

struct StartupImpact {
  ImpactLevel level = ImpactLevel::NotMeasured;
  uint64_t cpuMs = 0;
  uint64_t diskBytes = 0;
};

// The task manager's classes: High above 1,000 ms of CPU or 3 MB of disk, Medium from 300 ms
// or 300 KB, Low below both.
ImpactLevel ClassifyImpact(uint64_t cpuMs, uint64_t diskBytes);

// The level's name as tarnwickc prints it: "high", "medium", "low", "not measured".
const char* ImpactLevelName(ImpactLevel level);

// One boot's measurements, summed per image.
class BootMeasurements {
 public:
  // Reads one StartupInfo file's bytes. False with a reason when it is no such file; nothing
  // is kept then.
  [[nodiscard]] bool Parse(std::string_view fileBytes, Text& error);
  // The newest file of the current user; none (every entry "not measured") when there is no
  // readable one.
  static BootMeasurements ReadNewest(const AppContext& app);

  // Every process of this image (path compared without regard to ASCII case), summed.
  StartupImpact ImpactOf(TextView image) const;
  bool empty() const { return byImage_.empty(); }

 private:
  struct Sample {
    uint64_t cpuUs = 0;
    uint64_t diskBytes = 0;
  };
  std::unordered_map<Text, Sample> byImage_;  // folded image path -> sums
};

}  // namespace tarnwick
