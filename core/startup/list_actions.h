#pragma once
// What the startup list's actions produce: the saved list, the lookup address and the
// enable/disable button's look.

#include <string>

#include "core/catalogue/autorun_info.h"
#include "core/catalogue/toggles.h"
#include "core/text/text.h"

namespace tarnwick {

// UTF-8 with a byte-order mark; "From|Caption|Target" and CR LF for every catalogue entry,
// control characters escaped (OneLine) so that every entry stays one line.
std::string BuildSavedList(const TAutorunList& list);

// `prefix` followed by From + "/" + the file-name part of Target, ASCII letters lowered; in
// that entry part what must not reach the shell raw is percent-encoded (EncodeAddressPart).
Text LookupAddress(TextView prefix, TextView from, TextView target);

// The button names what a click will do: "Disable" (normal) for an enabled entry,
// "Enable" (pressed) for a disabled one. Captions are the Korean keys.
struct ToggleButtonLook {
  TextView captionKey;
  bool pressed;
};
ToggleButtonLook ButtonLookFor(bool entryEnabled);

inline constexpr TextView kDisableKey = u"사용안함";
inline constexpr TextView kEnableKey = u"사용함";

// Why the button is disabled, as a Korean key of the translation table; empty for None.
TextView SwitchBlockKey(SwitchBlock block);

}  // namespace tarnwick
