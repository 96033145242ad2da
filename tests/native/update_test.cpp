#include <gtest/gtest.h>

#include <regex>

#include "core/registry/registry.h"
#include "core/update/update.h"
#include "core/update/update_layout.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

// The window side of the answer handling, scripted.
class FakeUpdateUi : public UpdateUi {
 public:
  bool UpdateDialog(const Text& answer) override {
    dialogs.push_back(answer);
    return answerYes;
  }
  void ShowUpdateStatus(const Text& url) override { statusUrls.push_back(url); }
  bool answerYes = false;
  std::vector<Text> dialogs, statusUrls;
};

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimVersion version;
    version.hasFixedInfo = true;
    version.fileVersion[0] = 1, version.fileVersion[1] = 0, version.fileVersion[2] = 8, version.fileVersion[3] = 0;
    windows.versions.Set(windows.systemInfo.programPath, version);
    translator.CurrentLanguage = u"ko";
  }
  Text StoredUid() {
    const RegistryValue* value = windows.registry.Get(root::kCurrentUser, u"Software\\Morvessa", u"MorUID");
    return value ? TextFromRegData(value->data) : Text(u"<none>");
  }
  // Runs one CheckUpdate with a callback and serves the hand-over like the UI thread.
  std::vector<std::pair<bool, Text>> Check(UpdateClient& client) {
    std::vector<std::pair<bool, Text>> calls;
    client.CheckUpdate(u"https://127.0.0.1:1/api.init.php",
                       [&](bool accepted, const Text& data) { calls.emplace_back(accepted, data); }, 10);
    uiThread.ServeUntil([&] { return client.Finished(); });
    return calls;
  }

  sim::SimWindows windows;
  sim::SimUiThread uiThread;
  FakeUpdateUi ui;
  Translator translator;
  UpdateTiming fast{6, 3, std::chrono::milliseconds(1)};
};

TEST_F(UpdateTest, TextsByExactLanguageCode) {
  EXPECT_EQ(UpdateText(UpdateTextKind::Status, u"ko"), u"업데이트 가능");
  EXPECT_EQ(UpdateText(UpdateTextKind::Yes, u"de"), u"Ja");
  EXPECT_EQ(UpdateText(UpdateTextKind::No, u"it"), u"No");
  for (const char16_t* english : {u"en", u"ar", u"KO", u"", u"pt"}) {
    EXPECT_EQ(UpdateText(UpdateTextKind::Status, english), u"Update available") << ToUtf8(english);
  }
  EXPECT_EQ(UpdateText(UpdateTextKind::Question, u"zh"), u"该程序已更新。\r\r建议下载并执行新程序以稳定使用。\r\r您要下载吗？");
  EXPECT_EQ(UpdateText(UpdateTextKind::Question, u"fr").find(u"Voulez-vous le télécharger?"), UpdateText(UpdateTextKind::Question, u"fr").size() - 27);
  EXPECT_NE(UpdateText(UpdateTextKind::Question, u"ja").find(u"\u00B7"), Text::npos);
}

TEST_F(UpdateTest, IdentityIsCreatedOnceAndKeptAsStored) {
  std::vector<uint32_t> draws = {0x12AB, 0xFFFE, 0x7FFFFFFE};
  std::vector<uint32_t> limits;
  size_t next = 0;
  auto random = [&](uint32_t below) {
    limits.push_back(below);
    return draws[next++ % draws.size()];
  };
  EXPECT_EQ(GenerateUID(windows.clock, random), u"000012AB240307FFFE0905027FFFFFFE");
  EXPECT_EQ(limits, (std::vector<uint32_t>{0x7FFFFFFF, 0xFFFF, 0x7FFFFFFF}));

  const Text first = GetUID(windows.registry, windows.clock, random);
  EXPECT_EQ(first.size(), 32u);
  EXPECT_EQ(StoredUid(), first);
  EXPECT_EQ(windows.registry.Get(root::kCurrentUser, u"Software\\Morvessa", u"MorUID")->type, reg_type::kSz);
  EXPECT_EQ(GetUID(windows.registry, windows.clock, random), first);

  windows.registry.SetString(root::kCurrentUser, u"Software\\Morvessa", u"MorUID", u"not-an-identity");
  EXPECT_EQ(GetUID(windows.registry, windows.clock, random), u"not-an-identity");
  windows.faults.Fail("RegCreateKeyExW");
  EXPECT_EQ(GetUID(windows.registry, windows.clock, random), u"");
}

