// Product names and icons of real files under Wine: our own executables carry both.

#include <gtest/gtest.h>

#include <windows.h>

#include "core/files/file_info.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "tests/win/test_support.h"

namespace tarnwick::win32 {
namespace {

Text BinFile(const wchar_t* name) { return test::BesideThisProgram(name); }

class FileInfoWin32Test : public ::testing::Test {
 protected:
  std::map<Text, Text> Versions(const Text& file) {
    std::map<Text, Text> values;
    GetVersionStrings(files, versions, file, {u"ProductName", u"FileDescription"}, values);
    return values;
  }
  int IconFor(TextView path, int fallback = 1) {
    return GetIconIndex(cache, images, files, icons, path, fallback);
  }
  Win32FileSystem files;
  Win32VersionResources versions;
  Win32IconSource icons;
  Win32ImageList images;
  IconCache cache;
};

TEST_F(FileInfoWin32Test, ProductNamesOfOurPrograms) {
  auto values = Versions(BinFile(L"Tarnwick.exe"));
  EXPECT_EQ(values[u"ProductName"], u"Tarnwick");
  values = Versions(BinFile(L"TarnwickService.exe"));
  EXPECT_EQ(values[u"ProductName"], u"Tarnwick");
  EXPECT_EQ(values[u"FileDescription"], u"Tarnwick Service");
  EXPECT_TRUE(Versions(BinFile(L"core_tests.exe")).empty()) << "no version resource";
  EXPECT_TRUE(Versions(BinFile(L"no_such.exe")).empty());
}

TEST_F(FileInfoWin32Test, IconsAreExtractedAndCachedByKey) {
  const Text app = BinFile(L"Tarnwick.exe");
  ASSERT_EQ(images.Count(), 0);
  const int index = IconFor(app);
  EXPECT_EQ(index, 0) << "the first image of an empty list";
  EXPECT_EQ(images.Count(), 1);
  EXPECT_EQ(IconFor(u"\"" + app + u"\""), index);
  EXPECT_EQ(IconFor(u"  " + app + u" "), index);
  EXPECT_EQ(images.Count(), 1) << "quotes and spaces share one key";

  // shell32.dll carries many icons; the number picks one and is part of the key.
  wchar_t system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  const Text shell32 = FromWide(system) + u"\\shell32.dll";
  const int numbered = IconFor(shell32 + u",2");
  EXPECT_EQ(numbered, 1);
  EXPECT_EQ(IconFor(shell32 + u",2"), numbered);
  EXPECT_EQ(IconFor(shell32 + u",3"), 2);
  EXPECT_EQ(images.Count(), 3);
}

TEST_F(FileInfoWin32Test, MissingFileIsTriedAgainOnceItExists) {
  wchar_t temp[MAX_PATH];
  ASSERT_TRUE(GetTempPathW(MAX_PATH, temp));
  const std::wstring copy = std::wstring(temp) + L"TarnwickIconCopy.exe";
  DeleteFileW(copy.c_str());
  EXPECT_EQ(IconFor(FromWide(copy.c_str())), 0);
  EXPECT_EQ(images.Count(), 0);
  ASSERT_TRUE(CopyFileW(Wide(BinFile(L"Tarnwick.exe")).c_str(), copy.c_str(), FALSE));
  EXPECT_EQ(IconFor(FromWide(copy.c_str())), 0);
  EXPECT_EQ(images.Count(), 1);
  DeleteFileW(copy.c_str());
  EXPECT_EQ(IconFor(u""), 1);
  EXPECT_FALSE(files.FileExists(FromWide(temp)));  // a folder is no file
}

// A 32-bit build runs under WoW64, where System32 is redirected to SysWOW64: a program
// that exists only in the real System32 (every 64-bit-only system program) must still give
// its product name, its icon and its existence. In a 64-bit build the same path is plain.
TEST_F(FileInfoWin32Test, ProgramsOnlyInTheRealSystem32AreFound) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(wow64 != FALSE, sizeof(void*) == 4) << "the i686 build must run under WoW64";

  wchar_t windows[MAX_PATH];
  ASSERT_GT(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
  const std::wstring name = L"\\tarnwick-system32-only.exe";
  const std::wstring real = std::wstring(windows) + (wow64 ? L"\\Sysnative" : L"\\System32") + name;
  const std::wstring seenBy32 = std::wstring(windows) + L"\\SysWOW64" + name;
  ASSERT_TRUE(CopyFileW(Wide(BinFile(L"Tarnwick.exe")).c_str(), real.c_str(), FALSE)) << GetLastError();
  const Text path = FromWide(windows) + u"\\System32" + FromWide(name.c_str());
  if (wow64) {
    ASSERT_EQ(GetFileAttributesW(seenBy32.c_str()), INVALID_FILE_ATTRIBUTES) << "must not be in SysWOW64";
  }

  EXPECT_TRUE(files.FileExists(path));
  EXPECT_EQ(Versions(path)[u"ProductName"], u"Tarnwick");
  EXPECT_EQ(IconFor(path, 3), 0) << "the program's own icon, not the fallback";
  EXPECT_FALSE(files.FileExists(FromWide(windows) + u"\\System32\\tarnwick-nowhere.exe"));
  DeleteFileW(real.c_str());
}

}  // namespace
}  // namespace tarnwick::win32
