#pragma once
// Name -> position indexes for the simulation's containers, names compared without regard to
// ASCII case: large simulated systems stay cheap to search, so benchmarks measure our code.

#include <unordered_map>

#include "core/text/text.h"

namespace tarnwick::sim {

inline Text FoldKey(TextView name) { return UpperAscii(name); }

using FoldedIndex = std::unordered_map<Text, size_t>;

}  // namespace tarnwick::sim
