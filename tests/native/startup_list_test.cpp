#include <gtest/gtest.h>

#include "core/error.h"
#include "core/startup/startup_list.h"
#include "platform/sim/sim_windows.h"
#include "tests/native/registry_paths.h"

namespace tarnwick {
namespace {

using namespace test_keys;

class StartupListTest : public ::testing::Test {
 protected:
  sim::SimWindows windows;
  AppContext app = windows.app();
  sim::SimImageCollection images{windows.faults};
  StartupList list{app, images};
};

TEST_F(StartupListTest, ATogglesOutcomeIsReadBackFromTheSystem) {
  windows.registry.SetString(kCU, kRun, u"Tool", u"t.exe");
  windows.services.Add({u"Manual", u"Manual One", u"m.exe", scm::kDemandStart});
  windows.services.Add({u"Locked", u"Locked One", u"l.exe", scm::kAutoStart});
  windows.files.AddFile(sim::kUserStartup, u"Old.lnk");
  list.allList = true;
  list.Load();
  const Text run = u"HKCU\\" + Text(kRun) + u"\\Tool";
  const Text file = Text(sim::kUserStartup) + u"\\Old.lnk";

  EXPECT_EQ(list.Toggle({u"hkcu", LowerAscii(run)}, false), ToggleOutcome::Switched) << "any case finds it";
  EXPECT_FALSE(list.Find({u"HKCU", run})->Enabled);
  ASSERT_NE(list.Model().FindNode({u"HKCU", run}), nullptr);
  EXPECT_FALSE(list.Model().FindNode({u"HKCU", run})->Enabled) << "the row shows it";

  EXPECT_EQ(list.Toggle({u"SERV", u"Manual"}, false), ToggleOutcome::Switched);
  EXPECT_EQ(list.Toggle({u"SERV", u"Manual"}, true), ToggleOutcome::ManualStartRestored);
  EXPECT_EQ(list.Toggle({u"SERV", u"Nowhere"}, true), ToggleOutcome::NotFound);
  windows.faults.Fail("ChangeServiceConfigW", u"Locked");
  EXPECT_EQ(list.Toggle({u"SERV", u"Locked"}, false), ToggleOutcome::Refused);

  windows.systemInfo.majorVersion = 6;
  windows.systemInfo.minorVersion = 1;
  EXPECT_EQ(list.Toggle({u"FILE", file}, false), ToggleOutcome::Removed);
  EXPECT_FALSE(windows.files.FileExists(file));
}

TEST_F(StartupListTest, RowsCarryTheirEntryAcrossRefreshes) {
  windows.services.Add({u"B", u"Bravo", u"b.exe", scm::kAutoStart});
  list.Load();
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.EntryOf(list.Rows()[0]).Target, u"B");
  windows.registry.SetString(kCU, kRun, u"A", u"a.exe");  // comes before the services
  list.Load();
  ASSERT_EQ(list.Rows().size(), 2u);
  for (const TAutorunItem& row : list.Rows()) EXPECT_EQ(list.EntryOf(row).Target, row.Target);
}

TEST_F(StartupListTest, ServerRowsReportWhetherTheyAddedAnything) {
  EXPECT_FALSE(list.MergeServerLists("{}"));
  EXPECT_FALSE(list.MergeServerLists("not json"));
  EXPECT_TRUE(list.MergeServerLists(R"({"name_white":["Vendor"]})"));
  EXPECT_FALSE(list.MergeServerLists(R"({"name_white":["Vendor"]})")) << "a row it has already";

  windows.services.Add({u"Vendor", u"Vendor Agent", u"v.exe", scm::kAutoStart});
  windows.services.Add({u"Other", u"Other Agent", u"o.exe", scm::kAutoStart});
  list.Rebuild();
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Rows()[0].DisplayName, u"Other Agent");
}

TEST_F(StartupListTest, TheSavedListIsTheLastCompleteCatalogue) {
  windows.files.AddFolder(u"C:\\Out");
  windows.files.AddFile(sim::kCommonStartup, u"first.lnk");
  list.Load();
  windows.files.AddFile(sim::kCommonStartup, u"second.lnk");
  windows.faults.Fail("FindFirstFileW", sim::kUserStartup);
  EXPECT_THROW(list.Load(), TarnwickError);
  Text message;
  ASSERT_TRUE(list.Save(u"C:\\Out\\list.txt", message)) << ToUtf8(message);
  const std::string saved = windows.files.Content(u"C:\\Out\\list.txt");
  EXPECT_NE(saved.find("first"), std::string::npos);
  EXPECT_EQ(saved.find("second"), std::string::npos) << "no entry of the failed refresh";
}

}  // namespace
}  // namespace tarnwick
