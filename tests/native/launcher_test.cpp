#include <gtest/gtest.h>

#include "core/registry/registry.h"
#include "launcher/launcher_flow.h"
#include "launcher/launcher_text.h"
#include "launcher/messages.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick::launcher {
namespace {

class FakeSystem final : public LauncherSystem {
 public:
  struct Box {
    Text text, title;
    uint32_t style;
  };
  class Session final : public InternetSession {
   public:
    explicit Session(FakeSystem& owner) : owner_(owner) {}
    bool Get(TextView url, TextView headers, size_t limit, std::string& body) override {
      owner_.requests.push_back({Text(url), Text(headers)});
      owner_.limit = limit;
      if (!owner_.reachable) return false;
      body = owner_.answer;
      return true;
    }

   private:
    FakeSystem& owner_;
  };

  bool CreateSingleInstanceMutex(TextView) override { return !otherInstance; }
  Text ModulePath() override { return u"C:\\Program Files\\Tarnwick\\TarnwickService.exe"; }
  Text CommandLine() override { return commandLine; }
  uint32_t UserDefaultLcid() override { return 1033; }
  int ShowMessage(TextView text, TextView title, uint32_t style) override {
    boxes.push_back({Text(text), Text(title), style});
    return answerYes ? box::kIdYes : 7;
  }
  std::unique_ptr<InternetSession> OpenInternet(TextView agent) override {
    agents.emplace_back(agent);
    return internet ? std::make_unique<Session>(*this) : nullptr;
  }
  char16_t AnsiToWide(uint8_t byte) override { return byte == 0xE9 ? u'\u00E9' : u'?'; }

  bool otherInstance = false, internet = true, reachable = true, answerYes = false;
  Text commandLine = u"\"C:\\Program Files\\Tarnwick\\TarnwickService.exe\"";
  std::string answer = "{}";
  std::vector<Box> boxes;
  std::vector<Text> agents;
  std::vector<std::pair<Text, Text>> requests;
  size_t limit = 0;
};

constexpr char16_t kMain[] = u"C:\\Program Files\\Tarnwick\\Tarnwick.exe";

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.files.AddFile(u"C:\\Program Files\\Tarnwick", u"Tarnwick.exe");
    sim::SimVersion version;
    version.hasFixedInfo = true;
    version.fileVersion[0] = 1, version.fileVersion[2] = 8;
    windows.versions.Set(kMain, version);
    windows.registry.CreateKey(root::kCurrentUser, u"Software\\Morvessa");
  }
  int Run(uint32_t lcid = 1033) {
    Launcher launcher{ports, system, lcid, [](uint32_t below) { return below - 1; }};
    return launcher.Run(u"https://site.test/", u"https://update.test/api.init.php");
  }
  Text Identity() {
    Launcher launcher{ports, system, 1033, [](uint32_t) { return 0x1234u; }};
    return launcher.ReadClientIdentity();
  }

  sim::SimWindows windows;
  Ports ports = windows.ports();
  FakeSystem system;
};

TEST(LauncherMessages, ExactLocaleIdsAndExactKeys) {
  const Text recommend = u"It is recommended to download and execute new for stable use.";
  EXPECT_NE(Localize(recommend, 1041).find(u'\u00B7'), Text::npos);  // the middle dot, not U+30FB
  EXPECT_EQ(Localize(recommend, 1041).find(u'\u30FB'), Text::npos);
  EXPECT_EQ(Localize(u"Do you want to download it?", 2052), u"\u60A8\u8981\u4E0B\u8F7D\u5417\uFF1F");
  EXPECT_EQ(Localize(u"Do you want to download it?", 1036), u"Voulez-vous le t\u00E9l\u00E9charger?");
  EXPECT_EQ(Localize(u"Please reinstall and run.", 1042), u"\uB2E4\uC2DC \uC124\uCE58 \uD6C4 \uC2E4\uD589\uD574 \uC8FC\uC2ED\uC2DC\uC624.");
  EXPECT_EQ(Localize(u"This program has been updated.", 1031), u"Dieses Programm ist aktualisiert worden.");
  EXPECT_EQ(Localize(u"This program has been updated.", 1049), u"\u0414\u0430\u043D\u043D\u0430\u044F \u043F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0430 \u0431\u044B\u043B\u0430 \u043E\u0431\u043D\u043E\u0432\u043B\u0435\u043D\u0430.");
  EXPECT_EQ(Localize(u"Do you want to download it?", 1040), u"Volete scaricarlo?");
  for (uint32_t variant : {2055u, 3084u, 1028u, 1025u, 1033u, 0x10407u}) {
    EXPECT_EQ(Localize(u"Do you want to download it?", variant), u"Do you want to download it?") << variant;
  }
  EXPECT_EQ(Localize(u"do you want to download it?", 1042), u"do you want to download it?");
  EXPECT_EQ(Localize(u"Do you want to download it? ", 1042), u"Do you want to download it? ");
  EXPECT_EQ(Localize(u"Tarnwick", 1042), u"Tarnwick");
}

