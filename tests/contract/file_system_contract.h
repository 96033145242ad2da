#pragma once
// The file system port's contract, one suite for the simulated file system (natively) and the
// Win32 adapter (under Wine). The environment gives a FileSystem and an empty scratch folder
// (folder(), no trailing "\") that it removes afterwards, and can make a subfolder in it.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, FileSystemContract, Environment);

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ports/file_system.h"

namespace tarnwick::contract {

template <typename Environment>
class FileSystemContract : public ::testing::Test {
 protected:
  FileSystem& files() { return environment_.files(); }
  Text In(TextView name) const { return environment_.folder() + u"\\" + Text(name); }
  void Write(TextView name, const std::string& bytes) {
    Text message;
    ASSERT_TRUE(files().WriteWholeFile(In(name), bytes, message)) << ToUtf8(message);
  }
  Environment environment_;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, ListingNamesFilesOnlyAndTellsAMissingFolder) {
  std::vector<Text> names = {u"stale"};
  ASSERT_EQ(this->files().ListFiles(this->environment_.folder(), names).status, ListStatus::Ok);
  EXPECT_TRUE(names.empty()) << "an empty folder lists nothing";
  this->Write(u"a.lnk", "a");
  this->Write(u"\uD55C.url", "b");
  this->environment_.MakeSubfolder(u"x.lnk");
  ASSERT_EQ(this->files().ListFiles(this->environment_.folder(), names).status, ListStatus::Ok);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<Text>{u"a.lnk", u"\uD55C.url"})) << "subfolders are no files";

  const ListResult missing = this->files().ListFiles(this->In(u"nope"), names);
  EXPECT_EQ(missing.status, ListStatus::NotFound);
  EXPECT_FALSE(missing.message.empty());
}

TYPED_TEST_P(FileSystemContract, ExistenceIsForFilesAndIgnoresCase) {
  this->Write(u"Tool.exe", "x");
  this->environment_.MakeSubfolder(u"Folder");
  EXPECT_TRUE(this->files().FileExists(this->In(u"Tool.exe")));
  EXPECT_TRUE(this->files().FileExists(this->In(u"TOOL.EXE")));
  EXPECT_FALSE(this->files().FileExists(this->In(u"Folder"))) << "a folder is no file";
  EXPECT_FALSE(this->files().FileExists(this->In(u"missing.exe")));
}

TYPED_TEST_P(FileSystemContract, AWholeWriteReplacesAndAFailureKeepsWhatWasThere) {
  this->Write(u"list.txt", "first");
  this->Write(u"list.txt", "second");
  std::vector<Text> names;
  ASSERT_EQ(this->files().ListFiles(this->environment_.folder(), names).status, ListStatus::Ok);
  EXPECT_EQ(names, std::vector<Text>{u"list.txt"}) << "no temporary file stays behind";
  EXPECT_EQ(this->environment_.Content(u"list.txt"), "second");
  Text message;
  EXPECT_FALSE(this->files().WriteWholeFile(this->In(u"nope\\list.txt"), "x", message));
  EXPECT_FALSE(message.empty());
}

TYPED_TEST_P(FileSystemContract, RemovingAFileTakesItAndAMissingOneSaysWhy) {
  this->Write(u"old.lnk", "x");
  Text message;
  ASSERT_TRUE(this->files().RemoveFile(this->In(u"old.lnk"), message)) << ToUtf8(message);
  EXPECT_FALSE(this->files().FileExists(this->In(u"old.lnk")));
  EXPECT_FALSE(this->files().RemoveFile(this->In(u"old.lnk"), message));
  EXPECT_FALSE(message.empty());
}

TYPED_TEST_P(FileSystemContract, ReadingGivesTheWholeFileWithinItsLimitAndStampsFollowWrites) {
  const std::string bytes("\xFF\xFE<\0a\0>\0\0\0", 10);
  this->Write(u"data.xml", bytes);
  std::string read = "stale";
  Text message;
  ASSERT_TRUE(this->files().ReadWholeFile(this->In(u"DATA.XML"), 10, read, message)) << ToUtf8(message);
  EXPECT_EQ(read, bytes) << "binary content, NULs included";
  read = "kept";
  EXPECT_FALSE(this->files().ReadWholeFile(this->In(u"data.xml"), 9, read, message)) << "over the limit";
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(read, "kept") << "nothing of a refused file";
  message.clear();
  EXPECT_FALSE(this->files().ReadWholeFile(this->In(u"missing.xml"), 100, read, message));
  EXPECT_FALSE(message.empty());

  FileStamp first, second;
  ASSERT_TRUE(this->files().Stamp(this->In(u"data.xml"), first));
  EXPECT_EQ(first.size, bytes.size());
  EXPECT_NE(first.lastWrite, 0u);
  this->Write(u"data.xml", bytes + "more");
  ASSERT_TRUE(this->files().Stamp(this->In(u"data.xml"), second));
  EXPECT_EQ(second.size, bytes.size() + 4);
  EXPECT_GE(second.lastWrite, first.lastWrite);
  this->environment_.MakeSubfolder(u"Folder");
  EXPECT_FALSE(this->files().Stamp(this->In(u"Folder"), second)) << "a folder has no stamp";
  EXPECT_FALSE(this->files().Stamp(this->In(u"missing.xml"), second));
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, ListingNamesFilesOnlyAndTellsAMissingFolder,
                            ExistenceIsForFilesAndIgnoresCase, AWholeWriteReplacesAndAFailureKeepsWhatWasThere,
                            RemovingAFileTakesItAndAMissingOneSaysWhy,
                            ReadingGivesTheWholeFileWithinItsLimitAndStampsFollowWrites);

}  // namespace tarnwick::contract
