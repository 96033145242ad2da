#include <gtest/gtest.h>

#include "core/files/file_info.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr char16_t kFolder[] = u"C:\\Tools";
constexpr char16_t kApp[] = u"C:\\Tools\\app.exe";

class FileInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { windows.files.AddFile(kFolder, u"app.exe"); }
  std::map<Text, Text> Versions(TextView file, int& count) {
    std::map<Text, Text> values;
    count = GetVersionStrings(windows.files, windows.versions, file, {u"ProductName", u"CompanyName"}, values);
    return values;
  }
  int Icon(TextView path, int fallback = 1) {
    return GetIconIndex(cache, images, windows.files, windows.icons, path, fallback);
  }
  sim::SimWindows windows;
  IconCache cache;
  sim::SimImageCollection images{windows.faults};
};

TEST_F(FileInfoTest, ProductNameFromTheFirstTranslationOnly) {
  int count = -1;
  windows.versions.Set(kApp, {{{0x0412, 0x04B0}, {0x0409, 0x04B0}},
                              {{u"041204B0\\ProductName", u"\uD0C0\uB978\uC717"},
                               {u"040904B0\\ProductName", u"English Name"},
                               {u"040904B0\\CompanyName", u"Only In English"}}});
  auto values = Versions(kApp, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(values[u"ProductName"], u"\uD0C0\uB978\uC717");

  windows.versions.Set(kApp, {{{0x0412, 0x04B0}, {0x0409, 0x04B0}}, {{u"040904B0\\ProductName", u"English"}}});
  EXPECT_TRUE(Versions(kApp, count).empty());
  EXPECT_EQ(count, 0);

  windows.versions.Set(kApp, {{{0x0409, 0x04E4}}, {{u"040904E4\\ProductName", u""}}});  // upper-case hex
  values = Versions(kApp, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(values[u"ProductName"], u"");
}

TEST_F(FileInfoTest, NoVersionResourceMissingFileOrNoTranslation) {
  int count = -1;
  EXPECT_TRUE(Versions(kApp, count).empty());  // no version resource
  EXPECT_EQ(count, 0);
  windows.versions.SetProductName(u"C:\\Tools\\gone.exe", u"Gone");
  EXPECT_TRUE(Versions(u"C:\\Tools\\gone.exe", count).empty());
  EXPECT_EQ(windows.versions.Reads(u"C:\\Tools\\gone.exe"), 0) << "a missing file is not read";
  windows.versions.Set(kApp, {{}, {{u"040904B0\\ProductName", u"x"}}});
  EXPECT_TRUE(Versions(kApp, count).empty());
  EXPECT_TRUE(Versions(kFolder, count).empty());  // a folder is no file
}

TEST_F(FileInfoTest, IconsExtractedOncePerKey) {
  windows.icons.SetIcons(kApp, 3);
  const int first = Icon(kApp);
  EXPECT_EQ(first, 4);  // after the four built-in images
  EXPECT_EQ(Icon(u"\"C:\\Tools\\app.exe\""), first);
  EXPECT_EQ(Icon(u"  C:\\Tools\\app.exe \t"), first);
  EXPECT_EQ(windows.icons.Extractions(kApp), 1);

  const int second = Icon(u"C:\\Tools\\app.exe,2");
  EXPECT_EQ(second, 5);
  EXPECT_EQ(images.names.back(), u"C:\\Tools\\app.exe,2");
  EXPECT_EQ(images.icons.back().second, 2);
  EXPECT_EQ(Icon(u"C:\\Tools\\app.exe, 2"), 6) << "a different text is a different key";
  EXPECT_EQ(images.icons.back().second, 2);
  EXPECT_EQ(Icon(u"C:\\Tools\\app.exe,x"), 7);  // not a number: the default, 1
  EXPECT_EQ(images.icons.back().second, 1);
}

TEST_F(FileInfoTest, MissingFilesAndFailuresAreNotCached) {
  const Text later = u"C:\\Tools\\later.exe";
  EXPECT_EQ(Icon(later), 0);
  windows.files.AddFile(kFolder, u"later.exe");
  windows.icons.SetIcons(later, 1);
  EXPECT_EQ(Icon(later), 4) << "tried again once the file exists";

  windows.files.AddFile(kFolder, u"plain.txt");
  EXPECT_EQ(Icon(u"C:\\Tools\\plain.txt"), 0);  // no icon at all
  EXPECT_EQ(Icon(u"C:\\Tools\\plain.txt"), 0);
  EXPECT_EQ(windows.icons.Extractions(u"C:\\Tools\\plain.txt"), 2);

  EXPECT_EQ(Icon(u"", 1), 1);
  EXPECT_EQ(Icon(u"\"\"  ", 7), 7);

  windows.icons.SetIcons(kApp, 1);
  windows.faults.Fail("ImageList_AddIcon", kApp, 1);
  EXPECT_EQ(Icon(kApp, 1), 1);  // the collection refused: the default, nothing cached
  EXPECT_EQ(Icon(kApp, 1), 5);
}

}  // namespace
}  // namespace tarnwick
