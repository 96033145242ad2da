#pragma once
// Keys the catalogue tests seed, as the simulated registry takes them (no leading "\").

#include "core/catalogue/startup_approved.h"

namespace tarnwick::test_keys {

inline constexpr RootKey kLM = root::kLocalMachine;
inline constexpr RootKey kCU = root::kCurrentUser;
inline constexpr char16_t kRun[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRun32[] = u"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const Text kApprovedRun(startup_approved::kRunKey.substr(1));
inline const Text kApprovedRun32(startup_approved::kRun32Key.substr(1));
inline const Text kApprovedFolder(startup_approved::kStartupFolderKey.substr(1));

}  // namespace tarnwick::test_keys
