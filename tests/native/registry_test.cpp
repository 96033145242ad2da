#include <gtest/gtest.h>

#include "core/registry/registry.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr RootKey kLM = root::kLocalMachine;
constexpr RootKey kCU = root::kCurrentUser;

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(windows.registry.OpenKeys(), 0) << "a key was left open"; }
  sim::SimWindows windows;
  sim::SimRegistry& sim = windows.registry;
  TReg reg{windows.registry};
};

TEST(RegistryNames, RootKeyNameAndParseRootKey) {
  struct Case {
    RootKey root;
    const char16_t* shortName;
    const char16_t* longName;
  };
  const Case cases[] = {
      {root::kClassesRoot, u"HKCR", u"HKEY_CLASSES_ROOT"},
      {root::kCurrentUser, u"HKCU", u"HKEY_CURRENT_USER"},
      {root::kLocalMachine, u"HKLM", u"HKEY_LOCAL_MACHINE"},
      {root::kUsers, u"HKU", u"HKEY_USERS"},
      {root::kPerformanceData, u"HKEY_PERFORMANCE_DATA", u"HKEY_PERFORMANCE_DATA"},
      {root::kCurrentConfig, u"HKEY_CURRENT_CONFIG", u"HKEY_CURRENT_CONFIG"},
      {root::kDynData, u"HKEY_DYN_DATA", u"HKEY_DYN_DATA"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RootKeyName(c.root, true), c.shortName);
    EXPECT_EQ(RootKeyName(c.root, false), c.longName);
    EXPECT_EQ(ParseRootKey(c.shortName), c.root);
    EXPECT_EQ(ParseRootKey(c.longName), c.root);
  }
  EXPECT_EQ(RootKeyName(0, true), u"");
  EXPECT_EQ(RootKeyName(0x80000007, false), u"");
  EXPECT_EQ(ParseRootKey(u"hkey_local_machine"), root::kLocalMachine);
  EXPECT_EQ(ParseRootKey(u"hkcu"), root::kCurrentUser);
  for (const char16_t* unknown : {u"HKCC", u"HKPD", u"", u"HKLM ", u"Software"}) {
    EXPECT_EQ(ParseRootKey(unknown), 0u) << ToUtf8(unknown);
  }
}

TEST(RegistryParse, LocationTexts) {
  struct Case {
    const char16_t* text;
    bool ok;
    RootKey root;
    const char16_t* key;
    const char16_t* name;
  };
  const Case cases[] = {
      {u"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Updater", true, kLM,
       u"Software\\Microsoft\\Windows\\CurrentVersion\\Run", u"Updater"},
      {u"HKCU\\Run", false, 0, u"", u""},
      {u"HKCU\\Run\\", true, kCU, u"Run", u""},
      {u"hklm\\x\\y", true, kLM, u"x", u"y"},
      {u"HKCC\\x\\y", true, 0, u"x", u"y"},
      {u"HKLM\\a\\\\b\\c", true, kLM, u"a\\\\b", u"c"},  // empty parts are kept
      {u"HKCU\\Run\\Dir\\tool", true, kCU, u"Run\\Dir", u"tool"},
      {u"", false, 0, u"", u""},
  };
  for (const Case& c : cases) {
    RootKey root = 0xDEAD;
    Text key = u"stale", name = u"stale";
    EXPECT_EQ(TReg::Parse(c.text, root, key, name), c.ok) << ToUtf8(c.text);
    EXPECT_EQ(key, c.key) << ToUtf8(c.text);
    EXPECT_EQ(name, c.name) << ToUtf8(c.text);
    if (c.ok) {
      EXPECT_EQ(root, c.root) << ToUtf8(c.text);
    }
  }
}

