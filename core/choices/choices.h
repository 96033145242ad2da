#pragma once
// The user's choices: every entry switched off (in the window or by tarnwickc) is recorded per
// user, so that an entry that switches itself back on can be shown. One registry value per
// entry under HKCU\Software\Morvessa\Tarnwick\Choices, written in one call: the value's name
// is "From|Target", its text "off|<FILETIME>|<image path>". Switching the entry on again, or
// dismissing what came back, removes the record.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/app_context.h"
#include "core/catalogue/autorun_info.h"
#include "core/catalogue/entry_id.h"

namespace tarnwick {

namespace choices {
inline constexpr TextView kKey = u"Software\\Morvessa\\Tarnwick\\Choices";
}  // namespace choices

struct Choice {
  EntryId id;
  uint64_t switchedOff = 0;  // FILETIME, UTC
  Text image;                // the file the entry started then
};

class ChoiceStore {
 public:
  explicit ChoiceStore(Registry& registry) : registry_(registry) {}
  // False when the record could not be written.
  [[nodiscard]] bool RememberOff(const Choice& choice) const;
  // Removes the record of the entry (any letter case); true when none is left.
  bool Forget(const EntryId& id) const;
  // Every readable record; damaged ones are left out.
  std::vector<Choice> All() const;

 private:
  Registry& registry_;
};

// An entry that is on again although the user switched it, or its program, off.
struct CameBack {
  Choice earlier;       // what the user chose
  bool sameEntry = true;  // false: the program came back as another entry (a task, a Run value)
};

// The entries of the catalogue that came back, by identity: an entry switched off that is on
// again, and an enabled entry the user never chose whose image is that of an entry switched
// off that is gone.
std::unordered_map<EntryId, CameBack, EntryIdHash> FindCameBack(const TAutorunList& catalogue,
                                                                const std::vector<Choice>& choices,
                                                                const AppContext& app);

// "2026-12-10 17:05 UTC" for a FILETIME.
Text ChoiceTimeText(uint64_t fileTime);

}  // namespace tarnwick
