#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/tarnwickc.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.services.Add({u"Spooler", u"Print Spooler", u"C:\\windows\\system32\\spoolsv.exe",
                          scm::kAutoStart});
    windows.services.Add({u"KoAgent", u"보안 에이전트 \"v2\"", u"\"C:\\보안\\agent.exe\" -s",
                          scm::kDisabled});
  }
  CliResult Run(std::vector<Text> args) { return RunTarnwickc(args, windows.app()); }
  sim::SimWindows windows;
};

TEST_F(CliTest, ListJsonHasExactlyTheKeysInCatalogueOrder) {
  const CliResult result = Run({u"list", u"--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.err.empty());
  const auto json = nlohmann::ordered_json::parse(result.out);
  ASSERT_TRUE(json.is_array());
  ASSERT_EQ(json.size(), 2u);

  std::vector<std::string> keys;
  for (const auto& item : json[0].items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"from", "caption", "target", "fileName", "rawData", "enabled",
                                            "image", "arguments", "fileExists", "product", "publisher",
                                            "description", "startType", "impact", "recommendedOff"}));
  EXPECT_EQ(json[0]["target"], "Spooler");
  EXPECT_EQ(json[0]["enabled"], true);
  EXPECT_EQ(json[1]["from"], "SERV");
  EXPECT_EQ(json[1]["caption"], ToUtf8(u"보안 에이전트 \"v2\""));
  EXPECT_EQ(json[1]["fileName"], ToUtf8(u"\"C:\\보안\\agent.exe\" -s"));
  EXPECT_EQ(json[1]["rawData"], json[1]["fileName"]);
  EXPECT_EQ(json[1]["enabled"], false);
}

TEST_F(CliTest, ListTextShowsOneLinePerEntry) {
  const CliResult result = Run({u"list"});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out,
            "SERV  on   Print Spooler  [Spooler]  C:\\windows\\system32\\spoolsv.exe\n" +
                ToUtf8(u"SERV  off  보안 에이전트 \"v2\"  [KoAgent]  \"C:\\보안\\agent.exe\" -s\n"));
}

TEST_F(CliTest, EmptyCatalogueIsAnEmptyArray) {
  windows.services.Remove(u"Spooler");
  windows.services.Remove(u"KoAgent");
  const CliResult result = Run({u"list", u"--json"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::array());
}

TEST_F(CliTest, BadCommandLinesPrintUsageAndExit2) {
  const std::vector<std::vector<Text>> cases = {
      {},          {u"lsit"}, {u"list", u"--xml"}, {u"list", u"--json", u"extra"}, {u"--json"},
      {u"list", u"--json", u"--csv"}, {u"list", u"--verify"}};
  for (const auto& args : cases) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("usage: tarnwickc"), std::string::npos) << result.err;
  }
}