TEST(LauncherMessages, EveryRowHasEveryLanguage) {
  for (const char16_t* key : {u"The application configuration file is invalid.", u"Please reinstall and run.",
                              u"This program has been updated.",
                              u"It is recommended to download and execute new for stable use.",
                              u"Do you want to download it?"}) {
    std::vector<Text> seen;
    for (uint32_t lcid : {1042u, 1041u, 2052u, 1031u, 1049u, 1040u, 1036u}) {
      const Text text = Localize(key, lcid);
      EXPECT_NE(text, key) << ToUtf8(key) << " " << lcid;
      EXPECT_EQ(std::count(seen.begin(), seen.end(), text), 0) << ToUtf8(text);
      seen.push_back(text);
    }
  }
}

TEST(LauncherText, ArgumentSplitting) {
  struct Case {
    const char16_t* line;
    const char16_t* first;
  };
  const Case cases[] = {
      {u"TarnwickService.exe /inst", u"/inst"},
      {u"\"C:\\Program Files\\T\\TarnwickService.exe\" /inst more", u"/inst"},
      {u"x.exe \"/inst\"", u"/inst"},
      {u"x.exe\t\t/inst", u"/inst"},
      {u"  x.exe   /INST", u"/INST"},
      {u"x.exe", u""},
      {u"x.exe \"/in st\"", u"/in st"},
      {u"x.exe a\"b c\"d", u"a\"b c\"d"},
      {u"x.exe \"unterminated arg", u"\"unterminated arg"},
      {u"\"C:\\a b\\x.exe", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(Argument(c.line, 1), c.first) << ToUtf8(c.line);
  EXPECT_EQ(Argument(u"\"C:\\a b\\x.exe\" y", 0), u"C:\\a b\\x.exe");
}

TEST(LauncherText, UpdateLinkSearchAndEscapes) {
  struct Case {
    const char16_t* answer;
    const char16_t* link;
  };
  const Case cases[] = {
      {u"{\"update\":\"https:\\/\\/x.test\\/a.exe\"}", u"https://x.test/a.exe"},
      {u"{\"update\":\"\"}", u""},
      {u"{\"update\": \"https://x\"}", u""},
      {u"{\"UPDATE\":\"https://x\"}", u""},
      {u"<html>error</html>", u""},
      {u"{\"update\":\"https://x/a\\\"b\"}", u"https://x/a"},
      {u"{\"update\":\"caf\\u00e9\"}", u"caf\u00E9"},
      {u"{\"update\":\"a\\u0000b\"}", u"ab"},
      {u"{\"update\":\"a\\u00zzb\"}", u"ab"},
      {u"{\"update\":\"a\\xb\"}", u"ab"},
      {u"{\"update\":\"unterminated", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UnescapeJsonText(RawUpdateLink(c.answer)), c.link) << ToUtf8(c.answer);
  }
  EXPECT_EQ(UnescapeJsonText(u"end\\"), u"end");
  EXPECT_EQ(UnescapeJsonText(u"\\u41"), u"A");
}

TEST_F(LauncherTest, IdentityOpenedNeverCreated) {
  EXPECT_EQ(Identity().size(), 32u);  // key present, value missing: made and stored
  const Text stored = TextFromRegData(windows.registry.Get(root::kCurrentUser, u"Software\\Morvessa", u"MorUID")->data);
  EXPECT_EQ(Identity(), stored);

  windows.registry.SetString(root::kCurrentUser, u"Software\\Morvessa", u"MorUID", u"%X%", reg_type::kExpandSz);
  EXPECT_EQ(Identity(), u"%X%");
  windows.registry.SetDword(root::kCurrentUser, u"Software\\Morvessa", u"MorUID", 7);
  EXPECT_EQ(Identity(), u"");
  EXPECT_EQ(windows.registry.Get(root::kCurrentUser, u"Software\\Morvessa", u"MorUID")->type, reg_type::kDword);

  sim::SimWindows empty;
  Ports emptyPorts = empty.ports();
  Launcher launcher{emptyPorts, system, 1033, [](uint32_t) { return 1u; }};
  EXPECT_EQ(launcher.ReadClientIdentity(), u"");
  EXPECT_FALSE(empty.registry.KeyExists(root::kCurrentUser, u"Software\\Morvessa")) << "never created";
}

TEST_F(LauncherTest, NoArgumentOneRequestWithThreeHeadersAndNothingStarted) {
  windows.registry.SetString(root::kCurrentUser, u"Software\\Morvessa", u"MorUID", u"ID");
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(system.requests.size(), 1u);
  EXPECT_EQ(system.requests[0].first, u"https://update.test/api.init.php");
  EXPECT_EQ(system.requests[0].second, u"User-Version: 1.0.8.0\rUser-Debug: false\rUser-Union: ID");
  EXPECT_EQ(system.agents, (std::vector<Text>{Text(kBrowserAgent)}));
  EXPECT_EQ(system.limit, 1u << 20);
  EXPECT_TRUE(windows.shell.opened.empty());
  EXPECT_TRUE(system.boxes.empty());
}

TEST_F(LauncherTest, InstStartsTheMainProgramOnlyWhenExact) {
  system.commandLine = u"TarnwickService.exe \"/inst\" extra";
  Run();
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{kMain}));
  for (const char16_t* other : {u"x /INST", u"x -inst", u"x /install", u"x"}) {
    windows.shell.opened.clear();
    system.commandLine = other;
    Run();
    EXPECT_TRUE(windows.shell.opened.empty()) << ToUtf8(other);
  }
}

