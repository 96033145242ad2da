#include <gtest/gtest.h>

#include "core/startup/list_actions.h"
#include "core/web/web_address.h"

namespace tarnwick {
namespace {

TEST(ListActions, SavedListHasEveryEntryWithBomAndCrLf) {
  EXPECT_EQ(BuildSavedList({}), "\xEF\xBB\xBF");
  TAutorunList list(3);
  list[0] = {u"C:\\a.exe", u"A|B", u"", u"HKCU\\Run\\A|B", u"HKCU", true};
  list[1] = {u"", u"", u"", u"HKCU\\Run\\", u"HKCU", true};  // no caption: no row, still saved
  list[2] = {u"x", u"\uD0C0\uB978", u"", u"Svc", u"SERV", false};
  EXPECT_EQ(BuildSavedList(list), "\xEF\xBB\xBF" "HKCU|A|B|HKCU\\Run\\A|B\r\nHKCU||HKCU\\Run\\\r\nSERV|" +
                                      ToUtf8(u"\uD0C0\uB978") + "|Svc\r\n");
  // A name with a line break of its own stays one line.
  TAutorunList forged(1);
  forged[0] = {u"", u"Evil\r\nSERV|Fake", u"", u"HKCU\\Run\\Evil\r\nSERV|Fake", u"HKCU", true};
  EXPECT_EQ(BuildSavedList(forged), "\xEF\xBB\xBFHKCU|Evil\\r\\nSERV|Fake|HKCU\\Run\\Evil\\r\\nSERV|Fake\r\n");
}

TEST(ListActions, LookupAddressLowersAsciiAndEncodesWhatTheShellMustNotSee) {
  struct Case {
    const char16_t* from;
    const char16_t* target;
    const char16_t* address;
  };
  const Case cases[] = {
      {u"SERV", u"Spooler", u"https://x.test/entry/serv/spooler"},
      {u"HKCU", u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\OneDrive", u"https://x.test/entry/hkcu/onedrive"},
      {u"FILE", u"C:\\Users\\u\\Startup\\My App.lnk", u"https://x.test/entry/file/my app.lnk"},
      {u"SCHE", u"\\Vendor Update", u"https://x.test/entry/sche/vendor update"},
      {u"FILE", u"D:name.EXE", u"https://x.test/entry/file/name.exe"},
      {u"SERV", u"\u00C9T\u00C9", u"https://x.test/entry/serv/\u00C9t\u00C9"},
      // Names anyone may write into HKCU never reach the elevated shell raw.
      {u"HKCU", u"HKCU\\Run\\a\" -x \"b", u"https://x.test/entry/hkcu/a%22 -x %22b"},
      {u"HKCU", u"HKCU\\Run\\<a>`{b}|^%c", u"https://x.test/entry/hkcu/%3Ca%3E%60%7Bb%7D%7C%5E%25c"},
      {u"HKCU", u"HKCU\\Run\\line\r\nbreak\t\x7F", u"https://x.test/entry/hkcu/line%0D%0Abreak%09%7F"},
  };
  for (const Case& c : cases) {
    const Text address = LookupAddress(u"https://x.test/entry/", c.from, c.target);
    EXPECT_EQ(address, c.address) << ToUtf8(c.target);
    EXPECT_TRUE(IsWebAddress(address)) << ToUtf8(address);
  }
}

TEST(ListActions, ButtonNamesWhatAClickWillDo) {
  EXPECT_EQ(ButtonLookFor(true).captionKey, kDisableKey);
  EXPECT_FALSE(ButtonLookFor(true).pressed);
  EXPECT_EQ(ButtonLookFor(false).captionKey, kEnableKey);
  EXPECT_TRUE(ButtonLookFor(false).pressed);
}

}  // namespace
}  // namespace tarnwick
