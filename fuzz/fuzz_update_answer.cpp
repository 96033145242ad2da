// The update answer as the main program reads it: the field search, JSON unescaping and the
// web-address test, and ExtractBetween with markers of the fuzzer's choice.

#include "core/update/answer_text.h"
#include "core/update/update.h"
#include "fuzz/fuzz_input.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::AsBytes(data, size);
  const Text answer = fuzz::ToText(bytes);

  for (TextView marker : {u"\"update\":\"", u"\"notify\":\""}) {
    const Text item = UnescapeJSON(ExtractBetween(answer, marker, u"\""));
    (void)IsWebAddress(item);
  }
  const UpdateInfo info = ParseUpdateInfo(answer);
  (void)IsWebAddress(info.url);

  const auto fields = fuzz::Fields(bytes, 3);
  const Text text = fuzz::ToText(fields[0]);
  const Text start = fuzz::ToText(fields[1]);
  const Text end = fuzz::ToText(fields[2]);
  const Text between = ExtractBetween(text, start, end);
  // What lies between two markers is part of the text, never more.
  if (between.size() > text.size()) __builtin_trap();
  (void)UnescapeJSON(between);
  return 0;
}
