// The startup-folder and Run-key sources, and the whole refresh across all four sources.

#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/startup_approved.h"
#include "core/error.h"
#include "platform/sim/sim_windows.h"
#include "tests/native/registry_paths.h"

namespace tarnwick {
namespace {

using namespace test_keys;

Bytes State(uint8_t first) { return {first, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}; }

class SourcesTest : public ::testing::Test {
 protected:
  TAutorunList Refresh() {
    TAutorunList list;
    RefreshAutorun(list, windows.app());
    return list;
  }
  sim::SimWindows windows;
  sim::SimRegistry& reg = windows.registry;
};

TEST_F(SourcesTest, RunKeyEntriesInKeyAndEnumerationOrder) {
  reg.SetString(kLM, kRun, u"Zeta", u"\"C:\\Program Files\\Z\\z.exe\" /background");
  reg.SetString(kLM, kRun, u"Alpha", u"%ProgramFiles%\\A\\a.exe", reg_type::kExpandSz);
  reg.SetString(kLM, kRun32, u"Alpha", u"C:\\Program Files (x86)\\A\\a32.exe");
  reg.SetString(kCU, kRun, u"", u"C:\\default.exe");
  reg.SetDword(kCU, kRun, u"Number", 5);
  reg.SetString(kCU, u"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", u"Never", u"n.exe");

  const TAutorunList list = Refresh();
  ASSERT_EQ(list.size(), 5u);
  const TAutorunInfo& zeta = list[0];
  EXPECT_EQ(zeta.From, u"HKLM");
  EXPECT_EQ(zeta.Caption, u"Zeta");
  EXPECT_EQ(zeta.RawData, u"\"C:\\Program Files\\Z\\z.exe\" /background");
  EXPECT_EQ(zeta.FileName, u"C:\\Program Files\\Z\\z.exe");
  EXPECT_EQ(zeta.Target, u"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Zeta");
  EXPECT_TRUE(zeta.Enabled);

  EXPECT_EQ(list[1].RawData, u"%ProgramFiles%\\A\\a.exe");  // unexpanded
  EXPECT_EQ(list[1].FileName, u"C:\\Program Files\\A\\a.exe");
  EXPECT_EQ(list[2].Target, u"HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\Alpha");
  EXPECT_EQ(list[3].From, u"HKCU");
  EXPECT_EQ(list[3].Caption, u"");
  EXPECT_EQ(list[3].Target, u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\");
  EXPECT_EQ(list[4].Caption, u"Number");
  EXPECT_EQ(list[4].RawData, u"");
  EXPECT_EQ(list[4].FileName, u"");
}

TEST_F(SourcesTest, RunValuesReadTheirStateFromRunOrRun32) {
  reg.SetString(kLM, kRun, u"Same", u"a.exe");
  reg.SetString(kLM, kRun32, u"Same", u"b.exe");
  reg.SetString(kCU, kRun, u"Same", u"c.exe");
  reg.SetBinary(kLM, kApprovedRun32, u"Same", State(0x03));  // only the 32-bit one is off
  reg.SetBinary(kCU, kApprovedRun, u"Same", State(0x06));

  TAutorunList list = Refresh();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_FALSE(list[1].Enabled);
  EXPECT_TRUE(list[2].Enabled);
  EXPECT_NE(list[0].Target, list[2].Target);

  reg.SetBinary(kLM, kApprovedRun, u"Same", State(0x03));
  reg.SetBinary(kLM, kApprovedRun32, u"Same", State(0x02));
  list = Refresh();
  EXPECT_FALSE(list[0].Enabled);
  EXPECT_TRUE(list[1].Enabled);
}

TEST_F(SourcesTest, StartupFolderFilesKeptByExtension) {
  for (const char16_t* name : {u"App.lnk", u"APP2.LNK", u"site.url", u"tool.exe", u"run.bat",
                               u"run.cmd", u"old.com", u"desktop.ini", u"script.ps1", u"noext",
                               u".hidden.lnk", u"archive.lnk.bak", u"a.vbs", u"b.VBE", u"c.js",
                               u"d.jse", u"e.wsf", u"f.hta", u"g.scr", u"h.pif", u"i.msi"}) {
    windows.files.AddFile(sim::kUserStartup, name);
  }
  windows.files.AddSubfolder(sim::kUserStartup, u"x.lnk");

  const TAutorunList list = Refresh();
  std::vector<Text> captions;
  for (const TAutorunInfo& entry : list) captions.push_back(entry.Caption);
  EXPECT_EQ(captions, (std::vector<Text>{u"App", u"APP2", u"site", u"tool", u"run", u"run", u"old",
                                         u".hidden", u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i"}));
  const Text path = Text(sim::kUserStartup) + u"\\App.lnk";
  EXPECT_EQ(list[0].FileName, path);  // the shortcut itself, never what it points to
  EXPECT_EQ(list[0].Target, path);
  EXPECT_EQ(list[0].From, u"FILE");
  EXPECT_EQ(list[0].RawData, u"");
}

TEST_F(SourcesTest, SameFileInBothFoldersReadsStateUnderItsOwnRoot) {
  windows.files.AddFile(sim::kCommonStartup, u"Agent.lnk");
  windows.files.AddFile(sim::kUserStartup, u"Agent.lnk");
  reg.SetBinary(kLM, kApprovedFolder, u"Agent.lnk", State(0x03));

  const TAutorunList list = Refresh();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Target, Text(sim::kCommonStartup) + u"\\Agent.lnk");
  EXPECT_FALSE(list[0].Enabled);
  EXPECT_TRUE(list[1].Enabled);
}

TEST_F(SourcesTest, RefreshOrderIsFoldersThenRunKeysThenServices) {
  windows.services.Add({u"Svc", u"Svc", u"svc.exe", scm::kAutoStart});
  reg.SetString(kCU, kRun, u"UserRun", u"u.exe");
  reg.SetString(kLM, kRun32, u"Run32", u"r32.exe");
  reg.SetString(kLM, kRun, u"MachineRun", u"m.exe");
  windows.files.AddFile(sim::kUserStartup, u"user.lnk");
  windows.files.AddFile(sim::kCommonStartup, u"common.lnk");
  // A program registered in a Run key and a startup folder appears twice.
  reg.SetString(kCU, kRun, u"Twice", Text(sim::kUserStartup) + u"\\user.lnk");

  std::vector<Text> order;
  for (const TAutorunInfo& entry : Refresh()) order.push_back(entry.From + u":" + entry.Caption);
  EXPECT_EQ(order, (std::vector<Text>{u"FILE:common", u"FILE:user", u"HKLM:MachineRun",
                                      u"HKLM:Run32", u"HKCU:UserRun", u"HKCU:Twice", u"SERV:Svc"}));
}

TEST_F(SourcesTest, MissingStartupFolderAddsNothingAndTheRefreshGoesOn) {
  windows.files.RemoveFolder(sim::kUserStartup);
  windows.files.AddFile(sim::kCommonStartup, u"common.lnk");
  reg.SetString(kCU, kRun, u"UserRun", u"u.exe");
  const TAutorunList list = Refresh();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Caption, u"UserRun");

  windows.faults.Fail("SHGetFolderPathW", u"24");  // the shell cannot name the all-users folder
  EXPECT_EQ(Refresh().size(), 1u);
}

TEST_F(SourcesTest, UnlistableStartupFolderEndsTheRefreshWithAnError) {
  windows.files.AddFile(sim::kCommonStartup, u"common.lnk");
  reg.SetString(kCU, kRun, u"UserRun", u"u.exe");
  windows.faults.Fail("FindFirstFileW", sim::kUserStartup);
  TAutorunList list;
  try {
    RefreshAutorun(list, windows.app());
    FAIL() << "no error";
  } catch (const TarnwickError& error) {
    EXPECT_NE(error.Message().find(u"Access is denied."), Text::npos);
  }
  ASSERT_EQ(list.size(), 1u);  // the all-users folder's entry stays, the Run keys are not read
  EXPECT_EQ(list[0].Caption, u"common");
}

TEST_F(SourcesTest, UnreadableRunKeysAddNothing) {
  reg.SetString(kLM, kRun, u"A", u"a.exe");
  reg.SetString(kCU, kRun, u"B", u"b.exe");
  windows.faults.Fail("RegOpenKeyExW", kRun);
  EXPECT_TRUE(Refresh().empty());
  EXPECT_EQ(reg.OpenKeys(), 0);
}

}  // namespace
}  // namespace tarnwick
