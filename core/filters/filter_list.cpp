#include "core/filters/filter_list.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "core/i18n/translate.h"

namespace tarnwick {

void FilterList::Add(TextView row) {
  auto at = std::lower_bound(rows_.begin(), rows_.end(), row, [this](const Text& a, TextView b) {
    return locale_->CompareIgnoreCase(a, b) < 0;
  });
  if (at != rows_.end() && locale_->CompareIgnoreCase(*at, row) == 0) return;
  rows_.insert(at, Text(row));
  preparedValid_ = false;
}

bool FilterList::Contains(TextView row) const {
  auto at = std::lower_bound(rows_.begin(), rows_.end(), row, [this](const Text& a, TextView b) {
    return locale_->CompareIgnoreCase(a, b) < 0;
  });
  return at != rows_.end() && locale_->CompareIgnoreCase(*at, row) == 0;
}

void FilterList::Assign(const std::vector<Text>& rows) {
  rows_.clear();
  preparedValid_ = false;
  for (const Text& row : rows) Add(row);
}

const std::vector<FilterList::PreparedRow>& FilterList::Prepared(const FolderVars& vars) const {
  if (!preparedValid_) {
    prepared_.clear();
    prepared_.reserve(rows_.size());
    for (const Text& row : rows_) {
      Text expanded = ExpandFolderVars(vars, Trim(row));
      Text upper = locale_->Upper(expanded);
      prepared_.push_back({std::move(expanded), std::move(upper)});
    }
    preparedValid_ = true;
  }
  return prepared_;
}

void LoadListResource(FilterList& list, ProgramResources& resources, TextView name) {
  Bytes data;
  if (!resources.ReadRcData(name, data)) return;
  list.Assign(SplitLines(DecodeUtf8Resource(data)));
}

void MergeServerList(FilterList& list, std::string_view answerJson, std::string_view key) {
  const auto answer = nlohmann::json::parse(answerJson, nullptr, /*allow_exceptions=*/false);
  if (!answer.is_object()) return;
  const auto found = answer.find(key);
  if (found == answer.end() || !found->is_array()) return;
  for (const auto& element : *found) {
    // A row is text; a number or object would only add a row nobody wrote.
    if (!element.is_string()) continue;
    const Text row = FromUtf8(element.get_ref<const std::string&>());
    if (!list.Contains(row)) list.Add(row);
  }
}

bool MatchList(const FilterList& list, TextView subject, bool fileRule, const FolderVars& vars) {
  Locale& locale = list.locale();
  Text upperSubject;  // made once, only if a fragment row needs it
  const TextView fileName = FileNamePart(subject);

  for (const FilterList::PreparedRow& prepared : list.Prepared(vars)) {
    const Text& row = prepared.row;
    if (row.empty() || row.starts_with(u"//")) continue;
    if (!fileRule) {
      if (subject.size() >= row.size() && locale.CompareIgnoreCase(subject.substr(0, row.size()), row) == 0) {
        return true;
      }
    } else if (row.back() == u'*') {
      if (SameTextAscii(fileName, TextView(row).substr(0, row.size() - 1))) return true;
    } else {
      if (upperSubject.empty()) upperSubject = locale.Upper(subject);
      if (upperSubject.find(prepared.upper) != Text::npos) return true;
    }
  }
  return false;
}

}  // namespace tarnwick
