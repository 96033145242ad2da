#pragma once
// The filter lists: sorted sets of text rows, compared without regard to case by the user's
// locale, that decide which startup entries the list leaves out. Rows only ever get added.

#include <string_view>
#include <vector>

#include "core/paths/path.h"
#include "core/text/text.h"
#include "ports/locale.h"
#include "ports/program_resources.h"

namespace tarnwick {

class FilterList {
 public:
  explicit FilterList(Locale& locale) : locale_(&locale) {}

  // Adds a row unless one equal to it ignoring case is there; the first one stays.
  void Add(TextView row);
  bool Contains(TextView row) const;
  // Replaces the content, each row added under the list's rules.
  void Assign(const std::vector<Text>& rows);
  const std::vector<Text>& Rows() const { return rows_; }

  // Rows trimmed and with their folder form expanded, computed once per row: the folder
  // table never changes after start.
  struct PreparedRow {
    Text row;
    Text upper;
  };
  const std::vector<PreparedRow>& Prepared(const FolderVars& vars) const;

  Locale& locale() const { return *locale_; }

 private:
  Locale* locale_;
  std::vector<Text> rows_;
  mutable std::vector<PreparedRow> prepared_;
  mutable bool preparedValid_ = false;
};

// Loads the program's raw-data resource `name` (UTF-8, one row per line) into the list.
// A missing or unreadable resource leaves the list as it was.
void LoadListResource(FilterList& list, ProgramResources& resources, TextView name);

// Adds the string elements of the array under `key` of a JSON object answer. Anything else
// (no object, no such key, not an array, elements that are not strings) adds nothing.
void MergeServerList(FilterList& list, std::string_view answerJson, std::string_view key);

// The name rule (a row is a prefix of the name) or the file rule (a row ending in "*" is a
// file name; any other row a fragment of the path). Empty rows and "//" comments never match.
bool MatchList(const FilterList& list, TextView subject, bool fileRule, const FolderVars& vars);

}  // namespace tarnwick
