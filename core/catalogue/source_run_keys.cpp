#include "core/catalogue/sources.h"

namespace tarnwick {

// The Run keys join the catalogue with the registry port.
void ReadRunKeys(TAutorunList&, const Ports&) {}

}  // namespace tarnwick
