#include "core/choices/choices.h"

#include <cstdio>
#include <string>

#include "core/details/entry_image.h"
#include "core/registry/registry.h"

namespace tarnwick {
namespace {

constexpr TextView kOff = u"off";

Text NameOf(const EntryId& id) { return id.from + u"|" + id.target; }

bool ParseNumber(TextView text, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  return true;
}

// "off|<time>|<image>" under the name "From|Target".
std::optional<Choice> Parse(const Text& name, const Text& data) {
  const size_t bar = name.find(u'|');
  const size_t first = data.find(u'|');
  const size_t second = first == Text::npos ? Text::npos : data.find(u'|', first + 1);
  if (bar == Text::npos || bar == 0 || second == Text::npos || TextView(data).substr(0, first) != kOff) {
    return std::nullopt;
  }
  Choice choice{{name.substr(0, bar), name.substr(bar + 1)}, 0, data.substr(second + 1)};
  if (!ParseNumber(TextView(data).substr(first + 1, second - first - 1), choice.switchedOff)) return std::nullopt;
  return choice;
}

}  // namespace

bool ChoiceStore::RememberOff(const Choice& choice) const {
  const Text data = Text(kOff) + u"|" + FromUtf8(std::to_string(choice.switchedOff)) + u"|" + choice.image;
  return TReg(registry_).WriteString(root::kCurrentUser, choices::kKey, NameOf(choice.id), data);
}

bool ChoiceStore::Forget(const EntryId& id) const {
  const TReg reg(registry_);
  if (!reg.IsKey(root::kCurrentUser, choices::kKey)) return true;  // nothing to forget; no key made
  (void)reg.DeleteValue(root::kCurrentUser, choices::kKey, NameOf(id));
  auto key = registry_.Open(root::kCurrentUser, choices::kKey, KeyAccess::Read);
  RegistryValue left;
  return !key || !key->QueryValue(NameOf(id), left);
}

std::vector<Choice> ChoiceStore::All() const {
  std::vector<NamedRegistryValue> values;
  (void)TReg(registry_).ReadValues(root::kCurrentUser, choices::kKey, values);
  std::vector<Choice> all;
  for (const NamedRegistryValue& value : values) {
    if (auto choice = Parse(value.name, TReg::StringOf(value.value, u""))) all.push_back(std::move(*choice));
  }
  return all;
}

std::unordered_map<EntryId, CameBack, EntryIdHash> FindCameBack(const TAutorunList& catalogue,
                                                                const std::vector<Choice>& choices,
                                                                const AppContext& app) {
  std::unordered_map<EntryId, CameBack, EntryIdHash> found;
  if (choices.empty()) return found;
  std::unordered_map<EntryId, const TAutorunInfo*, EntryIdHash> byId;
  for (const TAutorunInfo& entry : catalogue) byId.emplace(EntryId::Of(entry), &entry);
  std::unordered_map<EntryId, const Choice*, EntryIdHash> chosen;
  for (const Choice& choice : choices) chosen.emplace(choice.id, &choice);

  std::unordered_map<Text, const Choice*> goneImages;  // folded image -> the choice of an entry that is gone
  for (const Choice& choice : choices) {
    auto entry = byId.find(choice.id);
    if (entry == byId.end()) {
      if (!choice.image.empty()) goneImages.emplace(LowerAscii(choice.image), &choice);
    } else if (entry->second->Enabled) {
      found.emplace(choice.id, CameBack{choice, true});
    }
  }
  if (goneImages.empty()) return found;
  // Images are read only when a program may have moved: a shortcut costs a shell call.
  for (const TAutorunInfo& entry : catalogue) {
    const EntryId id = EntryId::Of(entry);
    if (!entry.Enabled || chosen.contains(id)) continue;
    const Text image = ImageOf(entry, app).path;
    if (image.empty()) continue;
    if (auto gone = goneImages.find(LowerAscii(image)); gone != goneImages.end()) {
      found.emplace(id, CameBack{*gone->second, false});
    }
  }
  return found;
}

Text ChoiceTimeText(uint64_t fileTime) {
  const uint64_t seconds = fileTime / 10000000ULL;
  int64_t days = static_cast<int64_t>(seconds / 86400) - 134774;  // 1601-01-01 to 1970-01-01
  const unsigned secondOfDay = static_cast<unsigned>(seconds % 86400);
  // Days since 1970 to a civil date.
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthPart = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * monthPart + 2) / 5 + 1;
  const unsigned month = monthPart < 10 ? monthPart + 3 : monthPart - 9;
  const int64_t year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02u:%02u UTC", static_cast<long long>(year), month, day,
                secondOfDay / 3600, secondOfDay / 60 % 60);
  return FromUtf8(text);
}

}  // namespace tarnwick
