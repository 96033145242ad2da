#pragma once
// Turns a fuzzer's bytes into the inputs the targets need: text as the program receives it,
// and several fields from one input.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/text/text.h"

namespace tarnwick::fuzz {

inline std::string_view AsBytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A leading 0xFF byte means the rest is raw UTF-16LE code units, so lone surrogates and
// characters UTF-8 cannot carry are reached too; anything else is UTF-8, as answers and
// resources arrive.
inline Text ToText(std::string_view bytes) {
  if (!bytes.empty() && static_cast<uint8_t>(bytes[0]) == 0xFF) {
    Text text;
    for (size_t i = 1; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                           (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    }
    return text;
  }
  return FromUtf8(bytes);
}

// Up to `count` fields separated by NUL bytes; the last field takes the rest, NULs included.
inline std::vector<std::string_view> Fields(std::string_view bytes, size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos) break;
    fields.push_back(bytes.substr(0, nul));
    bytes.remove_prefix(nul + 1);
  }
  fields.push_back(bytes);
  fields.resize(count);
  return fields;
}

}  // namespace tarnwick::fuzz
