#include "core/catalogue/location_codes.h"
#include "core/catalogue/run_keys.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/startup_approved.h"
#include "core/paths/path.h"
#include "core/registry/registry.h"

namespace tarnwick {

void ReadRunKey(RootKey root, TextView key, TAutorunList& list, const AppContext& app) {
  const TReg reg(app.ports.registry);
  std::vector<NamedRegistryValue> values;
  (void)reg.ReadValues(root, key, values);  // values read before a failure still count
  if (values.empty()) return;

  const Text rootName = RootKeyName(root, true);
  // Read without the leading "\"; the helper treats both forms alike.
  const TextView approvedKey =
      (ContainsTextAscii(key, u"Wow6432Node") ? startup_approved::kRun32Key : startup_approved::kRunKey).substr(1);

  const StartupApprovedKey approved(reg, root, approvedKey);
  for (NamedRegistryValue& value : values) {
    const Text& name = value.name;
    TAutorunInfo entry;
    entry.RawData = TReg::StringOf(value.value, u"");
    entry.FileName = CommandLineToPath(app.folderVars, entry.RawData);
    entry.Caption = name;
    entry.Target = rootName + Text(key) + u"\\" + name;
    entry.From = rootName;
    entry.Enabled = approved.IsApproved(name);
    list.push_back(std::move(entry));
  }
}

void ReadRunKeys(TAutorunList& list, const AppContext& app) {
  for (const RunKey& key : kRunKeys) ReadRunKey(key.root, key.path, list, app);
}

}  // namespace tarnwick
