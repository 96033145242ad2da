#include "cli/baseline.h"

#include <unordered_map>

#include <nlohmann/json.hpp>

namespace tarnwick {
namespace {

using Json = nlohmann::ordered_json;
constexpr char kFormat[] = "tarnwick-baseline";
constexpr int kVersion = 1;

}  // namespace

std::string BaselineJson(const std::vector<ListedEntry>& entries, TextView created) {
  Json list = Json::array();
  for (const ListedEntry& listed : entries) {
    Json item = {{"from", ToUtf8(listed.entry.From)},
                 {"target", ToUtf8(listed.entry.Target)},
                 {"caption", ToUtf8(listed.entry.Caption)},
                 {"enabled", listed.entry.Enabled}};
    if (listed.details) {
      item["image"] = ToUtf8(listed.details->image.path);
      item["product"] = ToUtf8(listed.details->product);
      item["publisher"] = ToUtf8(listed.details->publisher);
    }
    list.push_back(std::move(item));
  }
  const Json baseline = {{"format", kFormat}, {"version", kVersion}, {"created", ToUtf8(created)}, {"entries", list}};
  return baseline.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<std::vector<BaselineEntry>> ParseBaseline(std::string_view bytes, std::string& problem) {
  const Json json = Json::parse(bytes, nullptr, false);
  if (json.is_discarded()) {
    problem = "it is not complete JSON (damaged or cut short)";
    return std::nullopt;
  }
  if (!json.is_object() || !json.contains("format") || json["format"] != kFormat) {
    problem = "it is no Tarnwick baseline";
    return std::nullopt;
  }
  if (!json.contains("version") || !json["version"].is_number_integer() || json["version"] != kVersion) {
    problem = "its version is not " + std::to_string(kVersion);
    return std::nullopt;
  }
  if (!json.contains("entries") || !json["entries"].is_array()) {
    problem = "it has no list of entries";
    return std::nullopt;
  }
  std::vector<BaselineEntry> entries;
  size_t index = 0;
  for (const Json& item : json["entries"]) {
    ++index;
    if (!item.is_object() || !item.contains("from") || !item["from"].is_string() || !item.contains("target") ||
        !item["target"].is_string() || !item.contains("enabled") || !item["enabled"].is_boolean() ||
        (item.contains("caption") && !item["caption"].is_string())) {
      problem = "entry " + std::to_string(index) + " lacks from, target or enabled of the right type";
      return std::nullopt;
    }
    entries.push_back({{FromUtf8(item["from"].get<std::string>()), FromUtf8(item["target"].get<std::string>())},
                       item.contains("caption") ? FromUtf8(item["caption"].get<std::string>()) : Text(),
                       item["enabled"].get<bool>()});
  }
  return entries;
}

std::vector<BaselineChange> DiffBaseline(const std::vector<BaselineEntry>& baseline, const TAutorunList& now) {
  std::unordered_map<EntryId, const BaselineEntry*, EntryIdHash> before;
  for (const BaselineEntry& entry : baseline) before.emplace(entry.id, &entry);
  std::unordered_map<EntryId, bool, EntryIdHash> present;
  std::vector<BaselineChange> changes;
  for (const TAutorunInfo& entry : now) {
    const EntryId id = EntryId::Of(entry);
    present.emplace(id, true);
    auto was = before.find(id);
    if (was == before.end()) {
      changes.push_back({BaselineChange::Added, id, entry.Caption});
    } else if (was->second->enabled != entry.Enabled) {
      changes.push_back({entry.Enabled ? BaselineChange::SwitchedOn : BaselineChange::SwitchedOff, id, entry.Caption});
    }
  }
  for (const BaselineEntry& entry : baseline) {
    if (!present.contains(entry.id)) changes.push_back({BaselineChange::Removed, entry.id, entry.caption});
  }
  return changes;
}

std::string ChangeLine(const BaselineChange& change) {
  static constexpr const char* kWords[] = {"added", "removed", "switched on", "switched off"};
  return std::string(kWords[change.kind]) + "  " + ToUtf8(OneLine(change.id.from)) + " " +
         ToUtf8(OneLine(change.id.target)) + "  (" + ToUtf8(OneLine(change.caption)) + ")\n";
}

}  // namespace tarnwick
