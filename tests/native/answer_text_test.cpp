#include <gtest/gtest.h>

#include "core/update/answer_text.h"

namespace tarnwick {
namespace {

TEST(ExtractBetween, MarkersAndValues) {
  struct Case {
    const char16_t* text;
    const char16_t* start;
    const char16_t* end;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"{\"update\":\"https://x/Setup.exe\"}", u"\"update\":\"", u"\"", u"https://x/Setup.exe"},
      {u"{\"UPDATE\":\"https://X/a\"}", u"\"update\":\"", u"\"", u"https://X/a"},  // case kept
      {u"{\"update\": \"https://x\"}", u"\"update\":\"", u"\"", u""},               // space: absent
      {u"{\"update\":\"unterminated", u"\"update\":\"", u"\"", u""},
      {u"{\"a\":\"x\\\"y\"}", u"\"a\":\"", u"\"", u"x\\\"y"},  // an escaped quote does not end it
      // A backslash right before the closing quote hides it, escaped or not: the value is unended.
      {u"{\"a\":\"x\\\\\"}", u"\"a\":\"", u"\"", u""},
      {u"{\"info\":{\"style\":\"note\"},\"x\":1}", u"\"info\":{", u"}", u"\"style\":\"note\""},
      {u"abc", u"", u"", u"abc"},
      {u"abc", u"", u"c", u"ab"},
      {u"abc", u"b", u"", u"c"},
      {u"abc", u"x", u"", u""},
      {u"'it\\'s'", u"'", u"'", u"it\\'s"},
      {u"{\"notify\":\"first\",\"info\":{\"notify\":\"second\"}}", u"\"notify\":\"", u"\"", u"first"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractBetween(c.text, c.start, c.end), c.value) << ToUtf8(c.text);
  }
}

TEST(UnescapeJSON, EscapeRules) {
  struct Case {
    const char16_t* text;
    const char16_t* result;
  };
  const Case cases[] = {
      {u"a\\\"b", u"a\"b"},
      {u"\\'\\/\\\\", u"'/\\"},
      {u"\\b\\f\\n\\r\\t", u"\b\f\n\r\t"},
      {u"caf\\u00E9", u"caf\u00E9"},
      {u"\\u00e9", u"\u00E9"},
      {u"\\uD83D\\uDE00", u"\U0001F600"},  // a surrogate pair from two escapes
      {u"\\u41", u"A"},                    // fewer than four at the end: those are the number
      {u"x\\u", u"x"},                     // nothing after it: nothing
      {u"\\u12G4", u"\u0012G4"},           // digits end at the first non-digit, kept as text
      {u"\\uZZZZ", u"ZZZZ"},
      {u"a\\xb", u"ab"},                   // unknown escape: both dropped
      {u"end\\", u"end"},
      {u"plain", u"plain"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeJSON(c.text), c.result) << ToUtf8(c.text);
}

}  // namespace
}  // namespace tarnwick
