#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/tarnwickc.h"
#include "core/catalogue/startup_approved.h"
#include "core/choices/choices.h"
#include "core/registry/registry.h"
#include "core/startup/startup_list.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char16_t kUpdater[] = u"C:\\Program Files\\Vendor\\updater.exe";

class ChoicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.files.AddFile(u"C:\\Program Files\\Vendor", u"updater.exe");
    windows.registry.SetString(root::kCurrentUser, kRunKey, u"VendorUpdate", Text(u"\"") + kUpdater + u"\" /tray");
  }
  StartupList& List() {
    app.emplace(windows.app());
    list.emplace(*app, images);
    list->buildRows = false;
    list->Load();
    return *list;
  }
  const EntryId kId{u"HKCU", u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\VendorUpdate"};
  void SwitchOff() { ASSERT_EQ(List().Toggle(kId, false), ToggleOutcome::Switched); }

  sim::SimWindows windows;
  sim::SimImageCollection images{windows.faults, 4};
  std::optional<AppContext> app;
  std::optional<StartupList> list;
};

TEST_F(ChoicesTest, ASwitchOffIsRememberedWithItsImageAndASwitchOnForgetsIt) {
  windows.clock.now = 0x01DB6A8F4C3E8000;
  SwitchOff();
  const std::vector<Choice> all = ChoiceStore(windows.registry).All();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].id, kId);
  EXPECT_EQ(all[0].switchedOff, 0x01DB6A8F4C3E8000u);
  EXPECT_EQ(all[0].image, kUpdater);
  EXPECT_EQ(List().CameBackOf(kId), nullptr) << "still off: nothing came back";

  ASSERT_EQ(List().Toggle(kId, true), ToggleOutcome::Switched);
  EXPECT_TRUE(ChoiceStore(windows.registry).All().empty());

  // A damaged record is left out, not misread.
  windows.registry.SetString(root::kCurrentUser, choices::kKey, u"HKCU|x", u"off|not a time|C:\\x.exe");
  windows.registry.SetString(root::kCurrentUser, choices::kKey, u"no bar", u"off|1|C:\\x.exe");
  EXPECT_TRUE(ChoiceStore(windows.registry).All().empty());
}

TEST_F(ChoicesTest, AnUpdaterThatDeletesTheApprovedValueComesBack) {
  SwitchOff();
  ASSERT_TRUE(TReg(windows.registry).DeleteValue(root::kCurrentUser, startup_approved::kRunKey, u"VendorUpdate"));
  const CameBack* back = List().CameBackOf(kId);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->sameEntry);

  // One action switches it off again, and the mark goes.
  ASSERT_EQ(List().Toggle(kId, false), ToggleOutcome::Switched);
  EXPECT_EQ(list->CameBackOf(kId), nullptr);
}

TEST_F(ChoicesTest, AProgramThatReturnsAsAnotherEntryComesBackAsThatEntry) {
  SwitchOff();
  // Rewriting its own value leaves the switch as the user set it.
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"VendorUpdate", Text(u"\"") + kUpdater + u"\" /silent");
  EXPECT_EQ(List().CameBackOf(kId), nullptr);

  // Gone from Run, back as a scheduled task starting the same program.
  ASSERT_TRUE(TReg(windows.registry).DeleteValue(root::kCurrentUser, kRunKey, u"VendorUpdate"));
  windows.tasks.tasks.push_back({u"\\Vendor", u"Update", true, false,
                                 u"<Task><Triggers><LogonTrigger/></Triggers><Actions><Exec><Command>" + Text(kUpdater) +
                                     u"</Command></Exec></Actions></Task>"});
  const EntryId task{u"SCHE", u"\\Vendor\\Update"};
  const CameBack* back = List().CameBackOf(task);
  ASSERT_NE(back, nullptr);
  EXPECT_FALSE(back->sameEntry);
  EXPECT_EQ(back->earlier.id, kId);

  const std::vector<Text> args = {u"list", u"--json"};
  const auto json = nlohmann::json::parse(RunTarnwickc(args, windows.app()).out);
  ASSERT_EQ(json.size(), 1u);
  EXPECT_EQ(json[0]["cameBack"]["target"], ToUtf8(kId.target));
  EXPECT_EQ(json[0]["cameBack"]["sameEntry"], false);

  // The user accepts it: the record and the mark go.
  List().Dismiss(task);
  EXPECT_EQ(list->CameBackOf(task), nullptr);
  EXPECT_EQ(List().CameBackOf(task), nullptr);
  EXPECT_TRUE(ChoiceStore(windows.registry).All().empty());
}

TEST(ChoiceTimeTest, FileTimesReadAsUtcDates) {
  EXPECT_EQ(ChoiceTimeText(0), u"1601-01-01 00:00 UTC");
  EXPECT_EQ(ChoiceTimeText(116444736000000000ULL), u"1970-01-01 00:00 UTC");
  EXPECT_EQ(ChoiceTimeText(116444736000000000ULL + 10000000ULL * 1796914800ULL), u"2026-12-10 15:00 UTC");
}

}  // namespace
}  // namespace tarnwick
