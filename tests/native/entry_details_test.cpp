#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/details/entry_details.h"
#include "core/details/entry_properties.h"
#include "core/details/signature_worker.h"
#include "core/startup/entry_lookup.h"
#include "core/startup/startup_list.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class EntryDetailsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(windows.resources.LoadFile(u"NAME_WHITE", TARNWICK_SOURCE_DIR "/resources/name_white.txt"));
    ASSERT_TRUE(windows.resources.LoadFile(u"NAME_BLACK", TARNWICK_SOURCE_DIR "/resources/name_black.txt"));
  }
  void AddProgram(TextView folder, TextView name, std::map<Text, Text> strings = {}) {
    windows.files.AddFile(folder, name);
    sim::SimVersion version;
    version.translations = {{0x0409, 0x04B0}};
    for (auto& [key, value] : strings) version.strings[u"040904B0\\" + key] = value;
    windows.versions.Set(Text(folder) + u"\\" + Text(name), version);
  }
  // Every catalogue entry's details, by caption.
  std::map<Text, EntryDetails> Describe(bool verify = false) {
    app.emplace(windows.app());
    list.emplace(*app, images);
    list->LoadBuiltInLists();
    list->Load();
    DetailsReader reader(*app, list->NameWhite(), list->NameBlack());
    std::map<Text, EntryDetails> all;
    for (const TAutorunInfo& entry : list->Catalogue()) {
      EntryDetails details = reader.Describe(entry);
      if (verify) reader.Verify(details, signatures);
      all[entry.Caption] = details;
    }
    return all;
  }

  sim::SimWindows windows;
  sim::SimImageCollection images{windows.faults, 4};
  std::optional<AppContext> app;
  std::optional<StartupList> list;
  SignatureCache signatures{windows.signatures, windows.files};
};

TEST_F(EntryDetailsTest, TheImageIsTheFileThatStartsWithItsOwnVersionFacts) {
  AddProgram(u"C:\\Program Files\\Sync", u"sync.exe",
             {{u"ProductName", u"Sync"}, {u"CompanyName", u"Sync Ltd"}, {u"FileDescription", u"Sync tray"}});
  windows.files.AddFile(sim::kUserStartup, u"Sync.lnk");
  windows.shortcuts.Set(Text(sim::kUserStartup) + u"\\Sync.lnk", {u"C:\\Program Files\\Sync\\sync.exe", u"--tray"});
  windows.files.AddFile(sim::kUserStartup, u"Gone.lnk");
  windows.shortcuts.Set(Text(sim::kUserStartup) + u"\\Gone.lnk", {u"C:\\Old\\gone.exe", {}});
  windows.files.AddFile(sim::kUserStartup, u"Broken.lnk");  // no link the shell can read
  Text message;
  ASSERT_TRUE(windows.files.WriteWholeFile(Text(sim::kUserStartup) + u"\\Page.url",
                                           "[InternetShortcut]\r\nURL=file:///C:/Program%20Files/Sync/sync.exe\r\n",
                                           message));
  ASSERT_TRUE(windows.files.WriteWholeFile(Text(sim::kUserStartup) + u"\\Web.url",
                                           "[InternetShortcut]\r\nURL=https://example.org/\r\n", message));
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"SyncRun", u"\"%ProgramFiles%\\Sync\\sync.exe\" /min");
  windows.services.Add({u"SyncSvc", u"Sync Service", u"\\SystemRoot\\System32\\syncsvc.exe -k net", scm::kAutoStart});

  auto all = Describe();
  const EntryDetails& link = all[u"Sync"];
  EXPECT_EQ(link.image.path, u"C:\\Program Files\\Sync\\sync.exe");
  EXPECT_EQ(link.image.arguments, u"--tray");
  EXPECT_TRUE(link.fileExists);
  EXPECT_EQ(link.product, u"Sync");
  EXPECT_EQ(link.publisher, u"Sync Ltd");
  EXPECT_EQ(link.description, u"Sync tray");

  EXPECT_EQ(all[u"Gone"].image.path, u"C:\\Old\\gone.exe");
  EXPECT_FALSE(all[u"Gone"].fileExists) << "a shortcut to a missing program";
  EXPECT_EQ(all[u"Broken"].image.path, Text(sim::kUserStartup) + u"\\Broken.lnk");
  EXPECT_EQ(all[u"Page"].image.path, u"C:\\Program Files\\Sync\\sync.exe");
  EXPECT_TRUE(all[u"Page"].image.path.size() && all[u"Page"].fileExists);
  EXPECT_TRUE(all[u"Web"].image.path.empty()) << "a web address starts no file";
  EXPECT_FALSE(all[u"Web"].fileExists);

  EXPECT_EQ(all[u"SyncRun"].image.path, u"C:\\Program Files\\Sync\\sync.exe");
  EXPECT_EQ(all[u"SyncRun"].image.arguments, u"/min");
  EXPECT_EQ(all[u"SyncRun"].publisher, u"Sync Ltd");
  EXPECT_EQ(all[u"Sync Service"].image.path, u"C:\\Windows\\System32\\syncsvc.exe");
  EXPECT_EQ(all[u"Sync Service"].image.arguments, u"-k net");
}

