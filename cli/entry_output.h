#pragma once
// How tarnwickc prints entries: one line each, a JSON array, or CSV for spreadsheets.

#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/autorun_info.h"
#include "core/choices/choices.h"
#include "core/details/entry_details.h"

namespace tarnwick {

struct ListedEntry {
  TAutorunInfo entry;
  std::optional<EntryDetails> details;  // only when asked for (JSON, CSV)
  bool verified = false;                // the signature was asked for
  std::optional<CameBack> cameBack;     // on again although the user switched it off
};

std::string EntriesAsText(const std::vector<ListedEntry>& entries);
std::string EntriesAsJson(const std::vector<ListedEntry>& entries);
// RFC 4180: a header row, CRLF line ends, fields quoted where needed; UTF-8 with a
// byte-order mark so that spreadsheet programs read it as UTF-8.
std::string EntriesAsCsv(const std::vector<ListedEntry>& entries, bool verified);

}  // namespace tarnwick
