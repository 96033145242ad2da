#pragma once
// Baselines for scripts and administrators: the catalogue with states and details as a
// versioned JSON file, compared with the system and applied to it.
//
//   {"format": "tarnwick-baseline", "version": 1, "created": "2026-12-10 17:05 UTC",
//    "entries": [{"from": "HKCU", "target": "...", "caption": "...", "enabled": true,
//                 "image": "...", "publisher": "...", "product": "..."}, ...]}
//
// Only from, target and enabled are read back; the rest is for people.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/entry_output.h"
#include "core/catalogue/entry_id.h"

namespace tarnwick {

struct BaselineEntry {
  EntryId id;
  Text caption;
  bool enabled = false;
};

std::string BaselineJson(const std::vector<ListedEntry>& entries, TextView created);

// The entries of a baseline file; nullopt with the reason for anything else (damaged, cut
// short, another format or version, values of the wrong type).
std::optional<std::vector<BaselineEntry>> ParseBaseline(std::string_view bytes, std::string& problem);

struct BaselineChange {
  enum Kind { Added, Removed, SwitchedOn, SwitchedOff } kind;
  EntryId id;
  Text caption;
};
// What differs between the baseline and the catalogue now, in the catalogue's order (then
// the removed ones in the baseline's order).
std::vector<BaselineChange> DiffBaseline(const std::vector<BaselineEntry>& baseline, const TAutorunList& now);
std::string ChangeLine(const BaselineChange& change);

}  // namespace tarnwick
