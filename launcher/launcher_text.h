#pragma once
// The launcher's text rules: its command-line split, its update-link search and its JSON
// string decoding.

#include <vector>

#include "core/text/text.h"

namespace tarnwick::launcher {

// Items separated by runs of characters up to 0x20; quotes group, and an item that both
// begins and ends with a quote loses those two. Item 0 is the program itself.
std::vector<Text> SplitArguments(TextView commandLine);
// The item at `index`, or empty text.
Text Argument(TextView commandLine, size_t index);

// The value after the case-sensitive key "update":" up to the next quote, escaped or not.
Text RawUpdateLink(TextView answer);

// Backslash escapes of a JSON string; \u0000, a \u without hex digits and unknown escapes
// give nothing.
Text UnescapeJsonText(TextView raw);

}  // namespace tarnwick::launcher
