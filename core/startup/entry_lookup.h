#pragma once
// Finding the entry a person names: by its identity (FROM TARGET as the list prints them),
// by its location code and caption, or by its caption alone where only one entry has it.

#include <vector>

#include "core/catalogue/autorun_info.h"

namespace tarnwick {

struct EntryLookup {
  const TAutorunInfo* found = nullptr;        // the one entry named
  std::vector<const TAutorunInfo*> matches;  // several entries have that caption
  std::vector<const TAutorunInfo*> close;    // nothing named: the entries that come close
};

// `from` may be empty (a caption alone). Identities and captions are compared without regard
// to ASCII letter case. Up to five close entries, in catalogue order.
EntryLookup LookUpEntry(const TAutorunList& catalogue, TextView from, TextView name);

}  // namespace tarnwick