TEST_F(EntryDetailsTest, FileAddressesAndServicePathForms) {
  const std::pair<TextView, TextView> addresses[] = {
      {u"file:///C:/A%20B/x.exe", u"C:\\A B\\x.exe"},
      {u"FILE:///c|/x.exe", u"c:\\x.exe"},
      {u"file://localhost/C:/x.exe", u"C:\\x.exe"},
      {u"file://server/share/x.exe", u"\\\\server\\share\\x.exe"},
      {u"file:///C:/%ED%95%9C.exe", u"C:\\\uD55C.exe"},
      {u"file:///relative/x.exe", u""},
      {u"https://example.org/x.exe", u""},
  };
  for (auto [address, path] : addresses) EXPECT_EQ(FileAddressToPath(address), path) << ToUtf8(address);
  EXPECT_EQ(InternetShortcutAddress(u"[Other]\nURL=no\n[InternetShortcut]\r\nIconIndex=0\r\n url = x \r\n"), u"");
  EXPECT_EQ(InternetShortcutAddress(u"[internetshortcut]\nURL= file:///C:/x.exe \n"), u"file:///C:/x.exe");

  const FolderVars vars = FolderVars::Build(windows.shellFolders, windows.systemInfo);
  const std::pair<TextView, TextView> services[] = {
      {u"\\SystemRoot\\System32\\drivers\\x.sys", u"C:\\Windows\\System32\\drivers\\x.sys"},
      {u"\\??\\C:\\Tools\\x.exe", u"C:\\Tools\\x.exe"},
      {u"system32\\svchost.exe -k netsvcs", u"C:\\Windows\\system32\\svchost.exe"},
      {u"\"C:\\Program Files\\V\\v.exe\" /service", u"C:\\Program Files\\V\\v.exe"},
  };
  for (auto [stored, path] : services) EXPECT_EQ(ServiceImagePath(vars, u"C:\\Windows", stored), path) << ToUtf8(stored);
}

