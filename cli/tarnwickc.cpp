#include "cli/tarnwickc.h"

#include <algorithm>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/location_codes.h"
#include "core/catalogue/toggles.h"
#include "core/startup/autorun_model.h"
#include "core/filters/filter_list.h"
#include "core/startup/list_actions.h"
#include "core/error.h"

namespace tarnwick {
namespace {

constexpr char kUsage[] =
    "usage: tarnwickc list [--json] [--visible]\n"
    "       tarnwickc enable FROM TARGET\n"
    "       tarnwickc disable FROM TARGET\n"
    "       tarnwickc save FILE\n"
    "  list            print every startup entry in catalogue order\n"
    "  list --json     the same as a JSON array (UTF-8)\n"
    "  list --visible  only the rows the startup list shows (built-in filter lists)\n"
    "  save FILE       write the catalogue as the window saves it (UTF-8, From|Caption|Target)\n"
    "  enable/disable  switch the entry (FROM and TARGET as list prints them) on or off\n";

CliResult Usage(std::string problem) {
  return {2, {}, "tarnwickc: " + problem + "\n" + kUsage};
}

std::string ListAsText(const TAutorunList& list) {
  std::string out;
  for (const TAutorunInfo& entry : list) {
    std::string from = ToUtf8(OneLine(entry.From));
    from.resize(std::max<size_t>(from.size(), 4), ' ');
    out += from + (entry.Enabled ? "  on   " : "  off  ") + ToUtf8(OneLine(entry.Caption)) + "  [" +
           ToUtf8(OneLine(entry.Target)) + "]";
    if (!entry.FileName.empty()) out += "  " + ToUtf8(OneLine(entry.FileName));
    out += '\n';
  }
  return out;
}

std::string ListAsJson(const TAutorunList& list) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const TAutorunInfo& entry : list) {
    array.push_back({{"from", ToUtf8(entry.From)},
                     {"caption", ToUtf8(entry.Caption)},
                     {"target", ToUtf8(entry.Target)},
                     {"fileName", ToUtf8(entry.FileName)},
                     {"rawData", ToUtf8(entry.RawData)},
                     {"enabled", entry.Enabled}});
  }
  return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// Icons are not printed; the collection only hands out indexes.
class CountingImages final : public ImageCollection {
 public:
  int Count() const override { return count_; }
  bool AddIcon(const Icon&, TextView) override {
    ++count_;
    return true;
  }

