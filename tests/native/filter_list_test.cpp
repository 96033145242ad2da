#include <gtest/gtest.h>

#include "core/filters/filter_list.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

class FilterListTest : public ::testing::Test {
 protected:
  FilterList List(std::initializer_list<const char16_t*> rows) {
    FilterList list(windows.locale);
    for (const char16_t* row : rows) list.Add(row);
    return list;
  }
  bool Name(const FilterList& list, TextView subject) { return MatchList(list, subject, false, vars); }
  bool File(const FilterList& list, TextView subject) { return MatchList(list, subject, true, vars); }

  sim::SimWindows windows;
  FolderVars vars = windows.app().folderVars;
};

TEST_F(FilterListTest, RowsAreSortedWithoutCaseAndTheFirstStays) {
  FilterList list = List({u"spooler", u"BFE", u"Spooler", u"audiosrv", u"\u00E9t\u00E9", u"\u00C9T\u00C9"});
  EXPECT_EQ(list.Rows(), (std::vector<Text>{u"audiosrv", u"BFE", u"spooler", u"\u00E9t\u00E9"}));
  EXPECT_TRUE(list.Contains(u"SPOOLER"));
}

TEST_F(FilterListTest, NameRuleIsACaseInsensitivePrefix) {
  const FilterList list = List({u"cbdhsvc_", u"Spooler", u"", u"//Themes", u"  Dhcp  "});
  for (const char16_t* name : {u"cbdhsvc_4f2a1", u"CBDHSVC_X", u"Spooler", u"SpoolerX", u"dhcp"}) {
    EXPECT_TRUE(Name(list, name)) << ToUtf8(name);
  }
  for (const char16_t* name : {u"cbdhsvc", u"Spoole", u"Themes", u"//Themes", u"", u"xSpooler"}) {
    EXPECT_FALSE(Name(list, name)) << ToUtf8(name);
  }
}

TEST_F(FilterListTest, FileRuleRowsByNameAndByPathFragment) {
  const FilterList list = List({u"svchost.exe*", u"%ProgramFiles(x86)%\\VMware\\VMware Tools\\vmtoolsd.exe",
                                u"Start*Menu", u"//C:\\"});
  const Text startup = u"C:\\Users\\u\\Start Menu\\Programs\\Startup\\";
  EXPECT_TRUE(File(list, startup + u"SVCHOST.EXE"));
  EXPECT_TRUE(File(list, u"D:SVCHOST.exe"));
  EXPECT_FALSE(File(list, startup + u"svchost.exe.lnk"));
  EXPECT_FALSE(File(list, u"svchost.exe"  u"x"));
  EXPECT_TRUE(File(list, u"c:\\program files (x86)\\vmware\\VMWARE TOOLS\\vmtoolsd.exe --x"));
  EXPECT_FALSE(File(list, u"C:\\Program Files\\VMware\\VMware Tools\\vmtoolsd.exe"));
  EXPECT_TRUE(File(list, u"C:\\x\\Start*Menu"));  // a "*" inside a row is an ordinary character
  EXPECT_FALSE(File(list, u"C:\\x\\StartXMenu"));
  EXPECT_FALSE(File(list, u"C:\\anything.lnk"));  // the comment row never matches
}

TEST_F(FilterListTest, FragmentsUpperCaseAllLetters) {
  const FilterList list = List({u"\\\u0416\u0443\u043A\\"});
  EXPECT_TRUE(File(list, u"C:\\\u0436\u0423\u041A\\a.lnk"));
  EXPECT_TRUE(Name(List({u"\u00E9t\u00E9"}), u"\u00C9T\u00C9 service"));
}

TEST_F(FilterListTest, ServerArraysAddStringRowsOnly) {
  FilterList list = List({u"spooler"});
  MergeServerList(list, R"({"name_white": ["Spooler", "BFE", 12, null, {"a": 1}, ["x"], "Dhcp"]})", "name_white");
  EXPECT_EQ(list.Rows(), (std::vector<Text>{u"BFE", u"Dhcp", u"spooler"}));
  for (const char* answer : {"", "not json", "[1,2]", R"({"name_white": "Spooler2"})", R"({"other": ["x"]})",
                             R"({"name_white": ["unterminated)"}) {
    MergeServerList(list, answer, "name_white");
  }
  EXPECT_EQ(list.Rows().size(), 3u);
  MergeServerList(list, R"({"name_white": ["\uC548\uB7A9", "a\u0000b"]})", "name_white");
  EXPECT_TRUE(list.Contains(u"\uC548\uB7A9"));
}

TEST_F(FilterListTest, ResourcesLoadAsListsAndMissingOnesLeaveTheListAlone) {
  ASSERT_TRUE(windows.resources.LoadFile(u"NAME_WHITE", TARNWICK_SOURCE_DIR "/resources/name_white.txt"));
  ASSERT_TRUE(windows.resources.LoadFile(u"FILE_WHITE", TARNWICK_SOURCE_DIR "/resources/file_white.txt"));
  FilterList names(windows.locale);
  LoadListResource(names, windows.resources, u"name_white");
  EXPECT_EQ(names.Rows().size(), 84u);  // 83 rows and the empty one
  EXPECT_EQ(names.Rows().front(), u"");
  for (const char16_t* service : {u"Tarnwick", u"TarnwickService", u"tarnwickc", u"WpnUserService_1a2b",
                                  u"CreateExplorerShellUnelevatedTask", u"Spooler"}) {
    EXPECT_TRUE(Name(names, service)) << ToUtf8(service);
  }
  EXPECT_FALSE(Name(names, u"SomeVendorUpdater"));

  FilterList files(windows.locale);
  LoadListResource(files, windows.resources, u"FILE_WHITE");
  EXPECT_TRUE(File(files, u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Tarnwick.lnk"));
  EXPECT_TRUE(File(files, u"C:\\x\\ctfmon.exe"));
  EXPECT_FALSE(File(files, u"C:\\x\\vendor.lnk"));

  FilterList kept = List({u"keep"});
  LoadListResource(kept, windows.resources, u"NO_SUCH_LIST");
  EXPECT_EQ(kept.Rows(), (std::vector<Text>{u"keep"}));
}

}  // namespace
}  // namespace tarnwick
