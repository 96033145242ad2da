#pragma once
// The startup list as a model the window only renders: LoadAutorun refreshes the catalogue
// and merges it into the rows by (From, Target), filtering and naming only new rows.

#include <functional>
#include <unordered_map>
#include <vector>

#include "core/app_context.h"
#include "core/catalogue/autorun_info.h"
#include "core/catalogue/entry_id.h"
#include "core/filters/filter_list.h"
#include "core/files/file_info.h"

namespace tarnwick {

// One row of the list.
struct TAutorunItem {
  size_t Entry = 0;  // its entry's index in the catalogue of the last refresh
  Text DisplayName;  // what the row shows: the product name of its file, or the entry's Caption
  Text Target;
  Text From;
  int32_t Icon = 0;
  bool Enabled = false;
};

namespace builtin_image {
inline constexpr int32_t kBlank = 0;
inline constexpr int32_t kRegistry = 1;
inline constexpr int32_t kTask = 2;
inline constexpr int32_t kService = 3;
}  // namespace builtin_image

class AutorunModel {
 public:
  struct FilterLists {
    const FilterList& fileWhite;
    const FilterList& nameWhite;
    const FilterList& nameBlack;  // kept beside the others; no rule reads it
  };

  AutorunModel(ImageCollection& dataIcon, FilterLists lists) : DataIcon(dataIcon), lists_(lists) {}

  // Refreshes into a new catalogue, swaps it into ListAutoObj and merges it into the rows.
  // An error from the refresh passes on with the catalogue and the rows as they were.
  void LoadAutorun(const AppContext& app);
  // The first half of LoadAutorun: the new catalogue, swapped in only when complete; the
  // rows stay as they are.
  void RefreshCatalogue(const AppContext& app);
  // The row of this identity; nullptr when there is none.
  const TAutorunItem* FindNode(const EntryId& id) const;
  // All rows go (F5, the check box); the next LoadAutorun rebuilds them.
  void Clear() {
    rows_.clear();
    rowOf_.clear();
  }

  const std::vector<TAutorunItem>& Rows() const { return rows_; }
  bool allList = false;  // "All Programs": disabled entries get rows too
  // Asked for a new entry the name list hides: true gets it a row all the same (an impostor
  // named like a part of Windows).
  std::function<bool(const TAutorunInfo&)> showAnyway;

  TAutorunList ListAutoObj;  // the catalogue of the last refresh, hidden entries included
  IconCache ListIconObj;
  ImageCollection& DataIcon;

 private:
  bool LeftOut(const TAutorunInfo& entry, const FolderVars& vars) const;
  void AddRow(const TAutorunInfo& entry, size_t index, const AppContext& app);

  FilterLists lists_;
  std::vector<TAutorunItem> rows_;
  std::unordered_map<EntryId, size_t, EntryIdHash> rowOf_;
  std::unordered_map<Text, Text> productNames_;  // file -> product name, within one refresh
};

}  // namespace tarnwick