TEST_F(EntryDetailsTest, ServicesStateTheirStartAsWindowsDoes) {
  windows.services.Add({u"A", u"Auto", u"a.exe", scm::kAutoStart});
  sim::SimService delayed{u"D", u"Delayed", u"d.exe", scm::kAutoStart};
  delayed.delayedAutoStart = true;
  windows.services.Add(delayed);
  windows.services.Add({u"M", u"Manual", u"m.exe", scm::kDemandStart});
  windows.services.Add({u"X", u"Off", u"x.exe", scm::kDisabled});
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"NotAService", u"n.exe");
  auto all = Describe();
  EXPECT_EQ(all[u"Auto"].startType, ServiceStart::Automatic);
  EXPECT_EQ(all[u"Delayed"].startType, ServiceStart::AutomaticDelayed);
  EXPECT_EQ(all[u"Manual"].startType, ServiceStart::Manual);
  EXPECT_EQ(all[u"Off"].startType, ServiceStart::Disabled);
  EXPECT_FALSE(all[u"NotAService"].startType.has_value());
  EXPECT_STREQ(ServiceStartName(ServiceStart::AutomaticDelayed), "Automatic (delayed start)");

  windows.faults.Fail("QueryServiceConfig2W");
  EXPECT_EQ(Describe()[u"Delayed"].startType, ServiceStart::Automatic) << "a system that cannot say has no delay";
}

TEST_F(EntryDetailsTest, TheBlacklistRecommendsSwitchingOffByCaptionOrProduct) {
  windows.services.Add({u"AnySign4PC", u"AnySign4PC", u"C:\\Program Files\\AnySign\\a.exe", scm::kAutoStart});
  AddProgram(u"C:\\Program Files\\Veraport", u"veraport.exe", {{u"ProductName", u"Veraport(보안모듈 관리 프로그램) G3"}});
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"vp", u"C:\\Program Files\\Veraport\\veraport.exe");
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"Other", u"C:\\Tools\\other.exe");
  auto all = Describe();
  EXPECT_TRUE(all[u"AnySign4PC"].recommendedOff);
  EXPECT_TRUE(all[u"vp"].recommendedOff);
  EXPECT_FALSE(all[u"Other"].recommendedOff);
}

TEST_F(EntryDetailsTest, AWindowsNameOnAFileOutsideWindowsOrUnsignedAsksForACheck) {
  const Text evil = u"C:\\Users\\Public\\evil.exe";
  windows.files.AddFile(u"C:\\Users\\Public", u"evil.exe");
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"Dnscache", evil);
  windows.files.AddFile(u"C:\\Windows\\System32", u"spoolsv.exe");
  windows.services.Add({u"Spooler", u"Print Spooler", u"C:\\Windows\\System32\\spoolsv.exe", scm::kAutoStart});
  windows.files.AddFile(u"C:\\ProgramData\\Defender", u"MsMpEng.exe");
  windows.services.Add({u"WinDefend", u"Defender", u"C:\\ProgramData\\Defender\\MsMpEng.exe", scm::kAutoStart});
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"Vendor", evil);  // not named like Windows
  windows.signatures.Set(u"C:\\ProgramData\\Defender\\MsMpEng.exe", {SignatureState::Valid, u"Microsoft Windows", false});
  windows.signatures.Set(u"C:\\Windows\\System32\\spoolsv.exe", {SignatureState::Invalid, {}, false});

  auto quick = Describe();
  EXPECT_TRUE(quick[u"Dnscache"].hiddenByName);
  EXPECT_EQ(quick[u"Dnscache"].check, CheckReason::OutsideSystemFolders);
  EXPECT_EQ(quick[u"Print Spooler"].check, CheckReason::None);
  EXPECT_EQ(quick[u"Defender"].check, CheckReason::OutsideSystemFolders) << "before its signature is known";
  EXPECT_EQ(quick[u"Vendor"].check, CheckReason::None) << "the lists never hid it";

  auto verified = Describe(true);
  EXPECT_EQ(verified[u"Dnscache"].signature.state, SignatureState::Unsigned);
  EXPECT_EQ(verified[u"Dnscache"].check, CheckReason::NotSigned);
  EXPECT_EQ(verified[u"Print Spooler"].check, CheckReason::NotSigned) << "inside Windows, but altered";
  EXPECT_EQ(verified[u"Defender"].check, CheckReason::None) << "validly signed outside the folders";
  EXPECT_EQ(verified[u"Defender"].signature.signer, u"Microsoft Windows");
}

