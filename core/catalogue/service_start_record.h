#pragma once
// The start type a service had before Tarnwick disabled it, so that enabling gives it back
// (a manual or delayed-automatic service must not come back as plain automatic).
// Kept under HKLM\Software\Morvessa\Tarnwick\ServiceStartTypes, one DWORD per service name:
// the start type in the low byte, kDelayedFlag set for a delayed automatic start.

#include <cstdint>
#include <optional>

#include "core/registry/registry.h"

namespace tarnwick::service_start_record {

inline constexpr TextView kKey = u"Software\\Morvessa\\Tarnwick\\ServiceStartTypes";
inline constexpr uint32_t kDelayedFlag = 0x100;

struct StartType {
  uint32_t startType;
  bool delayed;
};

void Remember(const TReg& reg, TextView service, StartType type);
// The recorded type; nothing when there is no record or it names no type a Win32 service
// can have (automatic or manual).
std::optional<StartType> Recorded(const TReg& reg, TextView service);
// Creates the key when it is missing (TReg::DeleteValue): call it only for a record found.
void Forget(const TReg& reg, TextView service);

}  // namespace tarnwick::service_start_record
