#pragma once
// What the window says about an entry: the marks on its row, the tooltip, and the lines of
// its Properties dialog, in the user's language.

#include <vector>

#include "core/catalogue/autorun_info.h"
#include "core/choices/choices.h"
#include "core/details/entry_details.h"
#include "core/i18n/translate.h"

namespace tarnwick {

struct RowMarks {
  bool missing = false;         // the file it starts is not there
  bool recommendedOff = false;  // the maker's list names it
  CheckReason check = CheckReason::None;
  bool any() const { return missing || recommendedOff || check != CheckReason::None; }
};
RowMarks MarksOf(const EntryDetails& details);

// The command as the source stores it; for a shortcut, its target and arguments.
Text CommandLineOf(const TAutorunInfo& entry, const EntryDetails& details);

// "Came back (switched off by you on 2026-12-10 17:05 UTC)", or "as another entry".
Text CameBackText(const CameBack& back, const Translator& t);

// The command line, the publisher and why the row is marked, one per line.
Text RowTooltip(const TAutorunInfo& entry, const EntryDetails& details, const Translator& t,
                const CameBack* cameBack = nullptr);

struct PropertyLine {
  Text label;
  Text value;
};
// Every fact and where the entry is recorded (registry key and value, folder and file, task
// path or service name). Lines without a value are left out.
std::vector<PropertyLine> PropertiesOf(const TAutorunInfo& entry, TextView displayName, const EntryDetails& details,
                                       const Translator& t, const CameBack* cameBack = nullptr);

}  // namespace tarnwick
