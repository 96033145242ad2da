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
  SwitchStatus Toggle(TextView target, TextView from, bool enable) {
    return SetAutorunEnabled({Text(from), Text(target)}, enable, windows.app());
  }
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

  EXPECT_EQ(Toggle(lm, u"HKLM", false), SwitchStatus::Done);
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"App"), Expected(0x03));
  windows.clock.now += 1234567;
  (void)Toggle(lm, u"HKLM", true);
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"App"), Expected(0x02));
  EXPECT_EQ(windows.registry.Get(kLM, kRun, u"App")->data, RegDataFromText(u"app.exe"));

  (void)Toggle(lm32, u"HKLM", false);
  EXPECT_EQ(Stored(kLM, kApprovedRun32, u"Old"), Expected(0x03));
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"Old"), Bytes{});
  (void)Toggle(cu, u"anything", false);  // any other code is a registry entry
  EXPECT_EQ(Stored(kCU, kApprovedRun, u"Mine"), Expected(0x03));

  TAutorunList list;
  RefreshAutorun(list, windows.app());
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_FALSE(list[1].Enabled);
  EXPECT_FALSE(list[2].Enabled);

  EXPECT_EQ(Toggle(u"HKCU\\Run", u"HKCU", false), SwitchStatus::NotFound) << "does not parse: nothing happens";
  EXPECT_FALSE(windows.registry.KeyExists(kCU, u"Run"));
}

TEST_F(TogglesTest, StartupFilesWriteUnderTheFoldersRootWithTheExtension) {
  const Text common = Text(sim::kCommonStartup) + u"\\Agent.lnk";
  const Text user = Text(sim::kUserStartup) + u"\\Tool.exe";
  windows.files.AddFile(sim::kCommonStartup, u"Agent.lnk");
  windows.files.AddFile(sim::kUserStartup, u"Tool.exe");
  (void)Toggle(common, u"file", false);
  (void)Toggle(user, u"FILE", false);
  EXPECT_EQ(Stored(kLM, kApprovedFolder, u"Agent.lnk"), Expected(0x03));
  EXPECT_EQ(Stored(kCU, kApprovedFolder, u"Tool.exe"), Expected(0x03));
  EXPECT_EQ(Stored(kCU, kApprovedFolder, u"Agent.lnk"), Bytes{});
  EXPECT_TRUE(windows.files.FileExists(common));
}

TEST_F(TogglesTest, ServicesGoAutomaticOrDisabled) {
  windows.services.Add({u"Svc", u"Svc", u"s.exe", scm::kDemandStart});
  (void)Toggle(u"Svc", u"SERV", true);
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kAutoStart);
  (void)Toggle(u"svc", u"serv", false);
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kDisabled);

  windows.faults.Fail("OpenServiceW");
  EXPECT_EQ(Toggle(u"Svc", u"SERV", true), SwitchStatus::Refused);  // unchanged
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kDisabled);
  (void)Toggle(u"Missing", u"SERV", true);
  EXPECT_EQ(windows.services.OpenHandles(), 0);
}

TEST_F(TogglesTest, ServicesComeBackWithTheStartTypeTheyHad) {
  struct Case {
    uint32_t startType;
    bool delayed;
  };
  for (const Case c : {Case{scm::kDemandStart, false}, Case{scm::kAutoStart, true}, Case{scm::kAutoStart, false}}) {
    sim::SimService service{u"Svc", u"Svc", u"s.exe", c.startType};
    service.delayedAutoStart = c.delayed;
    windows.services.Add(service);
    (void)Toggle(u"Svc", u"SERV", false);
    EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kDisabled);
    (void)Toggle(u"Svc", u"SERV", false);  // a second disable keeps the first record
    (void)Toggle(u"Svc", u"SERV", true);
    EXPECT_EQ(windows.services.Find(u"Svc")->startType, c.startType);
    EXPECT_EQ(windows.services.Find(u"Svc")->delayedAutoStart, c.delayed);
    EXPECT_EQ(windows.registry.Get(kLM, u"Software\\Morvessa\\Tarnwick\\ServiceStartTypes", u"Svc"), nullptr)
        << "the record goes once it is used";
  }
  EXPECT_EQ(windows.services.OpenHandles(), 0);
}

TEST_F(TogglesTest, ServiceRecordsThatNoLongerApplyAreDropped) {
  const Text records = u"Software\\Morvessa\\Tarnwick\\ServiceStartTypes";
  windows.services.Add({u"Svc", u"Svc", u"s.exe", scm::kDemandStart});

  // A refused disable leaves no record behind.
  windows.faults.Fail("ChangeServiceConfigW");
  EXPECT_EQ(Toggle(u"Svc", u"SERV", false), SwitchStatus::Refused);
  EXPECT_EQ(windows.registry.Get(kLM, records, u"Svc"), nullptr);
  windows.faults.Clear();

  // Changed by someone else after the disable: enabling means automatic, as without a record.
  (void)Toggle(u"Svc", u"SERV", false);
  windows.services.Find(u"Svc")->startType = scm::kDemandStart;
  (void)Toggle(u"Svc", u"SERV", true);
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kAutoStart);
  EXPECT_EQ(windows.registry.Get(kLM, records, u"Svc"), nullptr);

  // A record that names no start type a service can be given back is ignored.
  windows.services.Find(u"Svc")->startType = scm::kDisabled;
  windows.registry.SetDword(kLM, records, u"Svc", 7);
  (void)Toggle(u"Svc", u"SERV", true);
  EXPECT_EQ(windows.services.Find(u"Svc")->startType, scm::kAutoStart);
}

