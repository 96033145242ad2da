#include "cli/entry_output.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace tarnwick {
namespace {

using Json = nlohmann::ordered_json;

std::string StartTypeName(const EntryDetails& details) {
  return details.startType ? ServiceStartName(*details.startType) : "";
}

std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

void AppendRow(std::string& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    out += CsvField(fields[i]);
  }
  out += "\r\n";
}

const char* YesNo(bool value) { return value ? "true" : "false"; }

}  // namespace

std::string EntriesAsText(const std::vector<ListedEntry>& entries) {
  std::string out;
  for (const ListedEntry& listed : entries) {
    const TAutorunInfo& entry = listed.entry;
    std::string from = ToUtf8(OneLine(entry.From));
    from.resize(std::max<size_t>(from.size(), 4), ' ');
    out += from + (entry.Enabled ? "  on   " : "  off  ") + ToUtf8(OneLine(entry.Caption)) + "  [" +
           ToUtf8(OneLine(entry.Target)) + "]";
    if (!entry.FileName.empty()) out += "  " + ToUtf8(OneLine(entry.FileName));
    if (listed.cameBack) out += "  (came back)";
    out += '\n';
  }
  return out;
}

std::string EntriesAsJson(const std::vector<ListedEntry>& entries) {
  Json array = Json::array();
  for (const ListedEntry& listed : entries) {
    const TAutorunInfo& entry = listed.entry;
    Json item = {{"from", ToUtf8(entry.From)},          {"caption", ToUtf8(entry.Caption)},
                 {"target", ToUtf8(entry.Target)},      {"fileName", ToUtf8(entry.FileName)},
                 {"rawData", ToUtf8(entry.RawData)},    {"enabled", entry.Enabled}};
    if (const auto& back = listed.cameBack) {
      item["cameBack"] = {{"from", ToUtf8(back->earlier.id.from)},
                          {"target", ToUtf8(back->earlier.id.target)},
                          {"switchedOff", ToUtf8(ChoiceTimeText(back->earlier.switchedOff))},
                          {"image", ToUtf8(back->earlier.image)},
                          {"sameEntry", back->sameEntry}};
    }
    if (const auto& details = listed.details) {
      item["image"] = ToUtf8(details->image.path);
      item["arguments"] = ToUtf8(details->image.arguments);
      item["fileExists"] = details->fileExists;
      item["product"] = ToUtf8(details->product);
      item["publisher"] = ToUtf8(details->publisher);
      item["description"] = ToUtf8(details->description);
      if (details->startType) item["startType"] = StartTypeName(*details);
      item["impact"] = {{"level", ImpactLevelName(details->impact.level)},
                        {"cpuMs", details->impact.cpuMs},
                        {"diskBytes", details->impact.diskBytes}};
      item["recommendedOff"] = details->recommendedOff;
      if (details->check != CheckReason::None) item["checkThis"] = CheckReasonText(details->check);
      if (listed.verified) {
        item["signature"] = SignatureStateName(details->signature.state);
        item["signer"] = ToUtf8(details->signature.signer);
      }
    }
    array.push_back(std::move(item));
  }
  return array.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string EntriesAsCsv(const std::vector<ListedEntry>& entries, bool verified) {
  std::string out = "\xEF\xBB\xBF";
  std::vector<std::string> header = {"from",      "caption",     "target",   "enabled",   "image",
                                     "arguments", "fileExists",  "product",  "publisher", "description",
                                     "startType", "impact",      "cpuMs",    "diskBytes", "recommendedOff",
                                     "checkThis"};
  if (verified) {
    header.push_back("signature");
    header.push_back("signer");
  }
  AppendRow(out, header);
  for (const ListedEntry& listed : entries) {
    const TAutorunInfo& entry = listed.entry;
    const EntryDetails details = listed.details.value_or(EntryDetails{});
    std::vector<std::string> row = {ToUtf8(entry.From),
                                    ToUtf8(entry.Caption),
                                    ToUtf8(entry.Target),
                                    YesNo(entry.Enabled),
                                    ToUtf8(details.image.path),
                                    ToUtf8(details.image.arguments),
                                    YesNo(details.fileExists),
                                    ToUtf8(details.product),
                                    ToUtf8(details.publisher),
                                    ToUtf8(details.description),
                                    StartTypeName(details),
                                    ImpactLevelName(details.impact.level),
                                    std::to_string(details.impact.cpuMs),
                                    std::to_string(details.impact.diskBytes),
                                    YesNo(details.recommendedOff),
                                    CheckReasonText(details.check)};
    if (verified) {
      row.push_back(SignatureStateName(details.signature.state));
      row.push_back(ToUtf8(details.signature.signer));
    }
    AppendRow(out, row);
  }
  return out;
}

}  // namespace tarnwick
