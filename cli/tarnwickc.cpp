#include "cli/tarnwickc.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "core/catalogue/catalogue.h"
#include "core/error.h"

namespace tarnwick {
namespace {

constexpr char kUsage[] =
    "usage: tarnwickc list [--json]\n"
    "  list          print every startup entry in catalogue order\n"
    "  list --json   the same as a JSON array (UTF-8)\n";

CliResult Usage(std::string problem) {
  return {2, {}, "tarnwickc: " + problem + "\n" + kUsage};
}

std::string ListAsText(const TAutorunList& list) {
  std::string out;
  for (const TAutorunInfo& entry : list) {
    std::string from = ToUtf8(entry.From);
    from.resize(std::max<size_t>(from.size(), 4), ' ');
    out += from + (entry.Enabled ? "  on   " : "  off  ") + ToUtf8(entry.Caption) + "  [" +
           ToUtf8(entry.Target) + "]";
    if (!entry.FileName.empty()) out += "  " + ToUtf8(entry.FileName);
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

CliResult List(std::span<const Text> options, const AppContext& app) {
  bool json = false;
  for (const Text& option : options) {
    if (option == u"--json") {
      json = true;
    } else {
      return Usage("unknown option for list: " + ToUtf8(option));
    }
  }
  TAutorunList list;
  try {
    RefreshAutorun(list, app);
  } catch (const TarnwickError& error) {
    return {1, {}, "tarnwickc: the catalogue could not be read: " + ToUtf8(error.Message()) + "\n"};
  }
  return {0, json ? ListAsJson(list) : ListAsText(list), {}};
}

}  // namespace

CliResult RunTarnwickc(std::span<const Text> args, const AppContext& app) {
  if (args.empty()) return Usage("no command given");
  if (args[0] == u"list") return List(args.subspan(1), app);
  return Usage("unknown command: " + ToUtf8(args[0]));
}

}  // namespace tarnwick
