// A server answer merged into a filter list: arbitrary bytes must add string rows or
// nothing, and never remove a row.

#include "core/filters/filter_list.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::SimWindows windows;
  const FolderVars vars = FolderVars::Build(windows.shellFolders, windows.systemInfo);
  FilterList list(windows.locale);
  list.Assign({u"notepad.exe*", u"\\System32\\"});

  MergeServerList(list, fuzz::AsBytes(data, size), "FILE_WHITE");
  if (list.Rows().size() < 2 || !list.Contains(u"notepad.exe*")) __builtin_trap();
  (void)MatchList(list, u"C:\\Windows\\System32\\notepad.exe", /*fileRule=*/true, vars);
  (void)MatchList(list, u"Contoso Updater", /*fileRule=*/false, vars);
  return 0;
}
