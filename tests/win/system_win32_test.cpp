// Shell folders, folder variables and folder listing against Wine.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "core/app_context.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::win32 {
namespace {

bool IsAbsoluteFolder(const Text& path) {
  return path.size() >= 3 && path[1] == u':' && path[2] == u'\\' && path.back() != u'\\';
}

TEST(ShellFoldersWin32, EveryFolderTheCatalogueUsesIsNamed) {
  Win32ShellFolders shell;
  for (int id : {csidl::kCommonAppData, csidl::kWindows, csidl::kCommonDocuments, csidl::kAppData,
                 csidl::kProgramFilesCommonX86, csidl::kProgramFilesCommon, csidl::kProgramFilesX86,
                 csidl::kProgramFiles, csidl::kCommonStartup, csidl::kStartup}) {
    const Text path = GetFolderPath(shell, id);
    EXPECT_TRUE(IsAbsoluteFolder(path)) << "CSIDL " << id << ": " << ToUtf8(path);
  }
  EXPECT_NE(GetFolderPath(shell, csidl::kCommonStartup), GetFolderPath(shell, csidl::kStartup));
}

TEST(ShellFoldersWin32, FolderVarsOnX64NameTheNativeFolders) {
  Win32Platform platform;
  const AppContext app = AppContext::Start(platform.ports());
  ASSERT_EQ(platform.ports().systemInfo.NativeProcessorArchitecture(), processor_architecture::kAmd64);
  ASSERT_EQ(app.folderVars.Entries().size(), 9u);
  for (const auto& [form, path] : app.folderVars.Entries()) {
    EXPECT_TRUE(IsAbsoluteFolder(path)) << ToUtf8(form) << " = " << ToUtf8(path);
  }
  const Text programFiles = ExpandFolderVars(app.folderVars, u"%ProgramFiles%\\x");
  const Text programFilesX86 = ExpandFolderVars(app.folderVars, u"%ProgramFiles(x86)%\\x");
  EXPECT_EQ(programFiles.find(u"(x86)"), Text::npos) << ToUtf8(programFiles);
  EXPECT_NE(programFilesX86.find(u"(x86)"), Text::npos) << ToUtf8(programFilesX86);
  EXPECT_TRUE(SameTextAscii(ExpandFolderVars(app.folderVars, u"%SystemRoot%\\x"),
                            ExpandFolderVars(app.folderVars, u"%WinDir%\\x")));
}

class FileSystemWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, temp));
    folder_ = std::wstring(temp) + L"TarnwickListTest";
    Cleanup();
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override { Cleanup(); }
  void Touch(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
  void Cleanup() {
    for (const wchar_t* name : {L"a.lnk", L"B.URL", L"hidden.lnk"}) {
      const std::wstring path = folder_ + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
    RemoveDirectoryW((folder_ + L"\\x.lnk").c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::wstring folder_;
  Win32FileSystem files;
};

TEST_F(FileSystemWin32Test, ListsFilesHiddenIncludedSubfoldersExcluded) {
  Touch(L"a.lnk");
  Touch(L"B.URL");
  Touch(L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\x.lnk").c_str(), nullptr));

  std::vector<Text> names;
  const ListResult result = files.ListFiles(FromWide(folder_.c_str()), names);
  ASSERT_EQ(result.status, ListStatus::Ok) << ToUtf8(result.message);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<Text>{u"B.URL", u"a.lnk", u"hidden.lnk"}));
}

TEST_F(FileSystemWin32Test, WholeFileWriteReplacesAndFailuresSayWhy) {
  const Text target = FromWide((folder_ + L"\\a.lnk").c_str());
  Text message;
  ASSERT_TRUE(files.WriteWholeFile(target, "first", message)) << ToUtf8(message);
  ASSERT_TRUE(files.WriteWholeFile(target, "second", message)) << ToUtf8(message);
  std::vector<Text> names;
  ASSERT_EQ(files.ListFiles(FromWide(folder_.c_str()), names).status, ListStatus::Ok);
  EXPECT_EQ(names, (std::vector<Text>{u"a.lnk"})) << "no temporary file stays behind";

  // A missing folder is named, with the system's own reason for it.
  const Text missingFolder = FromWide((folder_ + L"\\nope").c_str());
  EXPECT_FALSE(files.WriteWholeFile(missingFolder + u"\\list.txt", "x", message));
  EXPECT_NE(message.find(missingFolder), Text::npos) << ToUtf8(message);
  EXPECT_EQ(message.find(u"invalid"), Text::npos) << ToUtf8(message);
}

TEST_F(FileSystemWin32Test, MissingFolderIsNotFoundAndEmptyFolderIsEmpty) {
  std::vector<Text> names = {u"stale"};
  EXPECT_EQ(files.ListFiles(FromWide(folder_.c_str()), names).status, ListStatus::Ok);
  EXPECT_TRUE(names.empty());
  const ListResult missing = files.ListFiles(FromWide((folder_ + L"\\nope").c_str()), names);
  EXPECT_EQ(missing.status, ListStatus::NotFound);
  EXPECT_FALSE(missing.message.empty());
}

TEST(ClockWin32, UtcFileTimeIsNow) {
  Win32Clock clock;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t expected = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const uint64_t got = clock.UtcNowFileTime();
  EXPECT_LT(got > expected ? got - expected : expected - got, 50'000'000u);  // within 5 s
}

}  // namespace
}  // namespace tarnwick::win32
