#include "launcher/launcher_text.h"

namespace tarnwick::launcher {

std::vector<Text> SplitArguments(TextView line) {
  std::vector<Text> items;
  size_t i = 0;
  for (;;) {
    while (i < line.size() && line[i] <= 0x20) ++i;
    if (i >= line.size()) break;
    Text item;
    bool quoted = false;
    for (; i < line.size() && (quoted || line[i] > 0x20); ++i) {
      if (line[i] == u'"') quoted = !quoted;
      item += line[i];
    }
    if (item.size() >= 2 && item.front() == u'"' && item.back() == u'"') item = item.substr(1, item.size() - 2);
    items.push_back(std::move(item));
  }
  return items;
}

Text Argument(TextView commandLine, size_t index) {
  const std::vector<Text> items = SplitArguments(commandLine);
  return index < items.size() ? items[index] : Text();
}

Text RawUpdateLink(TextView answer) {
  constexpr TextView kKey = u"\"update\":\"";
  const size_t key = answer.find(kKey);
  if (key == TextView::npos) return {};
  const size_t begin = key + kKey.size();
  const size_t end = answer.find(u'"', begin);
  if (end == TextView::npos) return {};
  return Text(answer.substr(begin, end - begin));
}

Text UnescapeJsonText(TextView raw) {
  Text out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != u'\\') {
      out += raw[i];
      continue;
    }
    if (++i >= raw.size()) break;
    switch (raw[i]) {
      case u'"': case u'\'': case u'/': case u'\\': out += raw[i]; break;
      case u'b': out += u'\b'; break;
      case u'f': out += u'\f'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u't': out += u'\t'; break;
      case u'u': {
        const TextView digits = raw.substr(i + 1, 4);
        i += digits.size();
        unsigned value = 0;
        bool hex = !digits.empty();
        for (char16_t c : digits) {
          int d = -1;
          if (c >= u'0' && c <= u'9') d = c - u'0';
          else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
          else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
          if (d < 0) hex = false;
          value = value * 16 + static_cast<unsigned>(d < 0 ? 0 : d);
        }
        if (hex && value != 0) out += static_cast<char16_t>(value);
        break;
      }
      default: break;
    }
  }
  return out;
}

}  // namespace tarnwick::launcher
