#pragma once
// Text <-> the W functions' strings. wchar_t is UTF-16 on Windows, so this is a copy,
// never a conversion.

#include <string>

#include "core/text/text.h"

namespace tarnwick::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

inline std::wstring Wide(TextView text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline Text FromWide(const wchar_t* text) {
  return text ? Text(reinterpret_cast<const char16_t*>(text)) : Text();
}

inline Text FromWide(const wchar_t* text, size_t length) {
  return Text(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace tarnwick::win32