TEST_F(EntryDetailsTest, SignaturesAreVerifiedOncePerVersionOfAFile) {
  const Text tool = u"C:\\Tools\\tool.exe";
  windows.files.AddFile(u"C:\\Tools", u"tool.exe");
  windows.signatures.Set(tool, {SignatureState::Valid, u"Tools Inc", false});
  EXPECT_EQ(signatures.Verify(tool).state, SignatureState::Valid);
  EXPECT_EQ(signatures.Verify(u"c:\\tools\\TOOL.EXE").signer, u"Tools Inc");
  EXPECT_EQ(windows.signatures.verifications(), 1);

  Text message;
  ASSERT_TRUE(windows.files.WriteWholeFile(tool, "patched", message));
  windows.signatures.Set(tool, {SignatureState::Invalid, {}, false});
  EXPECT_EQ(signatures.Verify(tool).state, SignatureState::Invalid) << "a rewritten file is verified again";
  EXPECT_EQ(windows.signatures.verifications(), 2);

  windows.faults.Fail("WinVerifyTrust", u"C:\\Tools\\other.exe", 1);
  windows.files.AddFile(u"C:\\Tools", u"other.exe");
  EXPECT_EQ(signatures.Verify(u"C:\\Tools\\other.exe").state, SignatureState::Unknown);
  EXPECT_EQ(signatures.Verify(u"C:\\Tools\\other.exe").state, SignatureState::Unsigned) << "a failure is not kept";
  EXPECT_EQ(signatures.Verify(u"C:\\Tools\\missing.exe").state, SignatureState::Unknown);
}

TEST(EntryLookupTest, IdentityCaptionOrOnlyCaptionAndCloseOnes) {
  TAutorunList catalogue = {
      {u"a.exe", u"Updater", u"", u"HKCU\\...\\Run\\Updater", u"HKCU", true},
      {u"b.exe", u"Updater", u"", u"HKLM\\...\\Run\\Updater", u"HKLM", true},
      {u"c.exe", u"Sync Agent", u"", u"SyncAgent", u"SERV", true},
  };
  EXPECT_EQ(LookUpEntry(catalogue, u"serv", u"syncagent").found, &catalogue[2]);
  EXPECT_EQ(LookUpEntry(catalogue, u"SERV", u"sync agent").found, &catalogue[2]) << "caption for TARGET";
  EXPECT_EQ(LookUpEntry(catalogue, u"", u"Sync Agent").found, &catalogue[2]) << "a unique caption alone";
  EXPECT_EQ(LookUpEntry(catalogue, u"HKLM", u"Updater").found, &catalogue[1]);

  const EntryLookup both = LookUpEntry(catalogue, u"", u"updater");
  EXPECT_EQ(both.found, nullptr);
  EXPECT_EQ(both.matches.size(), 2u) << "an ambiguous caption names none";

  const EntryLookup typo = LookUpEntry(catalogue, u"", u"Sync Agnet");
  EXPECT_EQ(typo.found, nullptr);
  ASSERT_EQ(typo.close.size(), 1u);
  EXPECT_EQ(typo.close[0], &catalogue[2]);
  EXPECT_TRUE(LookUpEntry(catalogue, u"", u"zzzzzz").close.empty());
}

