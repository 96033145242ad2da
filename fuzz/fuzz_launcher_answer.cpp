// The launcher's reading of an answer (one character per byte, as it decodes ASCII) and of
// its own command line.

#include "fuzz/fuzz_input.h"
#include "launcher/launcher_text.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text answer;
  answer.reserve(size);
  for (size_t i = 0; i < size; ++i) answer.push_back(data[i]);

  const Text raw = launcher::RawUpdateLink(answer);
  const Text link = launcher::UnescapeJsonText(raw);
  // Every escape shortens or keeps the text; none makes it longer.
  if (link.size() > raw.size()) __builtin_trap();

  const Text commandLine = fuzz::ToText(fuzz::AsBytes(data, size));
  const auto items = launcher::SplitArguments(commandLine);
  (void)launcher::Argument(commandLine, 1);
  (void)items;
  return 0;
}
