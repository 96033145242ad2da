#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/startup_approved.h"
#include "core/catalogue/toggles.h"
#include "core/error.h"
#include "platform/sim/sim_windows.h"
#include "tests/native/registry_paths.h"

namespace tarnwick {
namespace {

using namespace test_keys;

class TogglesTest : public ::testing::Test {
 protected:
  void Toggle(TextView target, TextView from, bool enable) { SetAutorunEnabled(target, from, enable, windows.app()); }
  Bytes Stored(RootKey root, TextView key, TextView name) {
    const RegistryValue* value = windows.registry.Get(root, key, name);
    return value ? value->data : Bytes{};
  }
  Bytes Expected(uint8_t state) {
    Bytes b = {state, 0, 0, 0};
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<uint8_t>(windows.clock.now >> (8 * i)));
    return b;
  }
  sim::SimWindows windows;
};

TEST_F(TogglesTest, RunValuesGetStartupApprovedUnderTheirRootAndKey) {
  windows.registry.SetString(kLM, kRun, u"App", u"app.exe");
  windows.registry.SetString(kLM, kRun32, u"Old", u"old.exe");
  windows.registry.SetString(kCU, kRun, u"Mine", u"mine.exe");
  const Text lm = u"HKLM\\" + Text(kRun) + u"\\App";
  const Text lm32 = u"HKLM\\" + Text(kRun32) + u"\\Old";
  const Text cu = u"HKCU\\" + Text(kRun) + u"\\Mine";

  Toggle(lm, u"HKLM", false);
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"App"), Expected(0x03));
  windows.clock.now += 1234567;
  Toggle(lm, u"HKLM", true);
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"App"), Expected(0x02));
  EXPECT_EQ(windows.registry.Get(kLM, kRun, u"App")->data, RegDataFromText(u"app.exe"));

  Toggle(lm32, u"HKLM", false);
  EXPECT_EQ(Stored(kLM, kApprovedRun32, u"Old"), Expected(0x03));
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"Old"), Bytes{});
  Toggle(cu, u"anything", false);  // any other code is a registry entry
  EXPECT_EQ(Stored(kCU, kApprovedRun, u"Mine"), Expected(0x03));

  TAutorunList list;
  RefreshAutorun(list, windows.app());
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_FALSE(list[1].Enabled);
  EXPECT_FALSE(list[2].Enabled);

  Toggle(u"HKCU\\Run", u"HKCU", false);  // does not parse: nothing happens
  EXPECT_FALSE(windows.registry.KeyExists(kCU, u"Run"));
}

TEST_F(TogglesTest, StartupFilesWriteUnderTheFoldersRootWithTheExtension) {
  const Text common = Text(sim::kCommonStartup) + u"\\Agent.lnk";
  const Text user = Text(sim::kUserStartup) + u"\\Tool.exe";
  windows.files.AddFile(sim::kCommonStartup, u"Agent.lnk");
  windows.files.AddFile(sim::kUserStartup, u"Tool.exe");
  Toggle(common, u"file", false);
  Toggle(user, u"FILE", false);
  EXPECT_EQ(Stored(kLM, kApprovedFolder, u"Agent.lnk"), Expected(0x03));
  EXPECT_EQ(Stored(kCU, kApprovedFolder, u"Tool.exe"), Expected(0x03));
  EXPECT_EQ(Stored(kCU, kApprovedFolder, u"Agent.lnk"), Bytes{});
  EXPECT_TRUE(windows.files.FileExists(common));
}

TEST_F(TogglesTest, ServicesGoAutomaticOrDisabled) {
  windows.services.Add({u"Svc", u"Svc", u"s.exe", scm::kDemandStart});
  Toggle(u"Svc", u"SERV", true);
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kAutoStart);
  Toggle(u"svc", u"serv", false);
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kDisabled);

  windows.faults.Fail("OpenServiceW");
  Toggle(u"Svc", u"SERV", true);  // refused: silent, unchanged
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kDisabled);
  Toggle(u"Missing", u"SERV", true);
  EXPECT_EQ(windows.services.OpenHandles(), 0);
}

TEST_F(TogglesTest, BeforeWindows10DisablingRemovesAndEnablingDoesNothing) {
  windows.systemInfo.majorVersion = 6;
  windows.registry.SetString(kCU, kRun, u"Mine", u"mine.exe");
  windows.files.AddFile(sim::kUserStartup, u"Tool.lnk");
  const Text file = Text(sim::kUserStartup) + u"\\Tool.lnk";

  Toggle(u"HKCU\\" + Text(kRun) + u"\\Mine", u"HKCU", true);
  Toggle(file, u"FILE", true);
  EXPECT_NE(windows.registry.Get(kCU, kRun, u"Mine"), nullptr);
  EXPECT_TRUE(windows.files.FileExists(file));
  EXPECT_FALSE(windows.registry.KeyExists(kCU, kApprovedRun));

  Toggle(u"HKCU\\" + Text(kRun) + u"\\Mine", u"HKCU", false);
  Toggle(file, u"FILE", false);
  EXPECT_EQ(windows.registry.Get(kCU, kRun, u"Mine"), nullptr);
  EXPECT_FALSE(windows.files.FileExists(file));

  windows.files.AddFile(sim::kUserStartup, u"Locked.lnk");
  windows.faults.Fail("DeleteFileW");
  EXPECT_THROW(Toggle(Text(sim::kUserStartup) + u"\\Locked.lnk", u"FILE", false), TarnwickError);
}

}  // namespace
}  // namespace tarnwick
