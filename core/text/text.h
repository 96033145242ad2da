#pragma once
// Text is held as UTF-16 everywhere in the portable modules: the system's rules count
// UTF-16 code units, and wchar_t is 32-bit on Linux, so std::wstring cannot be shared.

#include <string>
#include <string_view>

namespace tarnwick {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid input never throws: bad sequences and lone surrogates
// become U+FFFD, so text from the system can always be printed.
std::string ToUtf8(TextView text);
Text FromUtf8(std::string_view utf8);

// Letter case folded for A-Z only, as the location codes and identities are compared.
bool SameTextAscii(TextView a, TextView b) noexcept;
// A to Z and a to z changed; every other character stays as it is.
Text UpperAscii(TextView text);
Text LowerAscii(TextView text);
bool ContainsTextAscii(TextView text, TextView part) noexcept;

// Text for a line-based output: control characters (C0, DEL, C1) and the Unicode line and
// paragraph separators are written as escapes (\r, \n, \t, \xHH, \uHHHH), so a name
// from the system cannot start a line of its own. Everything else, "\" included, stays.
Text OneLine(TextView text);

// A text file's bytes: UTF-16 LE or BE by its byte-order mark, else UTF-8 (mark optional).
Text DecodeTextFile(std::string_view bytes);

}  // namespace tarnwick
