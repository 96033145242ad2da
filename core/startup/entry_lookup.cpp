#include "core/startup/entry_lookup.h"

#include <algorithm>

#include "core/paths/path.h"

namespace tarnwick {
namespace {

constexpr size_t kMaxClose = 5;

// Edit distance on ASCII-folded text, given up beyond `limit`.
size_t Distance(TextView a, TextView b, size_t limit) {
  const Text x = LowerAscii(a), y = LowerAscii(b);
  if (x.size() > y.size() + limit || y.size() > x.size() + limit) return limit + 1;
  std::vector<size_t> row(y.size() + 1);
  for (size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= x.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= y.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

bool ComesClose(const TAutorunInfo& entry, TextView name) {
  if (name.empty()) return false;
  const TextView fileName = FileNamePart(entry.Target);
  return ContainsTextAscii(entry.Caption, name) || ContainsTextAscii(fileName, name) ||
         ContainsTextAscii(name, entry.Caption.empty() ? fileName : TextView(entry.Caption)) ||
         Distance(entry.Caption, name, 2) <= 2;
}

}  // namespace

EntryLookup LookUpEntry(const TAutorunList& catalogue, TextView from, TextView name) {
  EntryLookup lookup;
  for (const TAutorunInfo& entry : catalogue) {
    if (!from.empty() && SameTextAscii(entry.From, from) && SameTextAscii(entry.Target, name)) {
      lookup.found = &entry;
      return lookup;
    }
  }
  for (const TAutorunInfo& entry : catalogue) {
    if ((from.empty() || SameTextAscii(entry.From, from)) && !entry.Caption.empty() &&
        SameTextAscii(entry.Caption, name)) {
      lookup.matches.push_back(&entry);
    }
  }
  if (lookup.matches.size() == 1) {
    lookup.found = lookup.matches.front();
    lookup.matches.clear();
    return lookup;
  }
  if (!lookup.matches.empty()) return lookup;
  for (const TAutorunInfo& entry : catalogue) {
    if (lookup.close.size() == kMaxClose) break;
    if (ComesClose(entry, name)) lookup.close.push_back(&entry);
  }
  return lookup;
}

}  // namespace tarnwick
