// A boot measurement file as Windows writes it (UTF-16 with a byte-order mark, or anything
// else), read and asked for one image's impact: the input is the file's bytes.

#include "core/details/startup_impact.h"
#include "fuzz/fuzz_input.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BootMeasurements boot;
  Text error;
  if (boot.Parse(fuzz::AsBytes(data, size), error)) {
    (void)boot.ImpactOf(u"C:\\Tools\\tool.exe");
  }
  return 0;
}
