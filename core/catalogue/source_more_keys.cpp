// RunOnce, the policy Run keys and a replaced Winlogon shell: programs Windows starts from
// the registry beyond the Run keys. Windows offers no switch that can be undone for them.

#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"
#include "core/paths/path.h"
#include "core/registry/registry.h"

namespace tarnwick {
namespace {

struct ListedKey {
  RootKey root;
  TextView path;  // begins with "\"
  TextView code;
};
constexpr ListedKey kListedKeys[] = {
    {root::kLocalMachine, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", location::kRunOnce},
    {root::kLocalMachine, u"\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce", location::kRunOnce},
    {root::kCurrentUser, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", location::kRunOnce},
    {root::kLocalMachine, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", location::kPolicyRun},
    {root::kCurrentUser, u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", location::kPolicyRun},
};

constexpr TextView kWinlogonKey = u"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

Text Folded(TextView text) {
  Text folded = LowerAscii(Trim(text));
  while (!folded.empty() && (folded.back() == u',' || folded.back() == u' ')) folded.pop_back();
  return folded;
}

// Shell "explorer.exe"; Userinit "<Windows>\system32\userinit.exe," (the comma optional).
bool IsWindowsDefault(TextView name, TextView value, const AppContext& app) {
  if (SameTextAscii(name, u"Shell")) return Folded(value) == u"explorer.exe";
  return Folded(value) == LowerAscii(app.folderVars.Path(u"%SystemRoot%") + u"\\system32\\userinit.exe");
}

void Append(TAutorunList& list, const AppContext& app, RootKey root, TextView key, const Text& name,
            const Text& data, TextView code) {
  TAutorunInfo entry;
  entry.RawData = data;
  entry.FileName = CommandLineToPath(app.folderVars, data);
  entry.Caption = name;
  entry.Target = RootKeyName(root, true) + Text(key) + u"\\" + name;
  entry.From = Text(code);
  entry.Enabled = true;  // nothing switches them off: they run
  list.push_back(std::move(entry));
}

}  // namespace

void ReadMoreRegistryKeys(TAutorunList& list, const AppContext& app) {
  const TReg reg(app.ports.registry);
  for (const ListedKey& key : kListedKeys) {
    std::vector<NamedRegistryValue> values;
    (void)reg.ReadValues(key.root, key.path, values);  // values read before a failure still count
    for (const NamedRegistryValue& value : values) {
      Append(list, app, key.root, key.path, value.name, TReg::StringOf(value.value, u""), key.code);
    }
  }
  for (TextView name : {TextView(u"Shell"), TextView(u"Userinit")}) {
    const Text value = reg.ReadString(root::kLocalMachine, kWinlogonKey, name, u"");
    // An absent value means the default; only a replaced one starts something else.
    if (Trim(value).empty() || IsWindowsDefault(name, value, app)) continue;
    Append(list, app, root::kLocalMachine, kWinlogonKey, Text(name), value, location::kWinlogon);
  }
}

}  // namespace tarnwick
