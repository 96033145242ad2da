#include <gtest/gtest.h>

#include "cli/tarnwickc.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/sources.h"
#include "core/catalogue/store_apps.h"
#include "core/catalogue/task_definition.h"
#include "core/catalogue/toggles.h"
#include "core/startup/autorun_model.h"
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

Text TaskXml(TextView trigger, TextView command, bool enabled = true, bool hidden = false) {
  return u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Task version=\"1.2\" "
         u"xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\"><Triggers>" + Text(trigger) +
         u"</Triggers><Settings><Enabled>" + Text(enabled ? u"true" : u"false") + u"</Enabled><Hidden>" +
         Text(hidden ? u"true" : u"false") + u"</Hidden></Settings><Actions Context=\"Author\"><Exec><Command>" +
         Text(command) + u"</Command><Arguments>/check</Arguments></Exec></Actions></Task>";
}
constexpr char16_t kLogon[] = u"<LogonTrigger><Enabled>true</Enabled></LogonTrigger>";
constexpr char16_t kBoot[] = u"<BootTrigger/>";
constexpr char16_t kDaily[] = u"<CalendarTrigger><ScheduleByDay/></CalendarTrigger>";

class TaskFoldersTest : public MoreSourcesTest {
 protected:
  void Add(TextView folder, TextView name, TextView trigger, bool enabled = true, bool hidden = false) {
    windows.tasks.tasks.push_back(
        {Text(folder), Text(name), enabled, hidden, TaskXml(trigger, u"C:\\Vendor\\" + Text(name) + u".exe")});
  }
  std::vector<Text> Targets() {
    TAutorunList list;
    ReadScheduledTasks(list, windows.app());
    std::vector<Text> targets;
    for (const TAutorunInfo& entry : list) targets.push_back(entry.Target + (entry.Enabled ? u"" : u" (off)"));
    return targets;
  }
};

TEST_F(TaskFoldersTest, EveryFolderGivesItsLogonAndBootTasksAfterTheWholeRoot) {
  Add(u"\\", u"RootDaily", kDaily);
  Add(u"\\Vendor", u"Updater", kLogon, false);
  Add(u"\\Vendor", u"Daily", kDaily);
  Add(u"\\Vendor\\Sub", u"Deep", kBoot);
  Add(u"\\Microsoft\\Windows", u"Defrag", kBoot);
  EXPECT_EQ(Targets(), (std::vector<Text>{u"\\RootDaily", u"\\Vendor\\Updater (off)", u"\\Vendor\\Sub\\Deep",
                                          u"\\Microsoft\\Windows\\Defrag"}));
  TAutorunList list;
  ReadScheduledTasks(list, windows.app());
  EXPECT_EQ(list[1].Caption, u"Updater");
  EXPECT_EQ(list[1].FileName, u"C:\\Vendor\\Updater.exe");
  EXPECT_EQ(list[1].RawData, u"\"C:\\Vendor\\Updater.exe\" /check");

  EXPECT_EQ(SetAutorunEnabled({u"SCHE", u"\\Vendor\\Updater"}, true, windows.app()), SwitchStatus::Done);
  EXPECT_TRUE(windows.tasks.Find(u"\\Vendor", u"Updater")->enabled);

  // Windows' own tasks only with "All Programs".
  sim::SimImageCollection images(windows.faults);
  FilterList fileWhite(windows.locale), nameWhite(windows.locale), nameBlack(windows.locale);
  AutorunModel model(images, {fileWhite, nameWhite, nameBlack});
  model.LoadAutorun(windows.app());
  for (const TAutorunItem& row : model.Rows()) EXPECT_NE(row.Target, u"\\Microsoft\\Windows\\Defrag");
  model.Clear();
  model.allList = true;
  model.LoadAutorun(windows.app());
  EXPECT_NE(model.FindNode({u"SCHE", u"\\Microsoft\\Windows\\Defrag"}), nullptr);
}

TEST_F(TaskFoldersTest, WithoutAnEnumerableCollectionTheDefinitionFilesAreRead) {
  const Text tasks = u"C:\\Windows\\System32\\Tasks";
  auto file = [&](TextView folder, TextView name, const Text& xml) {
    windows.files.AddFolder(folder);
    std::string bytes = "\xFF\xFE";
    for (char16_t c : xml) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Text message;
    ASSERT_TRUE(windows.files.WriteWholeFile(Text(folder) + u"\\" + Text(name), bytes, message));
  };
  windows.files.AddSubfolder(tasks, u"Vendor");
  windows.files.AddSubfolder(tasks, u"Microsoft");
  file(tasks, u"RootDaily", TaskXml(kDaily, u"C:\\r.exe"));
  file(tasks, u"Hidden", TaskXml(kLogon, u"C:\\h.exe", true, true));
  file(tasks + u"\\Vendor", u"Updater", TaskXml(kLogon, u"C:\\u.exe", false));
  file(tasks + u"\\Vendor", u"Daily", TaskXml(kDaily, u"C:\\d.exe"));
  file(tasks + u"\\Vendor", u"Broken", Text(u"<Task><Triggers>"));
  file(tasks + u"\\Microsoft", u"Boot", TaskXml(kBoot, u"C:\\b.exe"));
  // The scheduler knows one of them and says it is on, whatever its file says.
  windows.tasks.tasks.push_back({u"\\Vendor", u"Updater", true, false, {}});
  windows.faults.Fail("IRegisteredTaskCollection::get_Count", {}, 1);  // the root cannot be counted
  EXPECT_EQ(Targets(), (std::vector<Text>{u"\\RootDaily", u"\\Vendor\\Updater", u"\\Microsoft\\Boot"}));

  windows.tasks.serviceRunning = false;
  windows.faults.Fail("IRegisteredTaskCollection::get_Count", {}, 1);
  EXPECT_TRUE(Targets().empty()) << "no scheduler, no tasks, as before";
}

TEST(TaskDefinitionTest, TriggersStateAndCommand) {
  TaskDefinition definition;
  ASSERT_TRUE(ParseTaskDefinition(u"<Task><Triggers><LogonTrigger><Enabled>false</Enabled></LogonTrigger>"
                                  u"<TimeTrigger/></Triggers><Settings><Enabled>false</Enabled></Settings>"
                                  u"<Actions><Exec><Command> %windir%\\x.exe </Command></Exec></Actions></Task>",
                                  definition));
  EXPECT_FALSE(definition.atLogonOrBoot) << "a switched-off logon trigger starts nothing";
  EXPECT_FALSE(definition.enabled);
  EXPECT_EQ(definition.command, u"%windir%\\x.exe");
  EXPECT_FALSE(ParseTaskDefinition(u"<Other/>", definition));
  EXPECT_FALSE(ParseTaskDefinition(u"<Task>", definition));
}

}  // namespace
}  // namespace tarnwick
