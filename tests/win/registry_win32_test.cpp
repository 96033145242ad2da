// TReg against Wine's real registry, inside a private key that each test removes.

#include <gtest/gtest.h>

#include <windows.h>

#include "core/registry/registry.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/sized_read.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

constexpr RootKey kCU = root::kCurrentUser;
constexpr wchar_t kBase[] = L"Software\\TarnwickTests";
constexpr char16_t kKey[] = u"Software\\TarnwickTests\\Registry";

class RegistryWin32Test : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kBase); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kBase); }

  // Writes a value with the raw API, so reads are checked against what Windows stores.
  void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    UniqueHkey key(raw);
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  void PutText(const wchar_t* name, DWORD type, const std::wstring& text) {
    Put(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  bool RawKeyExists(const std::wstring& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    RegCloseKey(raw);
    return true;
  }

  Win32Registry registry;
  TReg reg{registry};
};

TEST_F(RegistryWin32Test, ReadsEveryValueType) {
  PutText(L"sz", REG_SZ, L"C:\\Program Files\\한글\\a.exe");
  PutText(L"expand", REG_EXPAND_SZ, L"%ProgramFiles%\\App\\app.exe");
  PutText(L"", REG_SZ, L"the default");
  const wchar_t withNul[] = L"before\0after";
  Put(L"nul", REG_SZ, withNul, sizeof(withNul));
  const DWORD dword = 0xFFFFFFF0;
  Put(L"dword", REG_DWORD, &dword, sizeof(dword));
  const BYTE binary[12] = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  Put(L"binary", REG_BINARY, binary, sizeof(binary));
  const BYTE none[3] = {7, 8, 9};
  Put(L"none", REG_NONE, none, sizeof(none));

  EXPECT_EQ(reg.ReadString(kCU, kKey, u"sz", u"d"), u"C:\\Program Files\\한글\\a.exe");
  EXPECT_EQ(reg.ReadString(kCU, kKey, u"expand", u"d"), u"%ProgramFiles%\\App\\app.exe");
  EXPECT_EQ(reg.ReadString(kCU, kKey, u"", u"d"), u"the default");
  EXPECT_EQ(reg.ReadString(kCU, kKey, u"nul", u"d"), u"before");
  EXPECT_EQ(reg.ReadString(kCU, kKey, u"dword", u"d"), u"d");
  EXPECT_EQ(reg.ReadInteger(kCU, kKey, u"dword", 0), -16);
  EXPECT_EQ(reg.ReadInteger(kCU, kKey, u"sz", 5), 5);
  EXPECT_EQ(reg.ReadBinary(kCU, kKey, u"binary"), Bytes(binary, binary + 12));
  EXPECT_EQ(reg.ReadBinary(kCU, kKey, u"none"), Bytes(none, none + 3));
  EXPECT_TRUE(reg.ReadBinary(kCU, kKey, u"sz").empty());

  std::vector<Text> names;
  EXPECT_EQ(reg.ReadValueNames(kCU, kKey, names), 7);
  EXPECT_NE(std::find(names.begin(), names.end(), u""), names.end()) << "default value as empty name";

  // The whole key at once gives every value as the reads one by one give it.
  std::vector<NamedRegistryValue> values;
  ASSERT_TRUE(reg.ReadValues(kCU, kKey, values));
  ASSERT_EQ(values.size(), 7u);
  for (const NamedRegistryValue& value : values) {
    EXPECT_EQ(TReg::StringOf(value.value, u"d"), reg.ReadString(kCU, kKey, value.name, u"d")) << ToUtf8(value.name);
    EXPECT_EQ(TReg::BinaryOf(value.value), reg.ReadBinary(kCU, kKey, value.name)) << ToUtf8(value.name);
  }
  EXPECT_FALSE(reg.ReadValues(kCU, u"Software\\TarnwickTests\\Missing", values));
  EXPECT_TRUE(values.empty());
}

TEST_F(RegistryWin32Test, ReadStringEmptyVersusDefault) {
  PutText(L"present", REG_SZ, L"x");
  EXPECT_EQ(reg.ReadString(kCU, kKey, u"missing", u"fallback"), u"");
  EXPECT_EQ(reg.ReadString(kCU, u"Software\\TarnwickTests\\NoSuchKey", u"v", u"fallback"), u"fallback");
  EXPECT_FALSE(reg.IsKey(kCU, u"Software\\TarnwickTests\\NoSuchKey")) << "a read never creates";
  EXPECT_FALSE(RawKeyExists(L"Software\\TarnwickTests\\NoSuchKey"));
}

TEST_F(RegistryWin32Test, WritesRoundTripAndCreateTheirKeys) {
  const Text key = u"\\Software\\TarnwickTests\\Made\\Here";
  reg.WriteString(kCU, key, u"s", u"타른윅");
  reg.WriteInteger(kCU, key, u"i", -7);
  reg.WriteBinary(kCU, key, u"b", {2, 0, 0, 0});
  EXPECT_EQ(reg.ReadString(kCU, key, u"s", u""), u"타른윅");
  EXPECT_EQ(reg.ReadInteger(kCU, key, u"i", 0), -7);
  EXPECT_EQ(reg.ReadBinary(kCU, key, u"b"), (Bytes{2, 0, 0, 0}));
  reg.WriteString(kCU, key, u"i", u"now text");
  EXPECT_EQ(reg.ReadInteger(kCU, key, u"i", 99), 99);
}

TEST_F(RegistryWin32Test, DeleteKeyRemovesADeepTree) {
  const Text deep = Text(kKey) + u"\\Doomed\\A\\B\\C\\D";
  reg.WriteString(kCU, deep, u"v", u"x");
  reg.WriteString(kCU, Text(kKey) + u"\\Doomed\\A2", u"v", u"x");
  reg.WriteString(kCU, Text(kKey) + u"\\Doomed", u"v", u"x");
  ASSERT_TRUE(reg.IsKey(kCU, deep));
  reg.DeleteKey(kCU, kKey, u"Doomed");
  EXPECT_FALSE(reg.IsKey(kCU, Text(kKey) + u"\\Doomed"));
  EXPECT_TRUE(reg.IsKey(kCU, kKey));

  reg.WriteString(kCU, Text(kKey) + u"\\Sub\\Inner", u"v", u"x");
  reg.WriteString(kCU, kKey, u"Value", u"x");
  reg.Delete(u"HKCU\\" + Text(kKey) + u"\\Sub");
  EXPECT_FALSE(reg.IsKey(kCU, Text(kKey) + u"\\Sub"));
  reg.Delete(u"HKCU\\" + Text(kKey) + u"\\Value");
  std::vector<Text> names;
  EXPECT_EQ(reg.ReadValueNames(kCU, kKey, names), 0);
}

TEST_F(RegistryWin32Test, DeleteValueBelowAMissingKeyLeavesTheKeyBehind) {
  const Text missing = Text(kKey) + u"\\Missing";
  ASSERT_FALSE(reg.IsKey(kCU, missing));
  reg.DeleteValue(kCU, missing, u"v");
  EXPECT_TRUE(reg.IsKey(kCU, missing));
  std::vector<Text> names;
  EXPECT_EQ(reg.ReadValueNames(kCU, missing, names), 0);
}

TEST_F(RegistryWin32Test, LocalMachineKeysAreTheNativeView) {
  // Written through TReg in the 64-bit view, seen by the raw 64-bit API and not by the 32-bit one.
  const Text key = u"Software\\TarnwickTests";
  reg.WriteString(root::kLocalMachine, key, u"view", u"64");
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBase, 0, KEY_READ | KEY_WOW64_64KEY, &raw), ERROR_SUCCESS);
  RegCloseKey(raw);
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\TarnwickTests", 0, KEY_READ, &raw),
            ERROR_SUCCESS);
  reg.DeleteKey(root::kLocalMachine, u"Software", u"TarnwickTests");
  EXPECT_FALSE(reg.IsKey(root::kLocalMachine, key));
}