TEST_F(UpdateTest, RequestCarriesTheFourHeadersInOrder) {
  windows.http.Answer("{}");
  UpdateClient client(windows.ports(), uiThread, ui, translator, fast);
  const auto calls = Check(client);
  ASSERT_EQ(calls.size(), 1u);
  const auto requests = windows.http.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].userAgent, u"Mozilla/5.0 (Windows NT 10.0; Win64; x64)");
  ASSERT_EQ(requests[0].headers.size(), 4u);
  const std::vector<Text> names = {u"User-Version", u"User-Language", u"User-Debug", u"User-Union"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(requests[0].headers[i].name, names[i]);
  EXPECT_EQ(requests[0].headers[0].value, u"1.0.8.0");
  EXPECT_EQ(requests[0].headers[1].value, u"ko");
  EXPECT_EQ(requests[0].headers[2].value, u"false");
  EXPECT_TRUE(std::regex_match(ToUtf8(requests[0].headers[3].value),
                               std::regex("[0-9A-F]{8}[0-9]{6}[0-9A-F]{4}[0-9]{6}[0-9A-F]{8}")));
  EXPECT_EQ(requests[0].headers[3].value, StoredUid());
}

TEST_F(UpdateTest, VersionTextWithoutAVersionResourceIsZeros) {
  windows.versions.Set(windows.systemInfo.programPath, {});
  EXPECT_EQ(GetVersionText(windows.systemInfo, windows.versions), u"0.0.0.0");
  windows.systemInfo.programPath = u"C:\\elsewhere.exe";
  EXPECT_EQ(GetVersionText(windows.systemInfo, windows.versions), u"0.0.0.0");
}

