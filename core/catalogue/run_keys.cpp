#include "core/catalogue/run_keys.h"

#include "core/registry/registry.h"

namespace tarnwick {

bool SplitRegistryTarget(TextView target, RootKey& root, Text& key, Text& name) {
  for (const RunKey& run : kRunKeys) {
    const Text location = RootKeyName(run.root, true) + Text(run.path) + u"\\";
    if (target.size() < location.size() || !SameTextAscii(target.substr(0, location.size()), location)) continue;
    root = run.root;
    key = Text(run.path.substr(1));
    name = Text(target.substr(location.size()));
    return true;
  }
  return TReg::Parse(target, root, key, name);
}

}  // namespace tarnwick
