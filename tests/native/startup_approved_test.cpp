#include <gtest/gtest.h>

#include "core/catalogue/startup_approved.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr TextView kKey = startup_approved::kRunKey;

class StartupApprovedTest : public ::testing::Test {
 protected:
  // One name read alone, and the same name through the whole key read at once: a source may
  // use either, and they must agree.
  bool Read(TextView name) {
    const TReg reg(windows.registry);
    const bool single = IsStartupApproved(reg, root::kCurrentUser, kKey, name);
    const bool fromKey = StartupApprovedKey(reg, root::kCurrentUser, kKey).IsApproved(name);
    EXPECT_EQ(single, fromKey) << ToUtf8(name);
    return single;
  }
  sim::SimWindows windows;
};

TEST_F(StartupApprovedTest, StateFromFirstByteOfATwelveByteValue) {
  struct Case {
    const char16_t* name;
    Bytes data;
    bool enabled;
  };
  const Bytes stamp = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};
  auto twelve = [&](uint8_t first) {
    Bytes b = {first, 0, 0, 0};
    b.insert(b.end(), stamp.begin(), stamp.end());
    return b;
  };
  const Case cases[] = {
      {u"on", twelve(0x02), true},
      {u"off", twelve(0x03), false},
      {u"system_on", twelve(0x06), true},  // what Windows writes for entries that start
      {u"off07", twelve(0x07), false},
      {u"zero", twelve(0x00), false},
      {u"ff", twelve(0xFF), false},
      {u"eight", {0x03, 0, 0, 0, 1, 2, 3, 4}, true},
      {u"thirteen", {0x03, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
      {u"empty", {}, true},
  };
  for (const Case& c : cases) windows.registry.SetBinary(root::kCurrentUser, kKey.substr(1), c.name, c.data);
  for (const Case& c : cases) EXPECT_EQ(Read(c.name), c.enabled) << ToUtf8(c.name);
  EXPECT_FALSE(Read(u"OFF")) << "names compare without regard to case";
  EXPECT_TRUE(Read(u"missing"));
  windows.registry.SetString(root::kCurrentUser, kKey.substr(1), u"text", u"abcde");  // 12 bytes of text
  EXPECT_TRUE(Read(u"text"));
}

TEST_F(StartupApprovedTest, MissingKeyReadsEnabled) {
  EXPECT_TRUE(Read(u"anything"));
  windows.faults.Fail("RegEnumValueW");
  EXPECT_TRUE(Read(u"anything"));
  EXPECT_FALSE(windows.registry.KeyExists(root::kCurrentUser, kKey.substr(1))) << "reading never creates";
}

TEST_F(StartupApprovedTest, KeyReadAsksNameByNameWhenEnumerationFailsOrNamesAreNotAscii) {
  const Bytes off = {0x03, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  windows.registry.SetBinary(root::kCurrentUser, kKey.substr(1), u"Off", off);
  windows.registry.SetBinary(root::kCurrentUser, kKey.substr(1), u"한글 Off", off);
  const TReg reg(windows.registry);
  {
    const StartupApprovedKey key(reg, root::kCurrentUser, kKey);
    EXPECT_FALSE(key.IsApproved(u"off"));
    EXPECT_FALSE(key.IsApproved(u"한글 off"));
    EXPECT_TRUE(key.IsApproved(u"한글 on"));
  }
  windows.faults.Fail("RegEnumValueW");
  const StartupApprovedKey key(reg, root::kCurrentUser, kKey);
  EXPECT_FALSE(key.IsApproved(u"OFF")) << "a failed enumeration must not read as all enabled";
  EXPECT_TRUE(key.IsApproved(u"On"));
}

TEST_F(StartupApprovedTest, MakeStartupApprovedCarriesStateAndUtcStamp) {
  windows.clock.now = 0x01D9A1B2C3D4E5F6;
  EXPECT_EQ(MakeStartupApproved(false, windows.clock),
            (Bytes{0x03, 0, 0, 0, 0xF6, 0xE5, 0xD4, 0xC3, 0xB2, 0xA1, 0xD9, 0x01}));
  EXPECT_EQ(MakeStartupApproved(true, windows.clock),
            (Bytes{0x02, 0, 0, 0, 0xF6, 0xE5, 0xD4, 0xC3, 0xB2, 0xA1, 0xD9, 0x01}));
}

}  // namespace
}  // namespace tarnwick