 private:
  int count_ = 4;
};

// The rows the window shows with "All Programs" unchecked, as catalogue entries.
TAutorunList VisibleRows(const AppContext& app) {
  FilterList fileWhite(app.ports.locale), nameWhite(app.ports.locale), nameBlack(app.ports.locale);
  LoadListResource(fileWhite, app.ports.resources, u"FILE_WHITE");
  LoadListResource(nameWhite, app.ports.resources, u"NAME_WHITE");
  LoadListResource(nameBlack, app.ports.resources, u"NAME_BLACK");
  CountingImages images;
  AutorunModel model(images, {fileWhite, nameWhite, nameBlack});
  model.LoadAutorun(app);
  // Each row keeps the identity of the entry that made it; the first such entry gives the rest.
  std::unordered_map<Text, const TAutorunInfo*> sources;
  for (const TAutorunInfo& source : model.ListAutoObj) sources.emplace(source.From + u"|" + source.Target, &source);
  TAutorunList rows;
  for (const TAutorunItem& row : model.Rows()) {
    TAutorunInfo entry;
    entry.Caption = row.DisplayName;
    entry.Target = row.Target;
    entry.From = row.From;
    entry.Enabled = row.Enabled;
    if (auto found = sources.find(row.From + u"|" + row.Target); found != sources.end()) {
      entry.FileName = found->second->FileName;
      entry.RawData = found->second->RawData;
    }
    rows.push_back(std::move(entry));
  }
  return rows;
}

CliResult List(std::span<const Text> options, const AppContext& app) {
  bool json = false, visible = false;
  for (const Text& option : options) {
    if (option == u"--json") {
      json = true;
    } else if (option == u"--visible") {
      visible = true;
    } else {
      return Usage("unknown option for list: " + ToUtf8(option));
    }
  }
  TAutorunList list;
  try {
    if (visible) {
      list = VisibleRows(app);
    } else {
      RefreshAutorun(list, app);
    }
  } catch (const TarnwickError& error) {
    return {1, {}, "tarnwickc: the catalogue could not be read: " + ToUtf8(error.Message()) + "\n"};
  }
  return {0, json ? ListAsJson(list) : ListAsText(list), {}};
}

CliResult Save(std::span<const Text> args, const AppContext& app) {
  if (args.size() != 1) return Usage("save needs one FILE");
  TAutorunList list;
  try {
    RefreshAutorun(list, app);
  } catch (const TarnwickError& error) {
    return {1, {}, "tarnwickc: the catalogue could not be read: " + ToUtf8(error.Message()) + "\n"};
  }
  Text message;
  if (!app.ports.fileSystem.WriteWholeFile(args[0], BuildSavedList(list), message)) {
    return {1, {}, "tarnwickc: " + ToUtf8(args[0]) + " could not be written: " + ToUtf8(message) + "\n"};
  }
  return {0, std::to_string(list.size()) + " entries written to " + ToUtf8(args[0]) + "\n", {}};
}

const TAutorunInfo* FindEntry(const TAutorunList& list, TextView from, TextView target) {
  for (const TAutorunInfo& entry : list) {
    if (SameTextAscii(entry.From, from) && SameTextAscii(entry.Target, target)) return &entry;
  }
  return nullptr;
}

// A service enabled again may get back a manual start, which the catalogue shows as off.
bool IsServiceStartRestored(TextView name, const AppContext& app) {
  auto manager = app.ports.services.Connect(scm::kConnect);
  auto service = manager ? manager->Open(Text(name), scm::kQueryConfig) : nullptr;
  ServiceConfig config;
  return service && service->QueryConfig(config) && config.startType == scm::kDemandStart;
}

// The toggles are silent by design; the console reads the state back to tell the truth.
CliResult Toggle(bool enable, std::span<const Text> args, const AppContext& app) {
  const char* verb = enable ? "enable" : "disable";
  if (args.size() != 2) return Usage(std::string(verb) + " needs FROM and TARGET");
  std::string named = ToUtf8(OneLine(args[0])) + " " + ToUtf8(OneLine(args[1]));
  Text from, target;  // as the system spells them, whatever case was typed
  TAutorunList list;
  try {
    RefreshAutorun(list, app);
    const TAutorunInfo* found = FindEntry(list, args[0], args[1]);
    if (!found) {
      return {1, {}, "tarnwickc: no startup entry " + named + "\n"};
    }
    from = found->From;
    target = found->Target;
    named = ToUtf8(OneLine(from)) + " " + ToUtf8(OneLine(target));
    SetAutorunEnabled(target, from, enable, app);
    RefreshAutorun(list, app);
  } catch (const TarnwickError& error) {
    return {1, {}, "tarnwickc: " + std::string(verb) + " " + named + " failed: " + ToUtf8(error.Message()) + "\n"};
  }
  const TAutorunInfo* entry = FindEntry(list, from, target);
  if (!entry && !enable && !UsesStartupApproved(app.ports.systemInfo)) {
    // Before Windows 8 there is no StartupApproved: disabling removes the entry.
    return {0, named + " removed\n", {}};
  }
  if (!entry) {
    return {1, {}, "tarnwickc: " + named + " is no longer in the catalogue after " + verb + "\n"};
  }
  if (enable && !entry->Enabled && SameTextAscii(from, location::kService) && IsServiceStartRestored(target, app)) {
    return {0, named + " enabled (its manual start restored)\n", {}};
  }
  if (entry->Enabled != enable) {
    return {1, {}, "tarnwickc: " + named + " is still " + (entry->Enabled ? "enabled" : "disabled") +
                       ": the system did not accept the change\n"};
  }
  return {0, named + (enable ? " enabled\n" : " disabled\n"), {}};
}

}  // namespace

CliResult RunTarnwickc(std::span<const Text> args, const AppContext& app) {
  if (args.empty()) return Usage("no command given");
  if (args[0] == u"list") return List(args.subspan(1), app);
  if (args[0] == u"enable") return Toggle(true, args.subspan(1), app);
  if (args[0] == u"disable") return Toggle(false, args.subspan(1), app);
  if (args[0] == u"save") return Save(args.subspan(1), app);
  return Usage("unknown command: " + ToUtf8(args[0]));
}

}  // namespace tarnwick
