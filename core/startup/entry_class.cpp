#include "core/startup/entry_class.h"

#include "core/catalogue/location_codes.h"
#include "core/paths/path.h"

namespace tarnwick {

EntryClass ClassOf(TextView from) {
  if (SameTextAscii(from, location::kFile)) return EntryClass::File;
  if (SameTextAscii(from, location::kTask)) return EntryClass::Task;
  if (SameTextAscii(from, location::kService)) return EntryClass::Service;
  return EntryClass::Registry;
}

HiddenBy HiddenByLists(const TAutorunInfo& entry, const FilterList& fileWhite, const FilterList& nameWhite,
                       const FolderVars& vars) {
  bool hidden = false;
  switch (ClassOf(entry.From)) {
    case EntryClass::File:
      return MatchList(fileWhite, entry.Target, true, vars) ? HiddenBy::FileList : HiddenBy::Nothing;
    case EntryClass::Service: hidden = MatchList(nameWhite, entry.Target, false, vars); break;
    case EntryClass::Registry:
    case EntryClass::Task: hidden = MatchList(nameWhite, FileNamePart(entry.Target), false, vars); break;
  }
  return hidden ? HiddenBy::NameList : HiddenBy::Nothing;
}

}  // namespace tarnwick