TEST_F(EntryDetailsTest, RowsAreDescribedOncePerRefreshAndKeepKnownSignatures) {
  AddProgram(u"C:\\Program Files\\Sync", u"sync.exe", {{u"CompanyName", u"Sync Ltd"}});
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"Sync", u"\"C:\\Program Files\\Sync\\sync.exe\" /min");
  windows.signatures.Set(u"C:\\Program Files\\Sync\\sync.exe", {SignatureState::Valid, u"Sync Ltd", false});
  app.emplace(windows.app());
  list.emplace(*app, images);
  list->LoadBuiltInLists();
  list->Load();
  ASSERT_EQ(list->Rows().size(), 1u);
  const TAutorunItem& row = list->Rows()[0];
  EXPECT_EQ(list->DetailsOf(row), nullptr) << "nothing is read before the rows are shown";
  EXPECT_TRUE(list->DescribeRows());
  ASSERT_NE(list->DetailsOf(row), nullptr);
  EXPECT_EQ(list->DetailsOf(row)->publisher, u"Sync Ltd");
  EXPECT_EQ(list->DetailsOf(row)->signature.state, SignatureState::NotChecked) << "rows never wait for a hash";
  EXPECT_FALSE(list->DescribeRows()) << "nothing new to read";

  EXPECT_EQ(list->DescribeFully(list->Rows()[0]).signature.signer, u"Sync Ltd");
  list->Load();
  EXPECT_TRUE(list->DescribeRows()) << "a refresh reads the files again";
  EXPECT_EQ(list->DetailsOf(list->Rows()[0])->signature.state, SignatureState::Valid) << "known, not verified again";
  list->DescribeFully(list->Rows()[0]);
  EXPECT_EQ(windows.signatures.verifications(), 1);
}

