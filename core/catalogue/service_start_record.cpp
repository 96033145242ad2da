#include "core/catalogue/service_start_record.h"

#include "ports/service_manager.h"

namespace tarnwick::service_start_record {

void Remember(const TReg& reg, TextView service, StartType type) {
  const uint32_t stored = type.startType | (type.delayed ? kDelayedFlag : 0);
  reg.WriteInteger(root::kLocalMachine, kKey, service, static_cast<int32_t>(stored));
}

std::optional<StartType> Recorded(const TReg& reg, TextView service) {
  const int32_t stored = reg.ReadInteger(root::kLocalMachine, kKey, service, -1);
  if (stored < 0) return std::nullopt;
  const uint32_t startType = static_cast<uint32_t>(stored) & 0xFF;
  if (startType != scm::kAutoStart && startType != scm::kDemandStart) return std::nullopt;
  const bool delayed = startType == scm::kAutoStart && (stored & kDelayedFlag) != 0;
  return StartType{startType, delayed};
}

void Forget(const TReg& reg, TextView service) { reg.DeleteValue(root::kLocalMachine, kKey, service); }

}  // namespace tarnwick::service_start_record