TEST_F(LauncherTest, SecondInstanceDoesNothing) {
  system.otherInstance = true;
  system.commandLine = u"x /inst";
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(system.requests.empty());
  EXPECT_TRUE(windows.shell.opened.empty());
}

TEST_F(LauncherTest, MissingMainProgramShowsTheErrorAndOpensTheSite) {
  windows.files.RemoveFolder(u"C:\\Program Files\\Tarnwick");
  system.commandLine = u"x /inst";
  EXPECT_EQ(Run(1042), 0);
  EXPECT_TRUE(system.requests.empty());
  ASSERT_EQ(system.boxes.size(), 1u);
  EXPECT_EQ(system.boxes[0].text, Localize(u"The application configuration file is invalid.", 1042) + u"\r\r" +
                                      Localize(u"Please reinstall and run.", 1042));
  EXPECT_EQ(system.boxes[0].title, u"Tarnwick");
  EXPECT_EQ(system.boxes[0].style, box::kOk | box::kIconError | box::kSetForeground | box::kTopMost);
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{u"https://site.test/"}));
}

TEST_F(LauncherTest, UpdateOfferOpensTheLinkOrStartsTheProgram) {
  system.answer = "{\"update\":\"https:\\/\\/update.test\\/Setup.exe\"}";
  system.commandLine = u"x /inst";
  system.answerYes = true;
  Run();
  ASSERT_EQ(system.boxes.size(), 1u);
  EXPECT_EQ(system.boxes[0].style, box::kYesNo | box::kIconInformation | box::kSetForeground | box::kTopMost);
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{u"https://update.test/Setup.exe"}));

  windows.shell.opened.clear();
  system.answerYes = false;
  Run();
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{kMain}));

  windows.shell.opened.clear();
  system.answerYes = true;
  system.answer = "{\"update\":\"C:\\\\Windows\\\\System32\\\\cmd.exe\"}";
  const size_t boxes = system.boxes.size();
  Run();
  EXPECT_EQ(system.boxes.size(), boxes) << "no offer";
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{kMain})) << "no offer for a link that is no web address";
}

TEST_F(LauncherTest, NoNetworkShowsNothing) {
  system.reachable = false;
  system.commandLine = u"x /inst";
  Run();
  EXPECT_TRUE(system.boxes.empty());
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{kMain}));
  system.internet = false;
  system.requests.clear();
  windows.shell.opened.clear();
  Run();
  EXPECT_TRUE(system.requests.empty());
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{kMain}));
}

TEST(LauncherPaths, MainProgramBesideTheLauncher) {
  EXPECT_EQ(MainProgramPath(u"C:\\T\\TarnwickService.exe"), u"C:\\T\\Tarnwick.exe");
  EXPECT_EQ(MainProgramPath(u"C:TarnwickService.exe"), u"C:Tarnwick.exe");
  EXPECT_EQ(MainProgramPath(u"dir/TarnwickService.exe"), u"dir/Tarnwick.exe");
  EXPECT_EQ(MainProgramPath(u"TarnwickService.exe"), u"Tarnwick.exe");
}

TEST(LauncherAnswer, BytesBecomeOneCharacterEach) {
  FakeSystem system;
  EXPECT_EQ(DecodeAnswer("caf\xE9 \xC3\xA9", system), u"caf\u00E9 ??");
}

}  // namespace
}  // namespace tarnwick::launcher
