#include <gtest/gtest.h>

#include "core/catalogue/startup_approved.h"
#include "core/startup/autorun_model.h"
#include "core/error.h"
#include "platform/sim/sim_windows.h"
#include "tests/native/registry_paths.h"

namespace tarnwick {
namespace {

using namespace test_keys;

class AutorunModelTest : public ::testing::Test {
 protected:
  std::vector<Text> Names() {
    std::vector<Text> names;
    for (const TAutorunItem& row : model.Rows()) names.push_back(row.DisplayName);
    return names;
  }
  void Load() { model.LoadAutorun(windows.app()); }

  sim::SimWindows windows;
  sim::SimImageCollection images{windows.faults};
  FilterList fileWhite{windows.locale}, nameWhite{windows.locale}, nameBlack{windows.locale};
  AutorunModel model{images, {fileWhite, nameWhite, nameBlack}};
};

TEST_F(AutorunModelTest, NewRowsGetNamesIconsAndFilters) {
  windows.files.AddFile(u"C:\\App", u"app.exe");
  windows.versions.SetProductName(u"C:\\App\\app.exe", u"App Suite");
  windows.icons.SetIcons(u"C:\\App\\app.exe", 1);
  windows.registry.SetString(kCU, kRun, u"AppTray", u"\"C:\\App\\app.exe\" /tray");
  windows.registry.SetString(kCU, kRun, u"NoVersion", u"C:\\App\\missing.exe");
  windows.registry.SetString(kCU, kRun, u"", u"C:\\App\\app.exe");  // no caption: no row
  windows.registry.SetString(kLM, kRun, u"TarnwickTray", u"C:\\T\\Tarnwick.exe");
  windows.services.Add({u"cbdhsvc_4f2a1", u"Clipboard", u"svchost.exe -k x", scm::kAutoStart});
  windows.services.Add({u"Vendor", u"Vendor Service", u"v.exe", scm::kAutoStart});
  windows.tasks.tasks = {{u"\\", u"Vendor Update"}};
  windows.files.AddFile(sim::kUserStartup, u"svchost.exe");
  windows.files.AddFile(sim::kUserStartup, u"Helper.lnk");
  nameWhite.Add(u"cbdhsvc_");
  nameWhite.Add(u"Tarnwick");
  fileWhite.Add(u"svchost.exe*");
  nameBlack.Add(u"Vendor Service");  // no rule reads it

  Load();
  EXPECT_EQ(Names(), (std::vector<Text>{u"Helper", u"App Suite", u"NoVersion", u"Vendor Update", u"Vendor Service"}));
  const auto& rows = model.Rows();
  EXPECT_EQ(rows[0].Icon, 0) << "a shortcut without an icon source: the blank page";
  EXPECT_EQ(rows[1].Icon, 4) << "the extracted icon after the four built-in ones";
  EXPECT_EQ(rows[2].Icon, 0) << "missing file";
  EXPECT_EQ(rows[3].Icon, builtin_image::kTask);
  EXPECT_EQ(rows[4].Icon, builtin_image::kService);
  EXPECT_EQ(rows[1].From, u"HKCU");
  EXPECT_EQ(model.ListAutoObj.size(), 9u) << "the catalogue keeps hidden entries";
}

TEST_F(AutorunModelTest, MergeKeepsOrderStateAndRowsUntilRebuilt) {
  windows.services.Add({u"A", u"Alpha", u"a.exe", scm::kAutoStart});
  windows.services.Add({u"B", u"Beta", u"b.exe", scm::kAutoStart});
  windows.services.Add({u"C", u"Gamma", u"c.exe", scm::kDisabled});
  Load();
  EXPECT_EQ(Names(), (std::vector<Text>{u"Alpha", u"Beta"}));

  windows.services.Find(u"A")->startType = scm::kDisabled;  // toggled off: stays, grey
  windows.services.Find(u"B")->displayName = u"Renamed";    // shown rows keep their text
  Load();
  EXPECT_EQ(Names(), (std::vector<Text>{u"Alpha", u"Beta"}));
  EXPECT_FALSE(model.Rows()[0].Enabled);

  model.allList = true;
  model.Clear();
  Load();
  EXPECT_EQ(Names(), (std::vector<Text>{u"Alpha", u"Renamed", u"Gamma"}));

  windows.services.Remove(u"B");
  Load();
  EXPECT_EQ(Names(), (std::vector<Text>{u"Alpha", u"Gamma"}));
  Load();
  EXPECT_EQ(Names(), (std::vector<Text>{u"Alpha", u"Gamma"})) << "a refresh without changes changes nothing";
}

TEST_F(AutorunModelTest, IdentitiesDifferingOnlyInCaseShareARow) {
  windows.registry.SetString(kCU, kRun, u"Tool", u"t.exe");
  windows.registry.SetString(kCU, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", u"tool", u"t.exe");
  Load();
  ASSERT_EQ(model.Rows().size(), 1u);
  EXPECT_NE(model.FindNode({u"hkcu", u"hkcu\\software\\microsoft\\windows\\currentversion\\run\\TOOL"}), nullptr);
  EXPECT_EQ(model.FindNode({u"HKCU", u"HKCU\\Other"}), nullptr);
}

TEST_F(AutorunModelTest, FiltersAreReadOnlyForNewRowsAndByTheirOwnList) {
  windows.services.Add({u"Helper", u"Helper", u"h.exe", scm::kAutoStart});
  windows.files.AddFile(sim::kUserStartup, u"Helper.lnk");
  Load();
  EXPECT_EQ(model.Rows().size(), 2u);
  nameWhite.Add(u"Helper");  // arrives later, as the server's rows do
  Load();
  EXPECT_EQ(model.Rows().size(), 2u) << "shown rows stay until the list is rebuilt";
  model.Clear();
  Load();
  ASSERT_EQ(model.Rows().size(), 1u) << "the name list never hides startup-folder files";
  EXPECT_EQ(model.Rows()[0].From, u"FILE");
}

TEST_F(AutorunModelTest, RefreshErrorLeavesTheRowsAndTheWholeCatalogue) {
  windows.files.AddFile(sim::kCommonStartup, u"first.lnk");
  windows.services.Add({u"A", u"Alpha", u"a.exe", scm::kAutoStart});
  Load();
  const TAutorunList before = model.ListAutoObj;
  ASSERT_EQ(before.size(), 2u);

  // Fails part-way: the all-users folder is read, the user's folder is not.
  windows.files.AddFile(sim::kCommonStartup, u"second.lnk");
  windows.faults.Fail("FindFirstFileW", sim::kUserStartup);
  EXPECT_THROW(Load(), TarnwickError);
  EXPECT_EQ(Names(), (std::vector<Text>{u"first", u"Alpha"}));
  ASSERT_EQ(model.ListAutoObj.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(model.ListAutoObj[i].Target, before[i].Target);
}

TEST_F(AutorunModelTest, IconsAndVersionsAreReadOnceForAPathAcrossRows) {
  windows.files.AddFile(u"C:\\App", u"app.exe");
  windows.icons.SetIcons(u"C:\\App\\app.exe", 1);
  windows.registry.SetString(kCU, kRun, u"One", u"C:\\App\\app.exe");
  windows.registry.SetString(kCU, kRun, u"Two", u"\"C:\\App\\app.exe\" -x");
  Load();
  Load();
  EXPECT_EQ(windows.icons.Extractions(u"C:\\App\\app.exe"), 1);
  EXPECT_EQ(windows.versions.Reads(u"C:\\App\\app.exe"), 1)
      << "read once per file in a refresh that adds rows for it, never for shown rows";
}

}  // namespace
}  // namespace tarnwick
