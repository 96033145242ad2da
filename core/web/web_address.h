#pragma once
// The one check every address passes before it reaches the shell. The program runs with
// administrator rights, and addresses come from the network (the update answer) or carry
// names anyone may write (an HKCU Run value): only a plain web address may be opened.

#include "core/text/text.h"
#include "ports/network.h"

namespace tarnwick {

// http:// or https:// (ASCII case ignored) followed by something, with no control character
// (below 0x20, DEL) and no '"' anywhere.
bool IsWebAddress(TextView address);

// Opens `address` with the shell only when it is a web address; false when refused.
bool OpenWebAddress(Shell& shell, TextView address);

// Percent-encodes what must not reach the shell raw inside an address part: control
// characters and " < > ` { } | ^ %. Everything else, spaces included, stays.
Text EncodeAddressPart(TextView part);

}  // namespace tarnwick
