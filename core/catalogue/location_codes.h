#pragma once
// Location codes in TAutorunInfo::From. A Run value carries its short root name
// ("HKLM" or "HKCU") instead; codes compare without regard to case.

#include "core/text/text.h"

namespace tarnwick::location {

inline constexpr TextView kFile = u"FILE";
inline constexpr TextView kTask = u"SCHE";
inline constexpr TextView kService = u"SERV";

}  // namespace tarnwick::location
