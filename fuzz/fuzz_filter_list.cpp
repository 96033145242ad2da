// A filter list read from the program's resource and matched against a subject under both
// rules: the input is the resource's bytes, a NUL, the subject.

#include "core/filters/filter_list.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto fields = fuzz::Fields(fuzz::AsBytes(data, size), 2);
  sim::SimWindows windows;
  windows.resources.Set(u"FILE_WHITE", Bytes(fields[0].begin(), fields[0].end()));
  const FolderVars vars = FolderVars::Build(windows.shellFolders, windows.systemInfo);

  FilterList list(windows.locale);
  LoadListResource(list, windows.resources, u"FILE_WHITE");
  const Text subject = fuzz::ToText(fields[1]);
  (void)MatchList(list, subject, /*fileRule=*/true, vars);
  (void)MatchList(list, subject, /*fileRule=*/false, vars);
  return 0;
}