TEST_F(EntryDetailsTest, PropertiesNameEveryFactAndWhereTheEntryLives) {
  ASSERT_TRUE(windows.resources.LoadFile(u"TRANSLATE", TARNWICK_SOURCE_DIR "/resources/translate.txt"));
  Translator t = Translator::Start(windows.resources, windows.locale);
  t.CurrentLanguage = u"en";
  TAutorunInfo run{u"C:\\Tools\\gone.exe", u"Gone", u"C:\\Tools\\gone.exe -q",
                   u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Gone", u"HKCU", true};
  EntryDetails details;
  details.image = {u"C:\\Tools\\gone.exe", u"-q"};
  details.publisher = u"Tools Inc";
  details.recommendedOff = true;
  details.impact = {ImpactLevel::Medium, 420, 2048};
  std::vector<PropertyLine> lines = PropertiesOf(run, u"Gone Tool", details, t);
  std::map<Text, Text> byLabel;
  for (const PropertyLine& line : lines) byLabel[line.label] = line.value;
  EXPECT_EQ(byLabel[u"Name"], u"Gone Tool");
  EXPECT_EQ(byLabel[u"Registry key"], u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(byLabel[u"Value name"], u"Gone");
  EXPECT_EQ(byLabel[u"Command line"], u"C:\\Tools\\gone.exe -q");
  EXPECT_EQ(byLabel[u"Image"], u"C:\\Tools\\gone.exe (File not found)");
  EXPECT_EQ(byLabel[u"Startup impact"], u"Medium (CPU 420 ms, 2 KB)");
  EXPECT_EQ(byLabel[u"Recommended to switch off"], u"Yes");
  EXPECT_FALSE(byLabel.contains(u"Signature")) << "a missing file has none";
  EXPECT_FALSE(byLabel.contains(u"Product")) << "empty facts are left out";
  EXPECT_EQ(RowTooltip(run, details, t),
            u"C:\\Tools\\gone.exe -q\r\nPublisher: Tools Inc\r\nFile not found\r\nRecommended to switch off");

  TAutorunInfo service{u"", u"Spooler", u"", u"Spooler", u"SERV", true};
  details = {};
  details.startType = ServiceStart::AutomaticDelayed;
  details.check = CheckReason::OutsideSystemFolders;
  byLabel.clear();
  for (const PropertyLine& line : PropertiesOf(service, u"Print Spooler", details, t)) byLabel[line.label] = line.value;
  EXPECT_EQ(byLabel[u"Service name"], u"Spooler");
  EXPECT_EQ(byLabel[u"Start type"], u"Automatic (delayed start)");
  EXPECT_EQ(byLabel[u"Startup impact"], u"Not measured");
  EXPECT_EQ(byLabel[u"Check this"], u"Named like a part of Windows, but its file lies outside the Windows and program folders");
  t.CurrentLanguage = u"ja";
  EXPECT_EQ(PropertiesOf(service, u"x", details, t)[0].label, u"名前");
}

TEST_F(EntryDetailsTest, AnImpostorTheNameListWouldHideGetsARowUntilItsSignatureClearsIt) {
  windows.files.AddFile(u"C:\\Users\\Public", u"evil.exe");
  windows.registry.SetString(root::kCurrentUser, kRunKey, u"Dnscache", u"C:\\Users\\Public\\evil.exe");
  windows.files.AddFile(u"C:\\Windows\\System32", u"spoolsv.exe");
  windows.services.Add({u"Spooler", u"Print Spooler", u"C:\\Windows\\System32\\spoolsv.exe", scm::kAutoStart});
  windows.services.Add({u"WinDefend", u"Defender", u"C:\\ProgramData\\Defender\\MsMpEng.exe", scm::kAutoStart});
  windows.files.AddFile(u"C:\\ProgramData\\Defender", u"MsMpEng.exe");
  windows.signatures.Set(u"C:\\ProgramData\\Defender\\MsMpEng.exe", {SignatureState::Valid, u"Microsoft", false});
  windows.services.Add({u"Winmgmt", u"WMI", u"C:\\Gone\\wmi.exe", scm::kAutoStart});  // starts nothing
  app.emplace(windows.app());
  list.emplace(*app, images);
  list->LoadBuiltInLists();
  list->Load();
  std::vector<Text> shown;
  for (const TAutorunItem& row : list->Rows()) shown.push_back(row.Target);
  EXPECT_EQ(shown, (std::vector<Text>{u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Dnscache", u"WinDefend"}))
      << "Spooler and a missing file stay hidden; the two outside Windows' folders are shown";

  ASSERT_TRUE(list->DescribeRows());
  EXPECT_EQ(list->UnverifiedImages(),
            (std::vector<Text>{u"C:\\Users\\Public\\evil.exe", u"C:\\ProgramData\\Defender\\MsMpEng.exe"}));
  {
    std::atomic<int> announced = 0;
    SignatureWorker worker(list->Signatures(), [&] { ++announced; });
    worker.Verify(list->UnverifiedImages());
    for (int i = 0; i < 500 && !(worker.Idle() && announced == 2); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(announced, 2);
  }
  EXPECT_TRUE(list->ApplyKnownSignatures());
  EXPECT_FALSE(list->ApplyKnownSignatures()) << "nothing new";
  EXPECT_TRUE(list->UnverifiedImages().empty());
  EXPECT_EQ(MarksOf(*list->DetailsOf(list->Rows()[0])).check, CheckReason::NotSigned);
  EXPECT_EQ(MarksOf(*list->DetailsOf(list->Rows()[1])).check, CheckReason::None) << "validly signed: no mark";

  list->Rebuild();
  ASSERT_EQ(list->Rows().size(), 1u) << "once known as signed, the name list hides it again";
  EXPECT_EQ(windows.signatures.verifications(), 2) << "a second refresh verifies nothing again";
}

TEST(SignatureWorkerTest, StopsAfterTheFileInHandAndDropsTheRest) {
  sim::FaultPlan faults;
  sim::SimFileSystem files(faults);
  for (int i = 0; i < 50; ++i) files.AddFile(u"C:\\Many", u"f" + FromUtf8(std::to_string(i)) + u".exe");
  sim::SimSignatures signatures(faults);
  SignatureCache cache(signatures, files);
  std::vector<Text> paths;
  for (int i = 0; i < 50; ++i) paths.push_back(u"C:\\Many\\f" + FromUtf8(std::to_string(i)) + u".exe");
  {
    SignatureWorker worker(cache, [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    worker.Verify(paths);
    worker.Verify({paths[49]});  // replaces what waits
  }
  EXPECT_LT(signatures.verifications(), 50) << "the destructor did not wait for the whole queue";
}

}  // namespace
}  // namespace tarnwick
