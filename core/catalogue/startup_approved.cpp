#include "core/catalogue/startup_approved.h"

namespace tarnwick {

bool IsStartupApproved(const TReg& reg, RootKey root, TextView key, TextView name) {
  const Bytes value = reg.ReadBinary(root, key, name);
  if (value.size() != startup_approved::kValueSize) return true;
  return value[0] == startup_approved::kEnabled || value[0] == startup_approved::kEnabledBySystem;
}

Bytes MakeStartupApproved(bool enable, Clock& clock) {
  const uint64_t now = clock.UtcNowFileTime();
  Bytes value(startup_approved::kValueSize, 0);
  value[0] = enable ? startup_approved::kEnabled : startup_approved::kDisabled;
  for (int i = 0; i < 8; ++i) value[4 + i] = static_cast<uint8_t>(now >> (8 * i));
  return value;
}

}  // namespace tarnwick
