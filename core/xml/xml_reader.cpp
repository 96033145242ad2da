#include "core/xml/xml_reader.h"

namespace tarnwick {
namespace {

constexpr int kMaxDepth = 64;

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool IsNameChar(char16_t c) {
  return !IsSpace(c) && c != u'<' && c != u'>' && c != u'/' && c != u'=' && c != u'"' && c != u'\'' &&
         c != u'&' && c != u'?' && c != u'!';
}

void AppendCodePoint(Text& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

class Parser {
 public:
  explicit Parser(TextView text) : text_(text) {}

  bool Document(XmlElement& root, Text& error) {
    SkipMisc();
    if (!Element(root, 0)) return Fail(error);
    SkipMisc();
    if (pos_ != text_.size()) {
      problem_ = u"text after the root element";
      return Fail(error);
    }
    return true;
  }

 private:
  bool Fail(Text& error) {
    error = problem_.empty() ? Text(u"malformed XML") : problem_;
    error += u" (at character " + FromUtf8(std::to_string(pos_)) + u")";
    return false;
  }

  bool Starts(TextView what) const { return text_.substr(pos_, what.size()) == what; }

  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }

  // Moves past `end`; false when the text ends first.
  bool SkipPast(TextView end) {
    const size_t at = text_.find(end, pos_);
    if (at == TextView::npos) return false;
    pos_ = at + end.size();
    return true;
  }

  // Declarations, processing instructions, comments and a DOCTYPE around the root.
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (Starts(u"<?")) {
        if (!SkipPast(u"?>")) pos_ = text_.size();
      } else if (Starts(u"<!--")) {
        if (!SkipPast(u"-->")) pos_ = text_.size();
      } else if (Starts(u"<!DOCTYPE")) {
        if (!SkipPast(u">")) pos_ = text_.size();
      } else {
        return;
      }
    }
  }

  bool Name(Text& name) {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    name.assign(text_.substr(start, pos_ - start));
    if (name.empty()) problem_ = u"a name was expected";
    return !name.empty();
  }

  // Character data up to `stop`, entities decoded.
  bool CharData(char16_t stop, Text& out) {
    while (pos_ < text_.size() && text_[pos_] != stop) {
      if (text_[pos_] == u'<' && stop != u'<') {
        problem_ = u"\"<\" inside an attribute";
        return false;
      }
      if (text_[pos_] != u'&') {
        out += text_[pos_++];
        continue;
      }
      const size_t semicolon = text_.find(u';', pos_);
      if (semicolon == TextView::npos || semicolon - pos_ > 12) {
        problem_ = u"an unterminated entity";
        return false;
      }
      const TextView entity = text_.substr(pos_ + 1, semicolon - pos_ - 1);
      if (!Entity(entity, out)) {
        problem_ = u"an unknown entity";
        return false;
      }
      pos_ = semicolon + 1;
    }
    return true;
  }

  static bool Entity(TextView entity, Text& out) {
    if (entity == u"lt") return out += u'<', true;
    if (entity == u"gt") return out += u'>', true;
    if (entity == u"amp") return out += u'&', true;
    if (entity == u"quot") return out += u'"', true;
    if (entity == u"apos") return out += u'\'', true;
    if (entity.size() < 2 || entity[0] != u'#') return false;
    const bool hex = entity[1] == u'x';
    TextView digits = entity.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    uint32_t cp = 0;
    for (char16_t c : digits) {
      uint32_t digit;
      if (c >= u'0' && c <= u'9') {
        digit = c - u'0';
      } else if (hex && c >= u'a' && c <= u'f') {
        digit = c - u'a' + 10;
      } else if (hex && c >= u'A' && c <= u'F') {
        digit = c - u'A' + 10;
      } else {
        return false;
      }
      cp = cp * (hex ? 16 : 10) + digit;
      if (cp > 0x10FFFF) return false;
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    AppendCodePoint(out, cp);
    return true;
  }

  bool Attributes(XmlElement& element) {
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size()) {
        problem_ = u"the document ends inside a tag";
        return false;
      }
      if (text_[pos_] == u'>' || text_[pos_] == u'/') return true;
      Text name, value;
      if (!Name(name)) return false;
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != u'=') {
        problem_ = u"\"=\" was expected";
        return false;
      }
      ++pos_;
      SkipSpace();
      if (pos_ >= text_.size() || (text_[pos_] != u'"' && text_[pos_] != u'\'')) {
        problem_ = u"a quoted value was expected";
        return false;
      }
      const char16_t quote = text_[pos_++];
      if (!CharData(quote, value)) return false;
      if (pos_ >= text_.size()) {
        problem_ = u"an unterminated value";
        return false;
      }
      ++pos_;
      element.attributes.emplace_back(std::move(name), std::move(value));
    }
  }

  bool Element(XmlElement& element, int depth) {
    if (depth >= kMaxDepth) {
      problem_ = u"elements nested too deeply";
      return false;
    }
    if (!Starts(u"<")) {
      problem_ = u"an element was expected";
      return false;
    }
    ++pos_;
    if (!Name(element.name) || !Attributes(element)) return false;
    if (Starts(u"/>")) {
      pos_ += 2;
      return true;
    }
    ++pos_;  // ">"
    for (;;) {
      if (pos_ >= text_.size()) {
        problem_ = u"the document ends inside <" + element.name + u">";
        return false;
      }
      if (Starts(u"</")) {
        pos_ += 2;
        Text closing;
        if (!Name(closing)) return false;
        SkipSpace();
        if (closing != element.name || !Starts(u">")) {
          problem_ = u"<" + element.name + u"> is not closed";
          return false;
        }
        ++pos_;
        return true;
      }
      if (Starts(u"<![CDATA[")) {
        const size_t start = pos_ + 9;
        const size_t end = text_.find(u"]]>", start);
        if (end == TextView::npos) {
          problem_ = u"an unterminated CDATA section";
          return false;
        }
        element.text.append(text_.substr(start, end - start));
        pos_ = end + 3;
      } else if (Starts(u"<!--")) {
        if (!SkipPast(u"-->")) {
          problem_ = u"an unterminated comment";
          return false;
        }
      } else if (Starts(u"<?")) {
        if (!SkipPast(u"?>")) {
          problem_ = u"an unterminated processing instruction";
          return false;
        }
      } else if (Starts(u"<")) {
        element.children.emplace_back();
        if (!Element(element.children.back(), depth + 1)) return false;
      } else if (!CharData(u'<', element.text)) {
        return false;
      }
    }
  }

  TextView text_;
  size_t pos_ = 0;
  Text problem_;
};

}  // namespace

const Text* XmlElement::Attribute(TextView attributeName) const {
  for (const auto& [name, value] : attributes) {
    if (name == attributeName) return &value;
  }
  return nullptr;
}

const XmlElement* XmlElement::Child(TextView childName) const {
  for (const XmlElement& child : children) {
    if (child.name == childName) return &child;
  }
  return nullptr;
}

bool ParseXml(TextView document, XmlElement& root, Text& error) {
  XmlElement parsed;
  if (!Parser(document).Document(parsed, error)) return false;
  root = std::move(parsed);
  return true;
}

}  // namespace tarnwick
