// Command lines from Run values, shortcuts, tasks and services resolved to the file they
// start, with the folder forms of a simulated 64-bit Windows.

#include "core/paths/path.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace tarnwick;

namespace {
const FolderVars& Vars() {
  static sim::SimWindows windows;
  static const FolderVars vars = FolderVars::Build(windows.shellFolders, windows.systemInfo);
  return vars;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text line = fuzz::ToText(fuzz::AsBytes(data, size));
  const SplitLine split = SplitCommandLine(line);
  if (split.program.size() + split.arguments.size() > line.size()) __builtin_trap();
  const Text path = CommandLineToPath(Vars(), line);
  (void)FileNamePart(path);
  (void)Trim(line);
  (void)RemoveX86Suffix(line);
  return 0;
}
