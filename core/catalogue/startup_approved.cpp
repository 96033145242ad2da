#include "core/catalogue/startup_approved.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsAscii(TextView text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

bool ApprovedByValue(const Bytes& value) {
  if (value.size() != startup_approved::kValueSize) return true;
  return value[0] == startup_approved::kEnabled || value[0] == startup_approved::kEnabledBySystem;
}

}  // namespace

bool IsStartupApproved(const TReg& reg, RootKey root, TextView key, TextView name) {
  return ApprovedByValue(reg.ReadBinary(root, key, name));
}

StartupApprovedKey::StartupApprovedKey(const TReg& reg, RootKey root, TextView key)
    : reg_(reg), root_(root), key_(key) {
  std::vector<NamedRegistryValue> values;
  // A missing key has no values: every name is approved, as a read would say. A key whose
  // enumeration failed is asked name by name.
  asciiComplete_ = reg.ReadValues(root, key, values) || (values.empty() && !reg.IsKey(root, key));
  for (NamedRegistryValue& named : values) {
    if (!IsAscii(named.name)) asciiComplete_ = false;
    byName_.emplace(UpperAscii(named.name), TReg::BinaryOf(std::move(named.value)));
  }
}

bool StartupApprovedKey::IsApproved(TextView name) const {
  if (IsAscii(name)) {
    const auto found = byName_.find(UpperAscii(name));
    if (found != byName_.end()) return ApprovedByValue(found->second);
    if (asciiComplete_) return true;
  }
  return IsStartupApproved(reg_, root_, key_, name);
}

Bytes MakeStartupApproved(bool enable, Clock& clock) {
  const uint64_t now = clock.UtcNowFileTime();
  Bytes value(startup_approved::kValueSize, 0);
  value[0] = enable ? startup_approved::kEnabled : startup_approved::kDisabled;
  for (int i = 0; i < 8; ++i) value[4 + i] = static_cast<uint8_t>(now >> (8 * i));
  return value;
}

}  // namespace tarnwick
