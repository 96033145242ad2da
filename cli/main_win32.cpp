// tarnwickc.exe: the console companion over the real platform.

#include <vector>

#include "cli/tarnwickc.h"
#include "platform/win32/console.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tarnwick;
  std::vector<Text> args;
  for (int i = 1; i < argc; ++i) args.push_back(win32::FromWide(argv[i]));

  win32::Win32Platform platform;
  const CliResult result = RunTarnwickc(args, AppContext::Start(platform.ports()));

  // A lost write on stdout is worth an exit code of its own: the caller got nothing.
  const bool outOk = result.out.empty() || win32::WriteStd(win32::StdStream::Out, result.out);
  if (!result.err.empty()) (void)win32::WriteStd(win32::StdStream::Err, result.err);
  return outOk ? result.exitCode : 1;
}
