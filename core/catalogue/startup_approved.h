#pragma once
// The StartupApproved value: how Windows records that a startup file or Run value may not
// start, while the entry itself stays where it is.

#include <unordered_map>

#include "core/registry/registry.h"
#include "ports/clock.h"

namespace tarnwick::startup_approved {

inline constexpr TextView kStartupFolderKey =
    u"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
inline constexpr TextView kRunKey =
    u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr TextView kRun32Key =
    u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";

inline constexpr uint8_t kEnabled = 0x02;
inline constexpr uint8_t kDisabled = 0x03;
// Windows itself writes 06 for entries that do start.
inline constexpr uint8_t kEnabledBySystem = 0x06;
inline constexpr size_t kValueSize = 12;

}  // namespace tarnwick::startup_approved

namespace tarnwick {

// Enabled unless the value exists, is exactly 12 bytes, and its first byte says otherwise.
bool IsStartupApproved(const TReg& reg, RootKey root, TextView key, TextView name);

// The values of one StartupApproved key read at once, for a source that asks about many
// names: one enumeration instead of a key opened per name.
class StartupApprovedKey {
 public:
  StartupApprovedKey(const TReg& reg, RootKey root, TextView key);
  // What IsStartupApproved gives for `name`.
  bool IsApproved(TextView name) const;

 private:
  const TReg& reg_;
  RootKey root_;
  Text key_;
  std::unordered_map<Text, Bytes> byName_;  // names with A-Z folded
  // The registry folds letter case beyond ASCII; where a name is not plain ASCII, or the
  // enumeration stopped early, a name not found is asked of the registry itself.
  bool asciiComplete_ = true;
};

// 12 bytes: the state, three zeros, the current UTC FILETIME little-endian.
Bytes MakeStartupApproved(bool enable, Clock& clock);

}  // namespace tarnwick