TEST_F(UpdateTest, UnreachableServerGivesSixAttemptsThenTheEmptyAnswerOnce) {
  windows.http.Unreachable();
  UpdateClient client(windows.ports(), uiThread, ui, translator, fast);
  const auto calls = Check(client);
  EXPECT_EQ(windows.http.Requests().size(), 6u);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_FALSE(calls[0].first);
  EXPECT_EQ(calls[0].second, u"");
  EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(UpdateTest, StopDuringAPauseEndsWithoutACallback) {
  windows.http.Unreachable();
  UpdateClient client(windows.ports(), uiThread, ui, translator, {6, 1000, std::chrono::milliseconds(10)});
  int calls = 0;
  client.CheckUpdate(u"https://127.0.0.1:1/", [&](bool, const Text&) { ++calls; }, 10);
  while (windows.http.Requests().empty()) std::this_thread::yield();
  client.RequestStop();
  uiThread.ServeUntil([&] { return client.Finished(); });
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(uiThread.handovers, 0);
  EXPECT_EQ(windows.http.Requests().size(), 1u);
}

TEST_F(UpdateTest, WithoutACallbackCheckUpdateWaitsAndServesTheHandover) {
  windows.http.Answer(R"({"notify":"https://example.test/notice"})");
  UpdateClient client(windows.ports(), uiThread, ui, translator, fast);
  client.CheckUpdate(u"https://127.0.0.1:1/", nullptr, 10);
  EXPECT_TRUE(client.Finished());
  EXPECT_EQ(uiThread.handovers, 1);
  EXPECT_EQ(ui.statusUrls, (std::vector<Text>{u"https://example.test/notice"}));
}

TEST_F(UpdateTest, AnswerHandlingInItsOrder) {
  UpdateClient client(windows.ports(), uiThread, ui, translator, fast);
  std::vector<std::pair<bool, Text>> calls;
  auto record = [&](bool accepted, const Text& data) { calls.emplace_back(accepted, data); };

  const Text answer = uR"({"update":"https:\/\/example.test\/Setup.exe","notify":"http://example.test/n"})";
  ui.answerYes = true;
  client.HandleAnswer(answer, record);
  EXPECT_EQ(ui.dialogs, (std::vector<Text>{answer}));
  EXPECT_EQ(windows.shell.opened, (std::vector<Text>{u"https://example.test/Setup.exe"}));
  EXPECT_EQ(ui.statusUrls, (std::vector<Text>{u"http://example.test/n"}));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].first);
  EXPECT_EQ(calls[0].second, answer);

  ui.answerYes = false;
  client.HandleAnswer(uR"({"update":"https://example.test/Setup.exe"})", record);
  EXPECT_EQ(windows.shell.opened.size(), 1u);
  EXPECT_FALSE(calls.back().first);

  client.HandleAnswer(uR"({"update": "https://spaced.test"})", record);  // not found: no dialog
  EXPECT_EQ(ui.dialogs.size(), 2u);
}

TEST_F(UpdateTest, OnlyWebAddressesFromTheServerReachTheShell) {
  UpdateClient client(windows.ports(), uiThread, ui, translator, fast);
  ui.answerYes = true;
  bool accepted = false;
  bool called = false;
  // Addresses that are no web addresses count as absent: no offer, no notice bar.
  client.HandleAnswer(uR"({"update":"C:\\Windows\\System32\\cmd.exe","notify":"file:///C:/x"})",
                      [&](bool a, const Text&) { accepted = a, called = true; });
  EXPECT_TRUE(windows.shell.opened.empty());
  EXPECT_TRUE(ui.dialogs.empty());
  EXPECT_TRUE(ui.statusUrls.empty());
  EXPECT_TRUE(called);
  EXPECT_FALSE(accepted) << "an offer that opens nothing is no accepted update";
  for (const char16_t* address : {u"http://a", u"HTTPS://a/b", u"https://a/b c?d=1&e=%20"}) {
    EXPECT_TRUE(IsWebAddress(address)) << ToUtf8(address);
  }
  for (const char16_t* address : {u"", u"https://", u"ftp://a", u"javascript:x", u"\\\\server\\share",
                                  u" https://a", u"https://a\r\nb", u"https://a\tb", u"https://a/\"x\" -p",
                                  u"https://a\x7F"}) {
    EXPECT_FALSE(IsWebAddress(address)) << ToUtf8(address);
  }
}

TEST_F(UpdateTest, HoldRequestSendsExactlyTwoHeaders) {
  UpdateClient client(windows.ports(), uiThread, ui, translator, fast);
  client.CheckUpdate(u"https://127.0.0.1:1/api.init.php", nullptr, 10);
  client.StartHoldRequest();
  client.WaitForHoldRequests();
  const auto requests = windows.http.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const auto& hold = requests[1];
  EXPECT_EQ(hold.url, u"https://127.0.0.1:1/api.init.php");
  ASSERT_EQ(hold.headers.size(), 2u);
  EXPECT_EQ(hold.headers[0].name, u"User-Version");
  EXPECT_EQ(hold.headers[0].value, u"1.0.8.0");
  EXPECT_EQ(hold.headers[1].name, u"User-Command");
  EXPECT_EQ(hold.headers[1].value, u"hold");
}

TEST_F(UpdateTest, InfoBlockMembers) {
  const UpdateInfo info = ParseUpdateInfo(
      uR"({"update":"u","info":{"style":"note","text":"Caf\u00e9 \"news\"","flag":"top stayontop","url":"https://n"}})");
  EXPECT_EQ(info.style, u"note");
  EXPECT_EQ(info.text, u"Caf\u00E9 \"news\"");
  EXPECT_EQ(info.flag, u"top stayontop");
  EXPECT_EQ(info.url, u"https://n");
  EXPECT_EQ(ParseUpdateInfo(uR"({"info":{"style":"hold"}, "text":"outside"})").text, u"");
}

TEST(NoticeLayoutTest, RoomLineAndControlFromTheBottom) {
  NoticeLayout note = ComputeNoticeLayout(u"note", 400, 200, 96, 10);
  EXPECT_EQ(note.growBy, 30);
  EXPECT_TRUE(note.line && note.link && !note.checkBox);
  EXPECT_EQ(note.lineTop, 230 - 66);
  EXPECT_EQ(note.lineWidth, 400);
  EXPECT_EQ(note.controlTop, 230 - 56);
  EXPECT_EQ(note.controlLeft, 10);

  NoticeLayout hold = ComputeNoticeLayout(u"hold", 600, 300, 144, 10);  // 150 %
  EXPECT_EQ(hold.growBy, 45);
  EXPECT_TRUE(hold.checkBox && !hold.link);
  EXPECT_EQ(hold.controlTop, 345 - 84);
  EXPECT_EQ(hold.controlLeft, 15);
  EXPECT_EQ(hold.controlWidth, 600);

  NoticeLayout other = ComputeNoticeLayout(u"banner", 400, 200, 96, 0);
  EXPECT_EQ(other.growBy, 40);
  EXPECT_TRUE(other.line && !other.checkBox && !other.link);
  EXPECT_EQ(ComputeNoticeLayout(u"", 400, 200, 96, 10).growBy, 0);
  EXPECT_FALSE(ComputeNoticeLayout(u"Hold", 400, 200, 96, 10).checkBox) << "style compares exactly";
}

}  // namespace
}  // namespace tarnwick
