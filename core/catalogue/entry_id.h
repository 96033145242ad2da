#pragma once
// An entry's identity: its location code and its Target. Letter case counts for neither
// (A-Z folded), as the registry, the file system and the service manager ignore it.

#include <cstddef>
#include <functional>

#include "core/catalogue/autorun_info.h"

namespace tarnwick {

struct EntryId {
  Text from;
  Text target;

  static EntryId Of(const TAutorunInfo& entry) { return {entry.From, entry.Target}; }
  // The one fold: both parts with A-Z upper-cased, joined by a NUL.
  Text Folded() const { return UpperAscii(from) + u'\0' + UpperAscii(target); }

  friend bool operator==(const EntryId& a, const EntryId& b) {
    return SameTextAscii(a.from, b.from) && SameTextAscii(a.target, b.target);
  }
};

struct EntryIdHash {
  size_t operator()(const EntryId& id) const { return std::hash<Text>{}(id.Folded()); }
};

}  // namespace tarnwick
