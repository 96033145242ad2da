#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/store_apps.h"
#include "core/paths/path.h"
#include "core/registry/registry.h"
#include "core/xml/xml_reader.h"

namespace tarnwick {
namespace {

constexpr size_t kMaxManifestBytes = 4 * 1024 * 1024;

// Manifests qualify their elements ("uap5:Extension", "desktop:StartupTask"): the part after
// the prefix is what counts.
TextView LocalName(TextView name) {
  const size_t colon = name.rfind(u':');
  return colon == TextView::npos ? name : name.substr(colon + 1);
}

bool FindIn(const XmlElement& element, TextView taskId, ManifestTask& task) {
  if (LocalName(element.name) == u"Extension") {
    const Text* category = element.Attribute(u"Category");
    if (category && *category == u"windows.startupTask") {
      for (const XmlElement& child : element.children) {
        const Text* id = child.Attribute(u"TaskId");
        if (LocalName(child.name) != u"StartupTask" || !id || *id != taskId) continue;
        const Text* name = child.Attribute(u"DisplayName");
        const Text* executable = element.Attribute(u"Executable");
        task = {name ? *name : Text(), executable ? *executable : Text()};
        return true;
      }
    }
  }
  for (const XmlElement& child : element.children) {
    if (FindIn(child, taskId, task)) return true;
  }
  return false;
}

// The installed package of a family ("Name_PublisherId"): "Name_Version_Arch_Resource_PublisherId".
Text PackageFolder(const TReg& reg, TextView family) {
  const size_t underscore = family.rfind(u'_');
  if (underscore == TextView::npos) return {};
  const Text prefix = Text(family.substr(0, underscore)) + u"_";
  const Text suffix = u"_" + Text(family.substr(underscore + 1));
  std::vector<Text> packages;
  reg.ReadKeyNames(root::kCurrentUser, store_app::kPackages, packages);
  for (const Text& package : packages) {
    if (package.size() <= prefix.size() + suffix.size() || !SameTextAscii(package.substr(0, prefix.size()), prefix) ||
        !SameTextAscii(package.substr(package.size() - suffix.size()), suffix)) {
      continue;
    }
    const Text folder =
        reg.ReadString(root::kCurrentUser, Text(store_app::kPackages) + u"\\" + package, u"PackageRootFolder", u"");
    if (!folder.empty()) return folder;
  }
  return {};
}

}  // namespace

bool FindStartupTask(TextView manifest, TextView taskId, ManifestTask& task) {
  XmlElement root;
  Text error;
  return ParseXml(manifest, root, error) && FindIn(root, taskId, task);
}

bool StoreTaskState(const AppContext& app, TextView target, int32_t& state) {
  const TReg reg(app.ports.registry);
  return reg.QueryDword(root::kCurrentUser, Text(store_app::kSystemAppData) + u"\\" + Text(target), u"State", state);
}

void ReadStoreAppTasks(TAutorunList& list, const AppContext& app) {
  const TReg reg(app.ports.registry);
  std::vector<Text> families;
  reg.ReadKeyNames(root::kCurrentUser, store_app::kSystemAppData, families);
  for (const Text& family : families) {
    std::vector<Text> tasks;
    reg.ReadKeyNames(root::kCurrentUser, Text(store_app::kSystemAppData) + u"\\" + family, tasks);
    Text folder;
    bool folderRead = false;
    for (const Text& taskId : tasks) {
      const Text target = family + u"\\" + taskId;
      int32_t state = 0;
      if (!StoreTaskState(app, target, state)) continue;  // app data other than a startup task
      if (!folderRead) {
        folder = PackageFolder(reg, family);
        folderRead = true;
      }
      ManifestTask task;
      std::string bytes;
      Text message;
      if (!folder.empty() &&
          app.ports.fileSystem.ReadWholeFile(folder + u"\\AppxManifest.xml", kMaxManifestBytes, bytes, message)) {
        (void)FindStartupTask(DecodeTextFile(bytes), taskId, task);
      }
      TAutorunInfo entry;
      entry.Caption = task.displayName.empty() || task.displayName.starts_with(u"ms-resource:") ? family
                                                                                                : task.displayName;
      if (!task.executable.empty()) entry.FileName = folder + u"\\" + task.executable;
      entry.RawData = entry.FileName;
      entry.Target = target;
      entry.From = Text(location::kStoreApp);
      entry.Enabled = state == store_app::kEnabled || state == store_app::kEnabledByPolicy;
      list.push_back(std::move(entry));
    }
  }
}

}  // namespace tarnwick
