#pragma once
// The text search the update answer is read with: markers found without regard to ASCII
// case, values taken from the text itself, JSON backslash escapes resolved.

#include "core/text/text.h"

namespace tarnwick {

// The text between the first `start` marker and the next `end` marker after it; empty when
// either is missing. An empty start means the beginning, an empty end the end of the text.
// When `end` is a quote or an apostrophe, an escaped one does not end the value.
Text ExtractBetween(TextView text, TextView start, TextView end);

// Resolves \" \' \/ \\ \b \f \n \r \t and \uXXXX (one UTF-16 unit each); any other escaped
// character is dropped with its backslash, as is a backslash at the very end.
Text UnescapeJSON(TextView text);

}  // namespace tarnwick
