#pragma once
// Location codes in TAutorunInfo::From. A Run value carries its short root name
// ("HKLM" or "HKCU") instead; codes compare without regard to case.

#include "core/text/text.h"

namespace tarnwick::location {

inline constexpr TextView kFile = u"FILE";
inline constexpr TextView kTask = u"SCHE";
inline constexpr TextView kService = u"SERV";
// Sources beyond the four above, read after them.
inline constexpr TextView kRunOnce = u"ONCE";     // the RunOnce keys: shown, not switched
inline constexpr TextView kPolicyRun = u"POLI";   // the policy Run keys: shown, not switched
inline constexpr TextView kWinlogon = u"WLGN";    // a replaced Winlogon Shell or Userinit: shown, not switched
inline constexpr TextView kStoreApp = u"APPX";    // a Store app's startup task

}  // namespace tarnwick::location
