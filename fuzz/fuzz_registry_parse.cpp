// Registry location texts taken apart, and deleted from a small simulated registry: a
// location must never remove more than it names.

#include "core/registry/registry.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace tarnwick;

namespace {
constexpr TextView kRun = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// True when `path` is the Run key or one of the keys above it.
bool NamesRunOrAbove(TextView path) {
  if (path.size() > kRun.size()) return false;
  if (path.size() < kRun.size() && kRun[path.size()] != u'\\') return false;
  return SameTextAscii(path, kRun.substr(0, path.size()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text location = fuzz::ToText(fuzz::AsBytes(data, size));
  RootKey root = 0;
  Text key, name;
  const bool parsed = TReg::Parse(location, root, key, name);
  if (parsed && key.size() + name.size() > location.size()) __builtin_trap();

  sim::SimWindows windows;
  TReg reg(windows.registry);
  reg.WriteString(root::kCurrentUser, kRun, u"Keep", u"keep.exe");
  reg.WriteString(root::kCurrentUser, kRun, u"", u"default.exe");
  reg.Delete(location);

  // The helper reads "HKCU\\Software" as "HKCU\Software": a leading "\" of the key is dropped.
  TextView keyPath = key;
  if (!keyPath.empty() && keyPath.front() == u'\\') keyPath.remove_prefix(1);
  const bool namesRun = parsed && root == root::kCurrentUser && NamesRunOrAbove(Text(keyPath) + u"\\" + name);
  if (!namesRun && !reg.IsKey(root::kCurrentUser, kRun)) __builtin_trap();
  const bool namesKeep = parsed && root == root::kCurrentUser && SameTextAscii(keyPath, kRun) &&
                         SameTextAscii(name, u"Keep");
  if (!namesRun && !namesKeep && reg.ReadString(root::kCurrentUser, kRun, u"Keep", u"") != u"keep.exe") {
    __builtin_trap();
  }
  return 0;
}
