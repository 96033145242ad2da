// The translation table read from the program's resource, and texts looked up in it: the
// input is the resource's bytes, a NUL, the text, a NUL, the language.

#include "core/i18n/translate.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto fields = fuzz::Fields(fuzz::AsBytes(data, size), 3);
  sim::SimWindows windows;
  windows.resources.Set(u"translate", Bytes(fields[0].begin(), fields[0].end()));
  const Translator translator = Translator::Start(windows.resources, windows.locale);

  const Text text = fuzz::ToText(fields[1]);
  (void)translator.Translate(text);
  (void)translator.Translate(text, fuzz::ToText(fields[2]));
  (void)translator.Translate(text, u"en");
  return 0;
}
