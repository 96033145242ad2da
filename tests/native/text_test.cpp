#include <gtest/gtest.h>

#include "core/text/text.h"

namespace tarnwick {
namespace {

TEST(Text, Utf8RoundTripsEveryPlane) {
  const Text samples[] = {u"", u"Spooler", u"전체목록", u"プログラム", u"C:\\Program Files\\x.exe",
                          u"\U0001F600 emoji", u"\u00E9\u00DF\u0416"};
  for (const Text& sample : samples) EXPECT_EQ(FromUtf8(ToUtf8(sample)), sample);
  EXPECT_EQ(ToUtf8(u"\uD55C"), "\xED\x95\x9C");
  EXPECT_EQ(ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Text, BrokenInputBecomesReplacementCharacters) {
  struct Case {
    std::string utf8;
    Text expected;
  };
  const Case cases[] = {
      {"a\xFF" "b", u"a\uFFFDb"},
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},  // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xF0\x9F\x98", u"\uFFFD\uFFFD\uFFFD"},  // cut short
      {"\xC3", u"\uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.expected) << c.utf8;

  // Lone surrogates from the system still print.
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(Text, SameTextAsciiFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(SameTextAscii(u"serv", u"SERV"));
  EXPECT_TRUE(SameTextAscii(u"HkLm", u"hklm"));
  EXPECT_FALSE(SameTextAscii(u"SERV", u"SERVS"));
  EXPECT_FALSE(SameTextAscii(u"\u00E9", u"\u00C9"));
  EXPECT_FALSE(SameTextAscii(u"[", u"{"));  // 0x5B vs 0x7B: not letters
}

TEST(Text, OneLineEscapesWhatWouldBreakALine) {
  const std::pair<Text, Text> cases[] = {
      {u"plain C:\\new\\x.exe", u"plain C:\\new\\x.exe"},  // backslashes stay
      {u"a\r\nb", u"a\\r\\nb"},
      {u"tab\there", u"tab\\there"},
      {Text(u"nul") + char16_t(0) + u"bel\a", u"nul\\x00bel\\x07"},
      {u"del\x7F c1\x85", u"del\\x7F c1\\x85"},
      {u"ls\u2028ps\u2029", u"ls\\u2028ps\\u2029"},
      {u"\uD0C0\uB978 \u00E9", u"\uD0C0\uB978 \u00E9"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(OneLine(in), out) << ToUtf8(out);
}

}  // namespace
}  // namespace tarnwick
