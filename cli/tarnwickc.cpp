#include "cli/tarnwickc.h"

#include <algorithm>

#include "cli/baseline.h"
#include "cli/entry_output.h"
#include "core/catalogue/toggles.h"
#include "core/details/entry_details.h"
#include "core/error.h"
#include "core/files/file_info.h"
#include "core/startup/entry_lookup.h"
#include "core/startup/startup_list.h"

namespace tarnwick {
namespace {

constexpr char kUsage[] =
    "usage: tarnwickc list [--json | --csv] [--verify] [--visible]\n"
    "       tarnwickc enable FROM TARGET | enable CAPTION\n"
    "       tarnwickc disable FROM TARGET | disable CAPTION\n"
    "       tarnwickc save FILE\n"
    "       tarnwickc export FILE | diff FILE | apply FILE\n"
    "       tarnwickc --help | --version\n"
    "  list            print every startup entry in catalogue order\n"
    "  list --json     the same as a JSON array (UTF-8) with each entry's details: the file\n"
    "                  that starts, its publisher, start type, startup impact, ...\n"
    "  list --csv      the same as CSV (RFC 4180, UTF-8 with byte-order mark)\n"
    "  list --verify   with --json or --csv: also verify each file's signature (slow)\n"
    "  list --visible  only the rows the startup list shows (built-in filter lists)\n"
    "  save FILE       write the catalogue as the window saves it (UTF-8, From|Caption|Target)\n"
    "  export FILE     write the catalogue with states and details as a baseline (JSON)\n"
    "  diff FILE       print what was added, removed or switched since the baseline;\n"
    "                  exit 1 when anything differs\n"
    "  apply FILE      switch every entry the baseline knows to its state there, one line per\n"
    "                  entry; nothing else is touched; exit 1 when a switch failed\n"
    "  enable/disable  switch the entry on or off: FROM and TARGET as list prints them, or\n"
    "                  TARGET replaced by the entry's caption, or the caption alone where no\n"
    "                  other entry has it\n"
    "exit codes: 0 done, 1 failed, not found or differences, 2 bad usage or a file that is no\n"
    "baseline\n";

CliResult Usage(std::string problem) {
  return {2, {}, "tarnwickc: " + problem + "\n" + kUsage};
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
std::vector<const TAutorunInfo*> VisibleEntries(const StartupList& list) {
  std::vector<const TAutorunInfo*> entries;
  for (const TAutorunItem& row : list.Rows()) entries.push_back(&list.EntryOf(row));
  return entries;
}

CliResult List(std::span<const Text> options, const AppContext& app) {
  bool json = false, csv = false, visible = false, verify = false;
  for (const Text& option : options) {
    if (option == u"--json") {
      json = true;
    } else if (option == u"--csv") {
      csv = true;
    } else if (option == u"--visible") {
      visible = true;
    } else if (option == u"--verify") {
      verify = true;
    } else {
      return Usage("unknown option for list: " + ToUtf8(option));
    }
  }
  if (json && csv) return Usage("--json and --csv exclude each other");
  if (verify && !json && !csv) return Usage("--verify needs --json or --csv");
  const bool details = json || csv;

  CountingImages images;
  StartupList list(app, images);
  list.buildRows = visible;
  std::vector<ListedEntry> listed;
  try {
    // The name lists decide the details' marks too.
    if (visible || details) list.LoadBuiltInLists();
    list.Load();
    std::vector<const TAutorunInfo*> entries;
    if (visible) {
      entries = VisibleEntries(list);
    } else {
      for (const TAutorunInfo& entry : list.Catalogue()) entries.push_back(&entry);
    }
    DetailsReader reader(app, list.NameWhite(), list.NameBlack());
    SignatureCache signatures(app.ports.signatures, app.ports.fileSystem);
    for (const TAutorunInfo* entry : entries) {
      ListedEntry item{*entry, std::nullopt, verify, std::nullopt};
      if (const CameBack* back = list.CameBackOf(EntryId::Of(*entry))) item.cameBack = *back;
      if (visible) {
        const TAutorunItem* row = list.Model().FindNode(EntryId::Of(*entry));
        item.entry.Caption = row->DisplayName;
        item.entry.Enabled = row->Enabled;
      }
      if (details) {
        item.details = reader.Describe(*entry);
        if (verify) reader.Verify(*item.details, signatures);
      }
      listed.push_back(std::move(item));
    }
  } catch (const TarnwickError& error) {
    return CatalogueError(error);
  }
  if (json) return {0, EntriesAsJson(listed), {}};
  if (csv) return {0, EntriesAsCsv(listed, verify), {}};
  return {0, EntriesAsText(listed), {}};
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

constexpr size_t kMaxBaselineBytes = 64 * 1024 * 1024;

CliResult Export(std::span<const Text> args, const AppContext& app) {
  if (args.size() != 1) return Usage("export needs one FILE");
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = false;
  std::vector<ListedEntry> listed;
  try {
    list.LoadBuiltInLists();
    list.Load();
    DetailsReader reader(app, list.NameWhite(), list.NameBlack());
    for (const TAutorunInfo& entry : list.Catalogue()) listed.push_back({entry, reader.Describe(entry), false, {}});
  } catch (const TarnwickError& error) {
    return CatalogueError(error);
  }
  Text message;
  const std::string json = BaselineJson(listed, ChoiceTimeText(app.ports.clock.UtcNowFileTime()));
  if (!app.ports.fileSystem.WriteWholeFile(args[0], json, message)) {
    return {1, {}, "tarnwickc: " + ToUtf8(args[0]) + " could not be written: " + ToUtf8(message) + "\n"};
  }
  return {0, std::to_string(listed.size()) + " entries written to " + ToUtf8(args[0]) + "\n", {}};
}

// The baseline in FILE, or the result that refuses it (exit 2: nothing is changed).
std::optional<std::vector<BaselineEntry>> ReadBaseline(const Text& path, const AppContext& app, CliResult& refused) {
  std::string bytes;
  Text message;
  if (!app.ports.fileSystem.ReadWholeFile(path, kMaxBaselineBytes, bytes, message)) {
    refused = {2, {}, "tarnwickc: " + ToUtf8(path) + " cannot be read: " + ToUtf8(message) + "\n"};
    return std::nullopt;
  }
  std::string problem;
  auto baseline = ParseBaseline(bytes, problem);
  if (!baseline) refused = {2, {}, "tarnwickc: " + ToUtf8(path) + " is refused: " + problem + "; nothing was changed\n"};
  return baseline;
}

CliResult Diff(std::span<const Text> args, const AppContext& app) {
  if (args.size() != 1) return Usage("diff needs one FILE");
  CliResult refused;
  const auto baseline = ReadBaseline(args[0], app, refused);
  if (!baseline) return refused;
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = false;
  try {
    list.Load();
  } catch (const TarnwickError& error) {
    return CatalogueError(error);
  }
  std::string out;
  const std::vector<BaselineChange> changes = DiffBaseline(*baseline, list.Catalogue());
  for (const BaselineChange& change : changes) out += ChangeLine(change);
  if (changes.empty()) return {0, "no differences from " + ToUtf8(args[0]) + "\n", {}};
  return {1, out, {}};
}

CliResult Apply(std::span<const Text> args, const AppContext& app) {
  if (args.size() != 1) return Usage("apply needs one FILE");
  CliResult refused;
  const auto baseline = ReadBaseline(args[0], app, refused);
  if (!baseline) return refused;
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = false;
  std::string out;
  bool failed = false;
  try {
    list.Load();
    for (const BaselineEntry& wanted : *baseline) {
      const TAutorunInfo* entry = list.Find(wanted.id);
      if (!entry) continue;  // gone since: nothing to switch
      const std::string named = ToUtf8(OneLine(entry->From)) + " " + ToUtf8(OneLine(entry->Target));
      const EntryId id = EntryId::Of(*entry);
      if (entry->Enabled == wanted.enabled) {
        out += named + ": unchanged\n";
        continue;
      }
      if (const SwitchBlock block = SwitchBlockOf(id, app); block != SwitchBlock::None) {
        out += named + ": not switched: " + SwitchBlockText(block) + "\n";
        failed = true;
        continue;
      }
      const ToggleOutcome outcome = list.Toggle(id, wanted.enabled);
      const bool done = outcome == ToggleOutcome::Switched || outcome == ToggleOutcome::ManualStartRestored ||
                        outcome == ToggleOutcome::Removed;
      out += named + (done ? (wanted.enabled ? ": enabled\n" : ": disabled\n") : ": failed\n");
      failed = failed || !done;
    }
  } catch (const TarnwickError& error) {
    return {1, out, "tarnwickc: apply stopped: " + ToUtf8(error.Message()) + "\n"};
  }
  return {failed ? 1 : 0, out, {}};
}

std::string Named(const TAutorunInfo& entry) { return ToUtf8(OneLine(entry.From)) + " " + ToUtf8(OneLine(entry.Target)); }

std::string ListOf(const std::vector<const TAutorunInfo*>& entries) {
  std::string out;
  for (const TAutorunInfo* entry : entries) out += "  " + Named(*entry) + "  (" + ToUtf8(OneLine(entry->Caption)) + ")\n";
  return out;
}

CliResult Toggle(bool enable, std::span<const Text> args, const AppContext& app) {
  const char* verb = enable ? "enable" : "disable";
  if (args.empty() || args.size() > 2) return Usage(std::string(verb) + " needs FROM and TARGET, or a CAPTION");
  const TextView from = args.size() == 2 ? TextView(args[0]) : TextView();
  const TextView name = args.back();
  std::string named = args.size() == 2 ? ToUtf8(OneLine(from)) + " " + ToUtf8(OneLine(name)) : ToUtf8(OneLine(name));
  CountingImages images;
  StartupList list(app, images);
  list.buildRows = false;
  ToggleOutcome outcome = ToggleOutcome::NotFound;
  try {
    list.Load();
    const EntryLookup lookup = LookUpEntry(list.Catalogue(), from, name);
    if (!lookup.matches.empty()) {
      return {1, {}, "tarnwickc: " + named + " names " + std::to_string(lookup.matches.size()) +
                         " entries; give FROM and TARGET:\n" + ListOf(lookup.matches)};
    }
    if (!lookup.found) {
      std::string message = "tarnwickc: no startup entry " + named + "\n";
      if (!lookup.close.empty()) message += "entries that come close:\n" + ListOf(lookup.close);
      return {1, {}, message};
    }
    const EntryId id = EntryId::Of(*lookup.found);
    named = Named(*lookup.found);  // as the system spells it
    if (const SwitchBlock block = SwitchBlockOf(id, app); block != SwitchBlock::None) {
      return {1, {}, "tarnwickc: " + named + " cannot be switched: " + SwitchBlockText(block) + "\n"};
    }
    outcome = list.Toggle(id, enable);
  } catch (const TarnwickError& error) {
    return {1, {}, "tarnwickc: " + std::string(verb) + " " + named + " failed: " + ToUtf8(error.Message()) + "\n"};
  }
  const std::string unrecorded =
      list.ChoiceRecorded() ? "" : "tarnwickc: warning: the choice could not be remembered in the registry\n";
  switch (outcome) {
    case ToggleOutcome::Switched: return {0, named + (enable ? " enabled\n" : " disabled\n"), unrecorded};
    case ToggleOutcome::ManualStartRestored: return {0, named + " enabled (its manual start restored)\n", {}};
    case ToggleOutcome::Removed: return {0, named + " removed\n", {}};
    case ToggleOutcome::NotFound: return {1, {}, "tarnwickc: no startup entry " + named + "\n"};
    case ToggleOutcome::Gone:
      return {1, {}, "tarnwickc: " + named + " is no longer in the catalogue after " + verb + "\n"};
    case ToggleOutcome::Blocked: return {1, {}, "tarnwickc: " + named + " cannot be switched\n"};
    case ToggleOutcome::Refused:
      return {1, {}, "tarnwickc: " + named + " is still " + (enable ? "disabled" : "enabled") +
                         ": the system did not accept the change\n"};
  }
  return {1, {}, "tarnwickc: " + named + ": unknown outcome\n"};
}

bool AsksForHelp(const Text& arg) { return arg == u"--help" || arg == u"-h" || arg == u"/?"; }

}  // namespace

CliResult RunTarnwickc(std::span<const Text> args, const AppContext& app) {
  if (args.empty()) return Usage("no command given");
  if (std::any_of(args.begin(), args.end(), AsksForHelp)) return {0, kUsage, {}};
  if (args[0] == u"--version") {
    return {0, "tarnwickc " + ToUtf8(FileVersionText(app.ports.versions, app.ports.systemInfo.ProgramPath())) + "\n", {}};
  }
  if (args[0] == u"list") return List(args.subspan(1), app);
  if (args[0] == u"enable") return Toggle(true, args.subspan(1), app);
  if (args[0] == u"disable") return Toggle(false, args.subspan(1), app);
  if (args[0] == u"save") return Save(args.subspan(1), app);
  if (args[0] == u"export") return Export(args.subspan(1), app);
  if (args[0] == u"diff") return Diff(args.subspan(1), app);
  if (args[0] == u"apply") return Apply(args.subspan(1), app);
  return Usage("unknown command: " + ToUtf8(args[0]));
}

}  // namespace tarnwick
