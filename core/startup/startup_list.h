#pragma once
// The startup list the window and tarnwickc share: the three filter lists, the catalogue of
// the last refresh and the rows built from it, the switch of an entry with its outcome read
// back, and the saved list. The window renders it and maps input; tarnwickc prints it.

#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "core/app_context.h"
#include "core/catalogue/entry_id.h"
#include "core/choices/choices.h"
#include "core/details/entry_details.h"
#include "core/filters/filter_list.h"
#include "core/startup/autorun_model.h"

namespace tarnwick {

// What became of a switch, read back from the system.
enum class ToggleOutcome {
  Switched,              // the entry now is as asked
  ManualStartRestored,   // a service enabled again got back its manual start (shown as off)
  Removed,               // before Windows 8: disabling removed the entry
  NotFound,              // no entry of that identity in the catalogue
  Gone,                  // the entry left the catalogue during the switch
  Refused,               // the system kept the entry as it was
  Blocked,               // the entry cannot be switched (SwitchBlockOf says why); nothing was tried
};

class StartupList {
 public:
  StartupList(const AppContext& app, ImageCollection& images);
  StartupList(const StartupList&) = delete;
  StartupList& operator=(const StartupList&) = delete;

  // FILE_WHITE, NAME_WHITE and NAME_BLACK from the program's resources.
  void LoadBuiltInLists();
  // Adds the answer's three arrays; true when any list gained a row.
  bool MergeServerLists(std::string_view answerJson);

  // Refreshes into a new catalogue and merges it into the rows. An error passes on with the
  // catalogue and the rows as they were.
  void Load();
  // All rows go and are built again (F5, "All Programs", new filter rows).
  void Rebuild();
  // Switches the entry with this identity and loads the list again. The entry is taken as
  // the catalogue spells it, whatever case `id` has. A switch off is remembered with the
  // entry's image, a switch on forgets the entry (ChoiceStore). Deleting a startup file before
  // Windows 8 lets its failure through as TarnwickError.
  [[nodiscard]] ToggleOutcome Toggle(const EntryId& id, bool enable);

  // The rows' details, read after the rows are shown since they cost file reads: every row
  // not described since the last refresh gets its details, and a signature verified before
  // for the same version of its file. True when any row got details.
  bool DescribeRows();
  // nullptr until DescribeRows reached the row.
  const EntryDetails* DetailsOf(const TAutorunItem& row) const;
  // Every fact of the row's entry, the signature included (verified now unless known).
  EntryDetails DescribeFully(const TAutorunItem& row);
  // The described rows' files whose signature is not known yet, in row order, once each.
  std::vector<Text> UnverifiedImages() const;
  // Gives described rows the signatures verified meanwhile; true when any row got one.
  bool ApplyKnownSignatures();
  // Verified signatures, kept for the life of the list; safe to use from another thread.
  SignatureCache& Signatures() { return signatures_; }

  // Entries on again although the user switched them, or their program, off (as of the last
  // refresh); nullptr for any other entry.
  const CameBack* CameBackOf(const EntryId& id) const;
  // False when the last switch worked but could not be remembered.
  bool ChoiceRecorded() const { return choiceRecorded_; }
  // The user accepts what came back: its record goes, and so does the mark.
  void Dismiss(const EntryId& id);

  // The saved list of the catalogue of the last complete refresh.
  [[nodiscard]] bool Save(TextView path, Text& message) const;

  const std::vector<TAutorunItem>& Rows() const { return model_.Rows(); }
  const TAutorunList& Catalogue() const { return model_.ListAutoObj; }
  const TAutorunInfo& EntryOf(const TAutorunItem& row) const { return model_.ListAutoObj[row.Entry]; }
  // The catalogue's entry of this identity; nullptr when there is none.
  const TAutorunInfo* Find(const EntryId& id) const;
  const AutorunModel& Model() const { return model_; }
  const FilterList& NameWhite() const { return nameWhite_; }
  const FilterList& NameBlack() const { return nameBlack_; }
  // Icons follow the image collection: after it started again, they are extracted anew.
  void ForgetIcons() { model_.ListIconObj.clear(); }

  bool allList = false;  // "All Programs": disabled entries get rows too
  // False for a caller that reads the catalogue only: no rows, names or icons are made.
  bool buildRows = true;

 private:
  const AppContext& app_;
  FilterList fileWhite_, nameWhite_, nameBlack_;
  AutorunModel model_;
  std::unordered_map<EntryId, EntryDetails, EntryIdHash> details_;
  bool detailsStale_ = true;
  SignatureCache signatures_;
  ChoiceStore choices_;
  std::unordered_map<EntryId, CameBack, EntryIdHash> cameBack_;
  bool choiceRecorded_ = true;
  void FindWhatCameBack();
};

}  // namespace tarnwick
