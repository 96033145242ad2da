#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/startup_approved.h"
#include "core/error.h"
#include "core/paths/path.h"
#include "core/registry/registry.h"

namespace tarnwick {
namespace {

// Every kind Windows runs from a startup folder at logon, scripts included, so that a planted
// script cannot hide. desktop.ini, files without an extension and .ps1 (which Windows opens
// in an editor) stay out.
constexpr TextView kKeptExtensions[] = {u".url", u".lnk", u".exe", u".bat", u".cmd", u".com",
                                        u".vbs", u".vbe", u".js",  u".jse", u".wsf", u".hta",
                                        u".scr", u".pif", u".msi"};

// From the last "." to the end, the dot included; empty when there is no dot.
TextView Extension(TextView fileName) {
  const size_t dot = fileName.rfind(u'.');
  return dot == TextView::npos ? TextView() : fileName.substr(dot);
}

bool IsKept(TextView fileName) {
  const TextView extension = Extension(fileName);
  for (TextView kept : kKeptExtensions) {
    if (SameTextAscii(extension, kept)) return true;
  }
  return false;
}

}  // namespace

void ReadStartupFolder(TextView folder, TAutorunList& list, const AppContext& app) {
  if (folder.empty()) return;
  const RootKey root = folder == GetFolderPath(app.ports.shellFolders, csidl::kCommonStartup)
                           ? root::kLocalMachine
                           : root::kCurrentUser;

  std::vector<Text> names;
  const ListResult listed = app.ports.fileSystem.ListFiles(folder, names);
  // A startup folder that does not exist (a user may delete theirs) simply has no entries;
  // only one that exists and cannot be listed is an error.
  if (listed.status == ListStatus::NotFound) return;
  if (listed.status == ListStatus::Failed) {
    throw TarnwickError(u"The startup folder \"" + Text(folder) + u"\" cannot be listed: " +
                        listed.message);
  }

  const TReg reg(app.ports.registry);
  const StartupApprovedKey approved(reg, root, startup_approved::kStartupFolderKey);
  for (const Text& name : names) {
    if (!IsKept(name)) continue;
    TAutorunInfo entry;
    entry.FileName = Text(folder) + u"\\" + name;
    entry.Caption = name.substr(0, name.size() - Extension(name).size());
    entry.Target = entry.FileName;
    entry.From = Text(location::kFile);
    entry.Enabled = approved.IsApproved(name);
    list.push_back(std::move(entry));
  }
}

void ReadStartupFolders(TAutorunList& list, const AppContext& app) {
  ReadStartupFolder(GetFolderPath(app.ports.shellFolders, csidl::kCommonStartup), list, app);
  ReadStartupFolder(GetFolderPath(app.ports.shellFolders, csidl::kStartup), list, app);
}

}  // namespace tarnwick
