#include <gtest/gtest.h>

#include "cli/tarnwickc.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/store_apps.h"
#include "core/catalogue/toggles.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr char16_t kRunOnce[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char16_t kPolicyRun[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr char16_t kWinlogon[] = u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char16_t kFamily[] = u"Contoso.Sync_8wekyb3d8bbwe";
constexpr char16_t kPackage[] = u"Contoso.Sync_1.2.3.0_x64__8wekyb3d8bbwe";
constexpr char16_t kPackageFolder[] = u"C:\\Program Files\\WindowsApps\\Contoso.Sync_1.2.3.0_x64__8wekyb3d8bbwe";

std::string Manifest(TextView displayName) {
  return ToUtf8(u"\uFEFF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                u"<Package xmlns=\"http://schemas.microsoft.com/appx/manifest/foundation/windows10\" "
                u"xmlns:uap5=\"http://schemas.microsoft.com/appx/manifest/uap/windows10/5\">"
                u"<Applications><Application Id=\"App\" Executable=\"Sync.exe\"><Extensions>"
                u"<uap5:Extension Category=\"windows.startupTask\" Executable=\"bin\\SyncTray.exe\" EntryPoint=\"x\">"
                u"<uap5:StartupTask TaskId=\"SyncStartup\" Enabled=\"true\" DisplayName=\"" + Text(displayName) +
                u"\"/></uap5:Extension></Extensions></Application></Applications></Package>");
}

class MoreSourcesTest : public ::testing::Test {
 protected:
  TAutorunList Read() {
    TAutorunList list;
    const AppContext app = windows.app();
    ReadStoreAppTasks(list, app);
    ReadMoreRegistryKeys(list, app);
    return list;
  }
  void SeedStoreApp(TextView displayName, uint32_t state) {
    windows.registry.SetDword(root::kCurrentUser, Text(store_app::kSystemAppData) + u"\\" + kFamily + u"\\SyncStartup",
                              u"State", state);
    windows.registry.SetDword(root::kCurrentUser, Text(store_app::kSystemAppData) + u"\\" + kFamily + u"\\Schemas",
                              u"Other", 1);  // app data that is no startup task
    windows.registry.SetString(root::kCurrentUser, Text(store_app::kPackages) + u"\\" + kPackage, u"PackageRootFolder",
                               kPackageFolder);
    windows.files.AddFolder(kPackageFolder);
    Text message;
    ASSERT_TRUE(windows.files.WriteWholeFile(Text(kPackageFolder) + u"\\AppxManifest.xml", Manifest(displayName),
                                             message));
  }
  int32_t State() {
    int32_t state = -1;
    EXPECT_TRUE(StoreTaskState(windows.app(), Text(kFamily) + u"\\SyncStartup", state));
    return state;
  }
  sim::SimWindows windows;
};

