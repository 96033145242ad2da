#pragma once
// The launcher's own message catalogue: English keys, translations by exact locale id.

#include <cstdint>

#include "core/text/text.h"

namespace tarnwick::launcher {

// The translation of `text` for the locale id, or `text` itself.
Text Localize(TextView text, uint32_t launcherLanguage);

}  // namespace tarnwick::launcher