TEST_F(RegistryTest, ReadStringDefaultsAndTypes) {
  sim.SetString(kCU, u"K", u"sz", u"plain");
  sim.SetString(kCU, u"K", u"expand", u"%ProgramFiles%\\a.exe", reg_type::kExpandSz);
  sim.SetString(kCU, u"K", u"", u"default value");
  sim.Set(kCU, u"K", u"nul", {reg_type::kSz, {'a', 0, 0, 0, 'b', 0, 0, 0}});
  sim.Set(kCU, u"K", u"empty", {reg_type::kSz, {}});
  sim.SetDword(kCU, u"K", u"dword", 7);

  EXPECT_EQ(reg.ReadString(kCU, u"K", u"sz", u"d"), u"plain");
  EXPECT_EQ(reg.ReadString(kCU, u"\\K", u"sz", u"d"), u"plain");  // leading "\" names the same key
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"expand", u"d"), u"%ProgramFiles%\\a.exe");
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"", u"d"), u"default value");
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"nul", u"d"), u"a");
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"empty", u"d"), u"");
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"missing", u"d"), u"");  // existing key: empty, not default
  EXPECT_EQ(reg.ReadString(kCU, u"NoKey", u"sz", u"d"), u"d");
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"dword", u"d"), u"d");
}

TEST_F(RegistryTest, ReadIntegerBoolAndBinary) {
  sim.SetDword(kLM, u"K", u"minus", 0xFFFFFFFE);
  sim.SetDword(kLM, u"K", u"zero", 0);
  sim.SetString(kLM, u"K", u"text", u"12");
  const Bytes twelve = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  sim.SetBinary(kLM, u"K", u"bin", twelve);
  sim.Set(kLM, u"K", u"none", {reg_type::kNone, {9, 9}});
  sim.Set(kLM, u"K", u"multi", {reg_type::kMultiSz, {'a', 0, 0, 0, 0, 0}});
  sim.SetBinary(kLM, u"K", u"emptybin", {});

  EXPECT_EQ(reg.ReadInteger(kLM, u"K", u"minus", 5), -2);
  EXPECT_EQ(reg.ReadInteger(kLM, u"K", u"text", 5), 5);
  EXPECT_EQ(reg.ReadInteger(kLM, u"K", u"missing", 5), 5);
  EXPECT_TRUE(reg.ReadBool(kLM, u"K", u"minus", false));
  EXPECT_FALSE(reg.ReadBool(kLM, u"K", u"zero", true));
  EXPECT_TRUE(reg.ReadBool(kLM, u"K", u"text", true));

  EXPECT_EQ(reg.ReadBinary(kLM, u"K", u"bin"), twelve);
  EXPECT_EQ(reg.ReadBinary(kLM, u"K", u"none"), (Bytes{9, 9}));
  EXPECT_EQ(reg.ReadBinary(kLM, u"K", u"multi").size(), 6u);
  EXPECT_TRUE(reg.ReadBinary(kLM, u"K", u"text").empty());
  EXPECT_TRUE(reg.ReadBinary(kLM, u"K", u"minus").empty());
  EXPECT_TRUE(reg.ReadBinary(kLM, u"K", u"emptybin").empty());
  EXPECT_TRUE(reg.ReadBinary(kLM, u"NoKey", u"bin").empty());
}

TEST_F(RegistryTest, NameListsInEnumerationOrder) {
  sim.SetString(kCU, u"Run", u"Zeta", u"z.exe");
  sim.SetString(kCU, u"Run", u"", u"default.exe");
  sim.SetString(kCU, u"Run", u"Alpha", u"a.exe");
  sim.CreateKey(kCU, u"Run\\Sub2");
  sim.CreateKey(kCU, u"Run\\Sub1");

  std::vector<Text> names = {u"stale"};
  EXPECT_EQ(reg.ReadValueNames(kCU, u"Run", names), 3);
  EXPECT_EQ(names, (std::vector<Text>{u"Zeta", u"", u"Alpha"}));
  EXPECT_EQ(reg.ReadKeyNames(kCU, u"Run", names), 2);
  EXPECT_EQ(names, (std::vector<Text>{u"Sub2", u"Sub1"}));
  EXPECT_EQ(reg.ReadValueNames(kCU, u"Missing", names), 0);
  EXPECT_TRUE(names.empty());

  windows.faults.Fail("RegEnumValueW");
  EXPECT_EQ(reg.ReadValueNames(kCU, u"Run", names), 0);
}

