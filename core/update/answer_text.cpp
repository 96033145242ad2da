#include "core/update/answer_text.h"

namespace tarnwick {
namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

Text ExtractBetween(TextView text, TextView start, TextView end) {
  Text copy = UpperAscii(text);
  const Text startMarker = UpperAscii(start);
  const Text endMarker = UpperAscii(end);

  // Escaped quotes must not end a quoted value: "\" becomes "\\" in the search copy only.
  if (!endMarker.empty() && TextView(u"\"'").find(endMarker) != TextView::npos) {
    const Text escaped = u"\\" + endMarker;
    Text replaced;
    replaced.reserve(copy.size() + 8);
    for (size_t i = 0; i < copy.size();) {
      if (TextView(copy).substr(i, escaped.size()) == escaped) {
        replaced += u"\\\\";
        i += escaped.size();
      } else {
        replaced += copy[i++];
      }
    }
    copy = std::move(replaced);
  }

  size_t begin = 0;
  if (!startMarker.empty()) {
    const size_t at = copy.find(startMarker);
    if (at == Text::npos) return {};
    begin = at + startMarker.size();
  }
  size_t finish = copy.size();
  if (!endMarker.empty()) {
    const size_t at = copy.find(endMarker, begin);
    if (at == Text::npos) return {};
    finish = at;
  }
  // Positions in the copy are positions in the text as long as the copy kept its length.
  if (begin > text.size()) return {};
  return Text(text.substr(begin, std::min(finish, text.size()) - begin));
}

Text UnescapeJSON(TextView text) {
  Text out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (++i >= text.size()) break;  // a backslash at the very end is dropped
    switch (text[i]) {
      case u'"': case u'\'': case u'/': case u'\\': out += text[i]; break;
      case u'b': out += u'\b'; break;
      case u'f': out += u'\f'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u't': out += u'\t'; break;
      case u'u': {
        // Up to four hex digits; a non-digit ends the number early and is kept as text.
        unsigned value = 0;
        size_t digits = 0;
        while (digits < 4 && i + 1 < text.size()) {
          const int digit = HexDigit(text[i + 1]);
          if (digit < 0) break;
          value = value * 16 + static_cast<unsigned>(digit);
          ++digits;
          ++i;
        }
        if (digits > 0) out += static_cast<char16_t>(value);
        break;
      }
      default: break;  // unknown escapes give nothing
    }
  }
  return out;
}

}  // namespace tarnwick
