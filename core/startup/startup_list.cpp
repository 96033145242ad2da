#include "core/startup/startup_list.h"

#include <optional>
#include <unordered_set>
#include <utility>

#include "core/catalogue/location_codes.h"
#include "core/catalogue/toggles.h"
#include "core/details/entry_image.h"
#include "core/startup/list_actions.h"

namespace tarnwick {
namespace {

// A service enabled again may get back a manual start, which the catalogue shows as off.
bool HasManualStart(TextView service, const AppContext& app) {
  auto manager = app.ports.services.Connect(scm::kConnect);
  auto handle = manager ? manager->Open(Text(service), scm::kQueryConfig) : nullptr;
  ServiceConfig config;
  return handle && handle->QueryConfig(config) && config.startType == scm::kDemandStart;
}

size_t RowCount(const FilterList& a, const FilterList& b, const FilterList& c) {
  return a.Rows().size() + b.Rows().size() + c.Rows().size();
}

}  // namespace

StartupList::StartupList(const AppContext& app, ImageCollection& images)
    : app_(app), fileWhite_(app.ports.locale), nameWhite_(app.ports.locale), nameBlack_(app.ports.locale),
      model_(images, {fileWhite_, nameWhite_, nameBlack_}),
      signatures_(app.ports.signatures, app.ports.fileSystem),
      choices_(app.ports.registry) {
  model_.showAnyway = [this](const TAutorunInfo& entry) {
    return DetailsReader(app_, nameWhite_, nameBlack_).QuickCheck(entry, signatures_) != CheckReason::None;
  };
}

void StartupList::LoadBuiltInLists() {
  LoadListResource(fileWhite_, app_.ports.resources, u"FILE_WHITE");
  LoadListResource(nameWhite_, app_.ports.resources, u"NAME_WHITE");
  LoadListResource(nameBlack_, app_.ports.resources, u"NAME_BLACK");
}

bool StartupList::MergeServerLists(std::string_view answerJson) {
  const size_t before = RowCount(fileWhite_, nameWhite_, nameBlack_);
  tarnwick::MergeServerList(fileWhite_, answerJson, "file_white");
  tarnwick::MergeServerList(nameWhite_, answerJson, "name_white");
  tarnwick::MergeServerList(nameBlack_, answerJson, "name_black");
  return RowCount(fileWhite_, nameWhite_, nameBlack_) != before;
}

void StartupList::Load() {
  if (!buildRows) {
    model_.RefreshCatalogue(app_);
    FindWhatCameBack();
    return;
  }
  model_.allList = allList;
  model_.LoadAutorun(app_);
  detailsStale_ = true;  // files may have changed with the catalogue
  FindWhatCameBack();
}

void StartupList::FindWhatCameBack() { cameBack_ = FindCameBack(model_.ListAutoObj, choices_.All(), app_); }

const CameBack* StartupList::CameBackOf(const EntryId& id) const {
  auto it = cameBack_.find(id);
  return it == cameBack_.end() ? nullptr : &it->second;
}

void StartupList::Dismiss(const EntryId& id) {
  auto it = cameBack_.find(id);
  if (it == cameBack_.end()) return;
  (void)choices_.Forget(it->second.earlier.id);
  cameBack_.erase(it);
}

bool StartupList::DescribeRows() {
  const bool stale = std::exchange(detailsStale_, false);
  std::unordered_map<EntryId, EntryDetails, EntryIdHash> described;
  std::optional<DetailsReader> reader;
  bool any = false;
  for (const TAutorunItem& row : Rows()) {
    const TAutorunInfo& entry = EntryOf(row);
    const EntryId id = EntryId::Of(entry);
    if (auto old = details_.find(id); old != details_.end() && !stale) {
      described.emplace(id, std::move(old->second));
      continue;
    }
    if (!reader) reader.emplace(app_, nameWhite_, nameBlack_);  // reads the boot measurements once
    EntryDetails details = reader->Describe(entry);
    if (details.fileExists) {
      if (auto known = signatures_.Cached(details.image.path)) reader->Apply(details, *known);
    }
    described.emplace(id, std::move(details));
    any = true;
  }
  details_ = std::move(described);
  return any;
}

const EntryDetails* StartupList::DetailsOf(const TAutorunItem& row) const {
  auto it = details_.find(EntryId::Of(EntryOf(row)));
  return it == details_.end() ? nullptr : &it->second;
}

std::vector<Text> StartupList::UnverifiedImages() const {
  std::vector<Text> images;
  std::unordered_set<Text> seen;
  for (const TAutorunItem& row : Rows()) {
    const EntryDetails* details = DetailsOf(row);
    if (!details || !details->fileExists || details->signature.state != SignatureState::NotChecked) continue;
    if (seen.insert(LowerAscii(details->image.path)).second) images.push_back(details->image.path);
  }
  return images;
}

bool StartupList::ApplyKnownSignatures() {
  std::optional<DetailsReader> reader;
  bool any = false;
  for (auto& [id, details] : details_) {
    if (!details.fileExists || details.signature.state != SignatureState::NotChecked) continue;
    const auto known = signatures_.Cached(details.image.path);
    if (!known) continue;
    if (!reader) reader.emplace(app_, nameWhite_, nameBlack_);
    reader->Apply(details, *known);
    any = true;
  }
  return any;
}

EntryDetails StartupList::DescribeFully(const TAutorunItem& row) {
  DetailsReader reader(app_, nameWhite_, nameBlack_);
  EntryDetails details = reader.Describe(EntryOf(row));
  reader.Verify(details, signatures_);
  details_[EntryId::Of(EntryOf(row))] = details;  // the row's marks follow what was learnt
  return details;
}

void StartupList::Rebuild() {
  model_.Clear();
  Load();
}

const TAutorunInfo* StartupList::Find(const EntryId& id) const {
  for (const TAutorunInfo& entry : model_.ListAutoObj) {
    if (EntryId::Of(entry) == id) return &entry;
  }
  return nullptr;
}

ToggleOutcome StartupList::Toggle(const EntryId& asked, bool enable) {
  const TAutorunInfo* found = Find(asked);
  if (!found) return ToggleOutcome::NotFound;
  const EntryId id = EntryId::Of(*found);  // as the system spells it
  const Text image = ImageOf(*found, app_).path;  // before a switch that may remove the entry
  const SwitchStatus status = SetAutorunEnabled(id, enable, app_);
  if (status == SwitchStatus::Blocked) return ToggleOutcome::Blocked;
  if (status == SwitchStatus::Done) {
    // The user's choice, whatever the refresh below reads back: an updater may undo it later.
    choiceRecorded_ = enable ? choices_.Forget(id)
                             : choices_.RememberOff({id, app_.ports.clock.UtcNowFileTime(), image});
  }
  Load();
  const TAutorunInfo* entry = Find(id);
  if (!entry) {
    // Before Windows 8 there is no StartupApproved: disabling removes the entry.
    if (status == SwitchStatus::Done && !enable && !UsesStartupApproved(app_.ports.systemInfo)) {
      return ToggleOutcome::Removed;
    }
    return ToggleOutcome::Gone;
  }
  if (status == SwitchStatus::NotFound) return ToggleOutcome::Gone;
  if (status == SwitchStatus::Refused) return ToggleOutcome::Refused;
  if (entry->Enabled == enable) return ToggleOutcome::Switched;
  if (enable && SameTextAscii(id.from, location::kService) && HasManualStart(id.target, app_)) {
    return ToggleOutcome::ManualStartRestored;
  }
  return ToggleOutcome::Refused;
}

bool StartupList::Save(TextView path, Text& message) const {
  return app_.ports.fileSystem.WriteWholeFile(path, BuildSavedList(model_.ListAutoObj), message);
}

}  // namespace tarnwick
