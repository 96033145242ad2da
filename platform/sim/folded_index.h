#pragma once
// Name -> position indexes for the simulation's containers, names compared without regard to
// ASCII case: large simulated systems stay cheap to search, so benchmarks measure our code.

#include <unordered_map>

#include "core/text/text.h"

namespace tarnwick::sim {

inline Text FoldKey(TextView name) {
  Text key(name);
  for (char16_t& c : key) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  return key;
}

using FoldedIndex = std::unordered_map<Text, size_t>;

}  // namespace tarnwick::sim