// The read behind QueryValue and Values, against a registry that changes under it.
TEST(SizedRead, NeverCopiesMoreThanWasReceivedAndGivesUpOnDataThatKeepsChanging) {
  Bytes scratch(4), out{9};
  // Grew between the measure and the read: the buffer grows and the read is made again.
  int calls = 0;
  EXPECT_EQ(ReadSized(scratch, out,
                      [&](BYTE* data, DWORD* size) -> LSTATUS {
                        ++calls;
                        if (*size < 10) {
                          *size = 10;
                          return ERROR_MORE_DATA;
                        }
                        for (DWORD i = 0; i < 10; ++i) data[i] = static_cast<BYTE>(i);
                        *size = 10;
                        return ERROR_SUCCESS;
                      }),
            ERROR_SUCCESS);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(out, (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  // A success that claims more than the buffer holds yields only what the buffer holds.
  scratch.assign(8, 0xAB);
  EXPECT_EQ(ReadSized(scratch, out, [](BYTE*, DWORD* size) -> LSTATUS {
              *size = 4096;
              return ERROR_SUCCESS;
            }),
            ERROR_SUCCESS);
  EXPECT_EQ(out, Bytes(8, 0xAB));

  // Never fits: bounded, reported, nothing invented.
  out = {1, 2};
  calls = 0;
  EXPECT_EQ(ReadSized(scratch, out, [&](BYTE*, DWORD* size) -> LSTATUS {
              ++calls;
              *size += 1;
              return ERROR_MORE_DATA;
            }),
            ERROR_MORE_DATA);
  EXPECT_EQ(calls, kSizedReadAttempts);
  EXPECT_EQ(out, (Bytes{1, 2}));
}

TEST_F(RegistryWin32Test, WholeKeyReadsValuesLargerThanTheFirstBufferAndEmptyOnes) {
  Put(L"empty", REG_BINARY, nullptr, 0);
  const std::wstring big(3000, L'x');
  PutText(L"big", REG_SZ, big);
  std::vector<NamedRegistryValue> values;
  ASSERT_TRUE(reg.ReadValues(kCU, kKey, values));
  ASSERT_EQ(values.size(), 2u);
  for (const NamedRegistryValue& value : values) {
    if (value.name == u"empty") {
      EXPECT_TRUE(value.value.data.empty());
    } else {
      EXPECT_EQ(TextFromRegData(value.value.data), FromWide(big.c_str()));
    }
  }
  EXPECT_EQ(reg.ReadString(kCU, kKey, u"big", u"-"), FromWide(big.c_str()));
  EXPECT_TRUE(reg.ReadBinary(kCU, kKey, u"empty").empty());
}

}  // namespace
}  // namespace tarnwick::win32
