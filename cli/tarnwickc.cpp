#include "cli/tarnwickc.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "core/error.h"
#include "core/startup/startup_list.h"

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

CliResult CatalogueError(const TarnwickError& error) {
  return {1, {}, "tarnwickc: the catalogue could not be read: " + ToUtf8(error.Message()) + "\n"};
}

// The rows the window shows with "All Programs" unchecked, as their catalogue entries.
TAutorunList VisibleRows(StartupList& list) {
  list.LoadBuiltInLists();
  list.Load();
  TAutorunList rows;
  for (const TAutorunItem& row : list.Rows()) {
    TAutorunInfo entry = list.EntryOf(row);
    entry.Caption = row.DisplayName;
    entry.Enabled = row.Enabled;
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
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = visible;
  TAutorunList entries;
  try {
    if (visible) {
      entries = VisibleRows(list);
    } else {
      list.Load();
      entries = list.Catalogue();
    }
  } catch (const TarnwickError& error) {
    return CatalogueError(error);
  }
  return {0, json ? ListAsJson(entries) : ListAsText(entries), {}};
}

CliResult Save(std::span<const Text> args, const AppContext& app) {
  if (args.size() != 1) return Usage("save needs one FILE");
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = false;
  try {
    list.Load();
  } catch (const TarnwickError& error) {
    return CatalogueError(error);
  }
  Text message;
  if (!list.Save(args[0], message)) {
    return {1, {}, "tarnwickc: " + ToUtf8(args[0]) + " could not be written: " + ToUtf8(message) + "\n"};
  }
  return {0, std::to_string(list.Catalogue().size()) + " entries written to " + ToUtf8(args[0]) + "\n", {}};
}

CliResult Toggle(bool enable, std::span<const Text> args, const AppContext& app) {
  const char* verb = enable ? "enable" : "disable";
  if (args.size() != 2) return Usage(std::string(verb) + " needs FROM and TARGET");
  std::string named = ToUtf8(OneLine(args[0])) + " " + ToUtf8(OneLine(args[1]));
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = false;
  ToggleOutcome outcome = ToggleOutcome::NotFound;
  try {
    list.Load();
    if (const TAutorunInfo* found = list.Find({args[0], args[1]})) {
      named = ToUtf8(OneLine(found->From)) + " " + ToUtf8(OneLine(found->Target));  // as the system spells it
    }
    outcome = list.Toggle({args[0], args[1]}, enable);
  } catch (const TarnwickError& error) {
    return {1, {}, "tarnwickc: " + std::string(verb) + " " + named + " failed: " + ToUtf8(error.Message()) + "\n"};
  }
  switch (outcome) {
    case ToggleOutcome::Switched: return {0, named + (enable ? " enabled\n" : " disabled\n"), {}};
    case ToggleOutcome::ManualStartRestored: return {0, named + " enabled (its manual start restored)\n", {}};
    case ToggleOutcome::Removed: return {0, named + " removed\n", {}};
    case ToggleOutcome::NotFound: return {1, {}, "tarnwickc: no startup entry " + named + "\n"};
    case ToggleOutcome::Gone:
      return {1, {}, "tarnwickc: " + named + " is no longer in the catalogue after " + verb + "\n"};
    case ToggleOutcome::Refused:
      return {1, {}, "tarnwickc: " + named + " is still " + (enable ? "disabled" : "enabled") +
                         ": the system did not accept the change\n"};
  }
  return {1, {}, "tarnwickc: " + named + ": unknown outcome\n"};
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
