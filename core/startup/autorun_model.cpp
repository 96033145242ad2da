#include "core/startup/autorun_model.h"

#include <unordered_set>

#include "core/catalogue/catalogue.h"
#include "core/startup/entry_class.h"

namespace tarnwick {

namespace {

// Tasks under "\Microsoft\" are Windows' own: shown only with "All Programs".
bool IsWindowsTask(const TAutorunInfo& entry) {
  constexpr TextView kWindowsTasks = u"\\Microsoft\\";
  return ClassOf(entry.From) == EntryClass::Task && entry.Target.size() > kWindowsTasks.size() &&
         SameTextAscii(TextView(entry.Target).substr(0, kWindowsTasks.size()), kWindowsTasks);
}

}  // namespace

const TAutorunItem* AutorunModel::FindNode(const EntryId& id) const {
  auto it = rowOf_.find(id);
  return it == rowOf_.end() ? nullptr : &rows_[it->second];
}

bool AutorunModel::LeftOut(const TAutorunInfo& entry, const FolderVars& vars) const {
  switch (HiddenByLists(entry, lists_.fileWhite, lists_.nameWhite, vars)) {
    case HiddenBy::Nothing: return false;
    case HiddenBy::FileList: return true;
    case HiddenBy::NameList: return !(showAnyway && showAnyway(entry));
  }
  return true;
}

void AutorunModel::AddRow(const TAutorunInfo& entry, size_t index, const AppContext& app) {
  TAutorunItem row;
  row.Entry = index;
  row.Target = entry.Target;
  row.From = entry.From;
  row.Enabled = entry.Enabled;
  switch (ClassOf(entry.From)) {
    case EntryClass::Task: row.Icon = builtin_image::kTask; break;
    case EntryClass::Service: row.Icon = builtin_image::kService; break;
    case EntryClass::Registry:
    case EntryClass::File: {
      // One read per file and refresh: rows of the same program share its name.
      auto [cached, fresh] = productNames_.try_emplace(entry.FileName);
      if (fresh) {
        std::map<Text, Text> values;
        GetVersionStrings(app.ports.fileSystem, app.ports.versions, entry.FileName, {u"ProductName"}, values);
        cached->second = values[u"ProductName"];
      }
      row.DisplayName = cached->second;
      row.Icon = GetIconIndex(ListIconObj, DataIcon, app.ports.fileSystem, app.ports.icons, entry.FileName,
                              builtin_image::kRegistry);
      break;
    }
  }
  if (row.DisplayName.empty()) row.DisplayName = entry.Caption;
  rowOf_.emplace(EntryId{row.From, row.Target}, rows_.size());
  rows_.push_back(std::move(row));
}

void AutorunModel::RefreshCatalogue(const AppContext& app) {
  // A refresh that fails part-way leaves the previous catalogue whole, so that a save never
  // writes a partial one.
  TAutorunList fresh;
  RefreshAutorun(fresh, app);
  ListAutoObj = std::move(fresh);
}

void AutorunModel::LoadAutorun(const AppContext& app) {
  RefreshCatalogue(app);
  productNames_.clear();  // version information is read anew at every refresh

  std::unordered_set<EntryId, EntryIdHash> present;
  for (size_t index = 0; index < ListAutoObj.size(); ++index) {
    const TAutorunInfo& entry = ListAutoObj[index];
    const EntryId id = EntryId::Of(entry);
    present.insert(id);
    if (auto it = rowOf_.find(id); it != rowOf_.end()) {
      TAutorunItem& row = rows_[it->second];
      row.Entry = index;
      row.Enabled = entry.Enabled;  // nothing else of a shown row changes
      continue;
    }
    if (entry.Caption.empty()) continue;
    if (!entry.Enabled && !allList) continue;
    if (!allList && IsWindowsTask(entry)) continue;
    if (LeftOut(entry, app.folderVars)) continue;
    AddRow(entry, index, app);
  }

  const size_t removed =
      std::erase_if(rows_, [&](const TAutorunItem& row) { return !present.contains(EntryId{row.From, row.Target}); });
  if (removed == 0) return;  // every row kept its place in the index
  rowOf_.clear();
  for (size_t i = 0; i < rows_.size(); ++i) rowOf_.emplace(EntryId{rows_[i].From, rows_[i].Target}, i);
}

}  // namespace tarnwick