TEST_F(RegistryTest, WritesCreateKeysAndReplaceWhateverType) {
  reg.WriteString(kCU, u"\\A\\B\\C", u"v", u"text");
  ASSERT_TRUE(sim.KeyExists(kCU, u"A\\B\\C"));
  EXPECT_EQ(reg.ReadString(kCU, u"A\\B\\C", u"v", u""), u"text");

  reg.WriteInteger(kCU, u"A\\B\\C", u"v", -1);
  EXPECT_EQ(sim.Get(kCU, u"A\\B\\C", u"v")->type, reg_type::kDword);
  EXPECT_EQ(reg.ReadInteger(kCU, u"A\\B\\C", u"v", 0), -1);

  reg.WriteBinary(kCU, u"A\\B\\C", u"v", {});
  const RegistryValue* empty = sim.Get(kCU, u"A\\B\\C", u"v");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->type, reg_type::kBinary);
  EXPECT_TRUE(empty->data.empty());

  windows.faults.Fail("RegSetValueExW");
  reg.WriteString(kCU, u"A", u"refused", u"x");  // ignored, no crash
  EXPECT_EQ(sim.Get(kCU, u"A", u"refused"), nullptr);
}

TEST_F(RegistryTest, DeleteKeyValueAndLocationTexts) {
  sim.SetString(kLM, u"S\\Doomed\\Deep\\Deeper", u"x", u"1");
  sim.SetString(kLM, u"S\\Doomed", u"y", u"2");
  sim.SetString(kLM, u"S", u"keep", u"3");
  reg.DeleteKey(kLM, u"S", u"Doomed");
  EXPECT_FALSE(sim.KeyExists(kLM, u"S\\Doomed"));
  EXPECT_NE(sim.Get(kLM, u"S", u"keep"), nullptr);

  reg.DeleteValue(kLM, u"Nowhere\\Key", u"v");
  EXPECT_TRUE(sim.KeyExists(kLM, u"Nowhere\\Key")) << "a delete opens for writing and creates";

  sim.SetString(kLM, u"R\\Sub\\Inner", u"x", u"1");
  sim.SetString(kLM, u"R", u"Sub2", u"v");
  reg.Delete(u"HKLM\\R\\Sub");
  EXPECT_FALSE(sim.KeyExists(kLM, u"R\\Sub"));
  reg.Delete(u"HKLM\\R\\Sub2");
  EXPECT_EQ(sim.Get(kLM, u"R", u"Sub2"), nullptr);
  reg.Delete(u"HKLM\\R");  // two parts: not a location, nothing happens
  EXPECT_TRUE(sim.KeyExists(kLM, u"R"));
}

TEST_F(RegistryTest, DeleteOfTheDefaultValueNeverTakesTheKey) {
  sim.SetString(kCU, u"Run", u"", u"default.exe");
  sim.SetString(kCU, u"Run", u"Other", u"o.exe");
  reg.Delete(u"HKCU\\Run\\");
  ASSERT_TRUE(sim.KeyExists(kCU, u"Run"));
  EXPECT_EQ(sim.Get(kCU, u"Run", u""), nullptr);
  EXPECT_NE(sim.Get(kCU, u"Run", u"Other"), nullptr);
  reg.DeleteKey(kCU, u"Run", u"");
  EXPECT_TRUE(sim.KeyExists(kCU, u"Run"));
}

TEST_F(RegistryTest, PlatformFailuresGiveDefaults) {
  sim.SetString(kCU, u"K", u"v", u"text");
  windows.faults.Fail("RegOpenKeyExW");
  EXPECT_FALSE(reg.IsKey(kCU, u"K"));
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"v", u"d"), u"d");
  windows.faults.Clear();
  windows.faults.Fail("RegQueryValueExW");
  EXPECT_EQ(reg.ReadString(kCU, u"K", u"v", u"d"), u"");
  EXPECT_EQ(reg.ReadInteger(kCU, u"K", u"v", 4), 4);
  EXPECT_FALSE(reg.IsKey(0, u"K"));
  EXPECT_EQ(reg.ReadString(0, u"K", u"v", u"d"), u"d");
}

}  // namespace
}  // namespace tarnwick