TEST_F(TogglesTest, RunValueNamedLikeAPathKeepsItsWholeName) {
  // Installers write values named with a path; a value named like its last part must stay on.
  windows.registry.SetString(kLM, kRun, u"C:\\Tools\\a.exe", u"C:\\Tools\\a.exe");
  windows.registry.SetString(kLM, kRun, u"a.exe", u"other.exe");
  const Text target = u"HKLM\\" + Text(kRun) + u"\\C:\\Tools\\a.exe";

  (void)Toggle(u"hklm\\SOFTWARE\\microsoft\\Windows\\CurrentVersion\\Run\\C:\\Tools\\a.exe", u"HKLM", false);
  EXPECT_EQ(Stored(kLM, kApprovedRun, u"C:\\Tools\\a.exe"), Expected(0x03));
  EXPECT_EQ(windows.registry.Get(kLM, kApprovedRun, u"a.exe"), nullptr);
  TAutorunList list;
  RefreshAutorun(list, windows.app());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Target, target);
  EXPECT_FALSE(list[0].Enabled);
  EXPECT_TRUE(list[1].Enabled);

  // Before Windows 8 the value alone is deleted; no key named after its parts appears.
  windows.systemInfo.majorVersion = 6;
  windows.systemInfo.minorVersion = 1;
  (void)Toggle(target, u"HKLM", false);
  EXPECT_EQ(windows.registry.Get(kLM, kRun, u"C:\\Tools\\a.exe"), nullptr);
  EXPECT_NE(windows.registry.Get(kLM, kRun, u"a.exe"), nullptr);
  EXPECT_FALSE(windows.registry.KeyExists(kLM, Text(kRun) + u"\\C:"));
}

TEST_F(TogglesTest, StartupApprovedFromWindows8On) {
  struct Case {
    uint32_t major, minor;
    bool approved;  // false: disabling deletes
  };
  const Case cases[] = {{5, 1, false}, {6, 0, false}, {6, 1, false}, {6, 2, true}, {6, 3, true}, {10, 0, true}};
  for (const Case& c : cases) {
    windows.systemInfo.majorVersion = c.major;
    windows.systemInfo.minorVersion = c.minor;
    const Text name = u"Mine" + FromUtf8(std::to_string(c.major * 10 + c.minor));
    windows.registry.SetString(kCU, kRun, name, u"mine.exe");
    (void)Toggle(u"HKCU\\" + Text(kRun) + u"\\" + name, u"HKCU", false);
    EXPECT_EQ(windows.registry.Get(kCU, kRun, name) != nullptr, c.approved) << c.major << "." << c.minor;
    EXPECT_EQ(Stored(kCU, kApprovedRun, name), c.approved ? Expected(0x03) : Bytes{}) << c.major << "." << c.minor;
  }
}

TEST_F(TogglesTest, DeletionBeforeWindows8TakesTheValueNotASubkeyOfItsName) {
  windows.systemInfo.majorVersion = 6;
  windows.registry.SetString(kCU, kRun, u"Foo", u"foo.exe");
  windows.registry.SetString(kCU, Text(kRun) + u"\\Foo", u"Inner", u"keep");
  (void)Toggle(u"HKCU\\" + Text(kRun) + u"\\Foo", u"HKCU", false);
  EXPECT_EQ(windows.registry.Get(kCU, kRun, u"Foo"), nullptr);
  EXPECT_NE(windows.registry.Get(kCU, Text(kRun) + u"\\Foo", u"Inner"), nullptr);
}

TEST_F(TogglesTest, BeforeWindows10DisablingRemovesAndEnablingDoesNothing) {
  windows.systemInfo.majorVersion = 6;
  windows.registry.SetString(kCU, kRun, u"Mine", u"mine.exe");
  windows.files.AddFile(sim::kUserStartup, u"Tool.lnk");
  const Text file = Text(sim::kUserStartup) + u"\\Tool.lnk";

  (void)Toggle(u"HKCU\\" + Text(kRun) + u"\\Mine", u"HKCU", true);
  (void)Toggle(file, u"FILE", true);
  EXPECT_NE(windows.registry.Get(kCU, kRun, u"Mine"), nullptr);
  EXPECT_TRUE(windows.files.FileExists(file));
  EXPECT_FALSE(windows.registry.KeyExists(kCU, kApprovedRun));

  (void)Toggle(u"HKCU\\" + Text(kRun) + u"\\Mine", u"HKCU", false);
  (void)Toggle(file, u"FILE", false);
  EXPECT_EQ(windows.registry.Get(kCU, kRun, u"Mine"), nullptr);
  EXPECT_FALSE(windows.files.FileExists(file));

  windows.files.AddFile(sim::kUserStartup, u"Locked.lnk");
  windows.faults.Fail("DeleteFileW");
  EXPECT_THROW(Toggle(Text(sim::kUserStartup) + u"\\Locked.lnk", u"FILE", false), TarnwickError);
}

}  // namespace
}  // namespace tarnwick