TEST_F(CliTest, RefreshErrorIsReportedNotListed) {
  windows.faults.Throw("QueryServiceConfigW", u"KoAgent");
  const CliResult result = Run({u"list", u"--json"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(result.out.empty());
  EXPECT_NE(result.err.find("could not be read"), std::string::npos);
}

TEST_F(CliTest, ToggleReportsTheStateReadBack) {
  const Text run = u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\X";
  windows.registry.SetString(root::kCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Run", u"X",
                             u"x.exe");
  CliResult result = Run({u"disable", u"hkcu", run});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "HKCU " + ToUtf8(run) + " disabled\n");
  result = Run({u"enable", u"HKCU", run});
  EXPECT_EQ(result.exitCode, 0) << result.err;

  result = Run({u"disable", u"SERV", u"spooler"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(windows.services.Find(u"Spooler")->startType, scm::kDisabled);
}

TEST_F(CliTest, TogglesActOnTheEntryAsTheSystemSpellsIt) {
  // Typed in lower case, the all-users file still writes its state under HKLM.
  windows.files.AddFile(sim::kCommonStartup, u"Agent.lnk");
  const Text typed = LowerAscii(Text(sim::kCommonStartup) + u"\\Agent.lnk");
  CliResult result = Run({u"disable", u"file", typed});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(windows.registry.Get(root::kLocalMachine, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder", u"Agent.lnk"), nullptr);
  EXPECT_FALSE(windows.registry.KeyExists(root::kCurrentUser, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder"));

  // A manual service comes back manual, which the catalogue shows as off: still a success.
  windows.services.Add({u"Manual", u"Manual One", u"m.exe", scm::kDemandStart});
  EXPECT_EQ(Run({u"disable", u"SERV", u"manual"}).exitCode, 0);
  result = Run({u"enable", u"SERV", u"Manual"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "SERV Manual enabled (its manual start restored)\n");
  EXPECT_EQ(windows.services.Find(u"Manual")->startType, scm::kDemandStart);
}

TEST_F(CliTest, LineBreaksInNamesStayInsideTheirLine) {
  windows.registry.SetString(root::kCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                             u"Evil\r\nSERV  on   Fake", u"x.exe");
  const CliResult result = Run({u"list"});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3) << result.out;
  EXPECT_NE(result.out.find("Evil\\r\\nSERV  on   Fake"), std::string::npos) << result.out;
}

TEST_F(CliTest, ToggleFailuresNameTheEntryAndExit1) {
  CliResult result = Run({u"disable", u"SERV", u"NoSuchService"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("SERV NoSuchService"), std::string::npos) << result.err;

  windows.faults.Fail("ChangeServiceConfigW");
  result = Run({u"disable", u"SERV", u"Spooler"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("SERV Spooler is still enabled"), std::string::npos) << result.err;

  for (const auto& args : std::vector<std::vector<Text>>{{u"enable"}, {u"enable", u"SERV", u"a", u"b"}}) {
    EXPECT_EQ(Run(args).exitCode, 2);
  }
}

TEST_F(CliTest, DisableBeforeWindows10RemovesTheEntry) {
  windows.systemInfo.majorVersion = 6;
  windows.files.AddFile(sim::kUserStartup, u"a.lnk");
  const Text target = Text(sim::kUserStartup) + u"\\a.lnk";
  const CliResult result = Run({u"disable", u"FILE", target});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_FALSE(windows.files.FileExists(target));
  EXPECT_EQ(Run({u"enable", u"FILE", target}).exitCode, 1);
}

TEST_F(CliTest, SaveWritesTheCatalogueAndKeepsTheOldFileOnFailure) {
  windows.files.AddFolder(u"C:\\Out");
  CliResult result = Run({u"save", u"C:\\Out\\list.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string saved = windows.files.Content(u"C:\\Out\\list.txt");
  EXPECT_EQ(saved, "\xEF\xBB\xBFSERV|Print Spooler|Spooler\r\n" + ToUtf8(u"SERV|보안 에이전트 \"v2\"|KoAgent\r\n"));

  windows.faults.Fail("WriteFile");
  result = Run({u"save", u"C:\\Out\\list.txt"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("list.txt could not be written"), std::string::npos) << result.err;
  EXPECT_EQ(windows.files.Content(u"C:\\Out\\list.txt"), saved);
  EXPECT_EQ(Run({u"save"}).exitCode, 2);
}

TEST_F(CliTest, VisibleListUsesTheBuiltInFilterLists) {
  ASSERT_TRUE(windows.resources.LoadFile(u"NAME_WHITE", TARNWICK_SOURCE_DIR "/resources/name_white.txt"));
  windows.services.Add({u"Vendor", u"Vendor Agent", u"v.exe", scm::kAutoStart});
  const CliResult result = Run({u"list", u"--visible", u"--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_EQ(json.size(), 1u) << result.out;  // Spooler is Windows' own; KoAgent is disabled
  EXPECT_EQ(json[0]["target"], "Vendor");
  EXPECT_EQ(json[0]["fileName"], "v.exe");
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
  for (const Text& help : {u"--help", u"-h", u"/?"}) {
    const CliResult result = Run({help});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.empty());
    EXPECT_EQ(result.out.rfind("usage: tarnwickc", 0), 0u) << result.out;
  }
  EXPECT_EQ(Run({u"list", u"--help"}).exitCode, 0);
  sim::SimVersion version;
  version.hasFixedInfo = true;
  version.fileVersion[0] = 1;
  version.fileVersion[1] = 2;
  version.fileVersion[3] = 7;
  windows.versions.Set(windows.systemInfo.programPath, version);
  EXPECT_EQ(Run({u"--version"}).out, "tarnwickc 1.2.0.7\n");
}

TEST_F(CliTest, ListDetailsInJsonAndCsv) {
  windows.files.AddFile(u"C:\\windows\\system32", u"spoolsv.exe");
  windows.signatures.Set(u"C:\\windows\\system32\\spoolsv.exe", {SignatureState::Valid, u"Microsoft Windows", true});
  windows.registry.SetString(root::kCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                             u"Quote \"and\", comma", u"C:\\Gone\\x.exe -a");
  auto json = nlohmann::json::parse(Run({u"list", u"--json", u"--verify"}).out);
  ASSERT_EQ(json.size(), 3u);
  EXPECT_EQ(json[0]["image"], "C:\\Gone\\x.exe");
  EXPECT_EQ(json[0]["arguments"], "-a");
  EXPECT_EQ(json[0]["fileExists"], false);
  EXPECT_FALSE(json[0].contains("startType"));
  EXPECT_EQ(json[0]["impact"]["level"], "not measured");
  EXPECT_EQ(json[1]["startType"], "Automatic");
  EXPECT_EQ(json[1]["signature"], "valid");
  EXPECT_EQ(json[1]["signer"], "Microsoft Windows");
  EXPECT_EQ(json[2]["startType"], "Disabled");
  EXPECT_EQ(json[2]["signature"], "not checked") << "a missing file is not verified";
  EXPECT_FALSE(nlohmann::json::parse(Run({u"list", u"--json"}).out)[1].contains("signature"));

  const std::string csv = Run({u"list", u"--csv"}).out;
  ASSERT_EQ(csv.rfind("\xEF\xBB\xBF" "from,caption,target,enabled,image,", 0), 0u) << csv;
  EXPECT_NE(csv.find("\r\nHKCU,\"Quote \"\"and\"\", comma\","), std::string::npos) << csv;
  EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
  EXPECT_NE(Run({u"list", u"--csv", u"--verify"}).out.find(",signature,signer\r\n"), std::string::npos);
}

TEST_F(CliTest, TogglesAcceptAUniqueCaptionAndSuggestCloseEntries) {
  CliResult result = Run({u"disable", u"Print Spooler"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "SERV Spooler disabled\n");
  result = Run({u"enable", u"serv", u"print spooler"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(windows.services.Find(u"Spooler")->startType, scm::kAutoStart);

  result = Run({u"disable", u"Print Spoolr"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("no startup entry Print Spoolr\nentries that come close:\n  SERV Spooler  (Print Spooler)"),
            std::string::npos)
      << result.err;

  windows.services.Add({u"Spooler2", u"Print Spooler", u"s2.exe", scm::kAutoStart});
  result = Run({u"disable", u"Print Spooler"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("names 2 entries"), std::string::npos) << result.err;
  EXPECT_EQ(windows.services.Find(u"Spooler")->startType, scm::kAutoStart) << "an ambiguous name switches nothing";
}

}  // namespace
}  // namespace tarnwick