TEST_F(MoreSourcesTest, RunOncePolicyKeysAndAReplacedWinlogonAreShownNotSwitched) {
  windows.registry.SetString(root::kLocalMachine, kRunOnce, u"Finish", u"\"C:\\Setup\\finish.exe\" /last");
  windows.registry.SetString(root::kCurrentUser, kPolicyRun, u"Pushed", u"C:\\Corp\\agent.exe");
  windows.registry.SetString(root::kLocalMachine, kWinlogon, u"Shell", u"Explorer.exe ");
  windows.registry.SetString(root::kLocalMachine, kWinlogon, u"Userinit", u"C:\\Windows\\System32\\userinit.exe,");
  EXPECT_EQ(Read().size(), 2u) << "Windows' own Winlogon values are not listed";

  windows.registry.SetString(root::kLocalMachine, kWinlogon, u"Userinit",
                             u"C:\\Windows\\system32\\userinit.exe,C:\\Users\\Public\\u.exe");
  windows.registry.SetString(root::kLocalMachine, kWinlogon, u"Shell", u"C:\\Kiosk\\shell.exe");
  const TAutorunList list = Read();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].From, u"ONCE");
  EXPECT_EQ(list[0].Target, u"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Finish");
  EXPECT_EQ(list[0].FileName, u"C:\\Setup\\finish.exe");
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_EQ(list[1].From, u"POLI");
  EXPECT_EQ(list[1].Target, u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run\\Pushed");
  EXPECT_EQ(list[2].From, u"WLGN");
  EXPECT_EQ(list[2].Caption, u"Shell");
  EXPECT_EQ(list[2].FileName, u"C:\\Kiosk\\shell.exe");
  EXPECT_EQ(list[3].Caption, u"Userinit");

  for (const TAutorunInfo& entry : list) {
    EXPECT_EQ(SwitchBlockOf(EntryId::Of(entry), windows.app()), SwitchBlock::NoReversibleSwitch);
    EXPECT_EQ(SetAutorunEnabled(EntryId::Of(entry), false, windows.app()), SwitchStatus::Blocked);
  }
  EXPECT_FALSE(windows.registry.KeyExists(root::kLocalMachine,
                                          u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"));
  const std::vector<Text> args = {u"disable", u"ONCE",
                                  u"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Finish"};
  const CliResult result = RunTarnwickc(args, windows.app());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot be switched: Windows keeps no off state"), std::string::npos) << result.err;
}

TEST_F(MoreSourcesTest, AStoreAppTaskShowsItsManifestNameAndSwitchesLikeTheSystemsPage) {
  SeedStoreApp(u"Contoso Sync", store_app::kEnabled);
  TAutorunList list = Read();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].From, u"APPX");
  EXPECT_EQ(list[0].Caption, u"Contoso Sync");
  EXPECT_EQ(list[0].Target, Text(kFamily) + u"\\SyncStartup");
  EXPECT_EQ(list[0].FileName, Text(kPackageFolder) + u"\\bin\\SyncTray.exe");
  EXPECT_TRUE(list[0].Enabled);

  const EntryId id = EntryId::Of(list[0]);
  EXPECT_EQ(SetAutorunEnabled(id, false, windows.app()), SwitchStatus::Done);
  EXPECT_EQ(State(), store_app::kDisabledByUser);
  EXPECT_FALSE(Read()[0].Enabled);
  EXPECT_EQ(SetAutorunEnabled(id, true, windows.app()), SwitchStatus::Done);
  EXPECT_EQ(State(), store_app::kEnabled);

  for (uint32_t policy : {3u, 4u}) {
    SeedStoreApp(u"Contoso Sync", policy);
    EXPECT_EQ(SwitchBlockOf(id, windows.app()), SwitchBlock::SetByPolicy);
    EXPECT_EQ(SetAutorunEnabled(id, policy == 3, windows.app()), SwitchStatus::Blocked);
    EXPECT_EQ(State(), static_cast<int32_t>(policy)) << "the administrator's state stays";
  }
  EXPECT_EQ(SetAutorunEnabled({u"APPX", u"Gone_x\\Task"}, true, windows.app()), SwitchStatus::NotFound);
}

TEST_F(MoreSourcesTest, AStoreTaskWithoutAReadableNameGoesByItsFamily) {
  SeedStoreApp(u"ms-resource:StartupName", store_app::kDisabled);
  EXPECT_EQ(Read()[0].Caption, kFamily);
  EXPECT_FALSE(Read()[0].Enabled);
  Text message;
  ASSERT_TRUE(windows.files.RemoveFile(Text(kPackageFolder) + u"\\AppxManifest.xml", message));
  const TAutorunList list = Read();
  EXPECT_EQ(list[0].Caption, kFamily);
  EXPECT_TRUE(list[0].FileName.empty());

  ManifestTask task;
  EXPECT_FALSE(FindStartupTask(u"<Package><broken>", u"SyncStartup", task));
  EXPECT_FALSE(FindStartupTask(FromUtf8(Manifest(u"x")), u"OtherTask", task));
}

}  // namespace
}  // namespace tarnwick
