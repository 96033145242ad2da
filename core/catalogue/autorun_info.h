#pragma once

#include <vector>

#include "core/text/text.h"

namespace tarnwick {

// One startup entry, identified by (From, Target).
struct TAutorunInfo {
  Text FileName;  // the file that starts, as far as the source can tell
  Text Caption;   // the entry's own name in its source
  Text RawData;   // the command text as the source stores it, where it has one
  Text Target;    // the location that names the entry within its source
  Text From;      // location code
  bool Enabled = false;
};

// The catalogue list: ordered by discovery, owns its entries; never sorted or compacted.
using TAutorunList = std::vector<TAutorunInfo>;

}  // namespace tarnwick
