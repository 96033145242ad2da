// The update client against a loopback server under Wine: WinHTTP on the wire, the identity in
// the real registry, the hand-over through the message queue.

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>

#include "core/registry/registry.h"
#include "core/update/update.h"
#include "platform/win32/ui_thread_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "tests/win/loopback_server.h"

namespace tarnwick::win32 {
namespace {

using test::LoopbackServer;

// The main program's file stands in for the test binary's, which has no version resource.
class TarnwickSystemInfo final : public SystemInfo {
 public:
  uint16_t NativeProcessorArchitecture() override { return real_.NativeProcessorArchitecture(); }
  uint32_t MajorVersion() override { return real_.MajorVersion(); }
  uint32_t MinorVersion() override { return real_.MinorVersion(); }
  Text ProgramPath() override {
    const Text self = real_.ProgramPath();
    return self.substr(0, self.rfind(u'\\') + 1) + u"Tarnwick.exe";
  }
  Text UserSid() override { return real_.UserSid(); }

 private:
  Win32SystemInfo real_;
};

class NoUi final : public UpdateUi {
 public:
  bool UpdateDialog(const Text&) override { return false; }
  void ShowUpdateStatus(const Text& url) override { statusUrls.push_back(url); }
  std::vector<Text> statusUrls;
};

class UpdateWin32Test : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morvessa"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morvessa"); }

  Ports MakePorts() {
    Ports ports = platform.ports();
    return Ports{ports.services, ports.registry, ports.shellFolders, system, ports.fileSystem, ports.clock,
                 ports.com, ports.locale, ports.resources, ports.versions, ports.icons, ports.http, ports.shell,
                 ports.shortcuts, ports.signatures};
  }
  std::vector<std::pair<bool, Text>> Check(const std::string& url, UpdateTiming timing = {6, 2, std::chrono::milliseconds(1)}) {
    UpdateClient client(MakePorts(), uiThread, ui, translator, timing);
    std::vector<std::pair<bool, Text>> calls;
    client.CheckUpdate(FromUtf8(url), [&](bool accepted, const Text& data) { calls.emplace_back(accepted, data); }, 10);
    uiThread.ServeUntil([&] { return client.Finished(); });
    return calls;
  }
  Text StoredUid() {
    return TReg(platform.ports().registry).ReadString(root::kCurrentUser, u"Software\\Morvessa", u"MorUID", u"<none>");
  }

  Win32Platform platform;
  TarnwickSystemInfo system;
  Win32UiThread uiThread;
  NoUi ui;
  Translator translator{{}, u"ja"};
};

TEST_F(UpdateWin32Test, HeadersOnTheWireAndTheIdentityKeptAcrossRuns) {
  LoopbackServer server(200, "{\"notify\":\"https://example.test/n\"}");
  auto calls = Check(server.Url());
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].second, u"{\"notify\":\"https://example.test/n\"}");
  EXPECT_EQ(ui.statusUrls, (std::vector<Text>{u"https://example.test/n"}));

  const Text uid = StoredUid();
  ASSERT_TRUE(std::regex_match(ToUtf8(uid), std::regex("[0-9A-F]{8}[0-9]{6}[0-9A-F]{4}[0-9]{6}[0-9A-F]{8}")))
      << ToUtf8(uid);
  Check(server.Url());

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const auto& request : requests) {
    ASSERT_FALSE(request.empty());
    EXPECT_EQ(request[0], "GET /api.init.php HTTP/1.1");
    std::vector<std::string> ours;
    for (const std::string& line : request) {
      if (line.starts_with("User-")) ours.push_back(line);
    }
    EXPECT_EQ(ours, (std::vector<std::string>{"User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64)",
                                              "User-Version: " TARNWICK_VERSION_TEXT, "User-Language: ja", "User-Debug: false",
                                              "User-Union: " + ToUtf8(uid)}));
  }
}

TEST_F(UpdateWin32Test, AnExistingIdentityIsSentUnchanged) {
  TReg(platform.ports().registry).WriteString(root::kCurrentUser, u"Software\\Morvessa", u"MorUID", u"hand made");
  LoopbackServer server(200, "{}");
  Check(server.Url());
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(std::find(requests[0].begin(), requests[0].end(), "User-Union: hand made"), requests[0].end());
  EXPECT_EQ(StoredUid(), u"hand made");
}

TEST_F(UpdateWin32Test, AnErrorStatusIsAnAnswerWithoutRetry) {
  LoopbackServer server(500, "{\"notify\":\"https://example.test/down\"}");
  const auto calls = Check(server.Url());
  EXPECT_EQ(server.Requests().size(), 1u);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].second, u"{\"notify\":\"https://example.test/down\"}");
}

TEST_F(UpdateWin32Test, AnAnswerIsReadUpToOneMebibyte) {
  LoopbackServer server(200, std::string(kMaxAnswerBytes + 4096, 'x'));
  const auto calls = Check(server.Url());
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].second.size(), kMaxAnswerBytes);
}

TEST_F(UpdateWin32Test, UnreachableGivesSixAttemptsThenOneEmptyAnswer) {
  const auto calls = Check("http://127.0.0.1:" + std::to_string(LoopbackServer::UnusedPort()) + "/api.init.php");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_FALSE(calls[0].first);
  EXPECT_EQ(calls[0].second, u"");
}

TEST_F(UpdateWin32Test, StopDuringAPauseEndsWithoutACallback) {
  UpdateClient client(MakePorts(), uiThread, ui, translator, {6, 1000, std::chrono::milliseconds(10)});
  int calls = 0;
  client.CheckUpdate(FromUtf8("http://127.0.0.1:" + std::to_string(LoopbackServer::UnusedPort()) + "/"),
                     [&](bool, const Text&) { ++calls; }, 10);
  Sleep(300);  // the first attempt fails at once; the worker is pausing
  client.RequestStop();
  uiThread.ServeUntil([&] { return client.Finished(); });
  EXPECT_EQ(calls, 0);
}

TEST_F(UpdateWin32Test, HoldRequestHasExactlyTwoHeaders) {
  LoopbackServer server(200, "{}");
  UpdateClient client(MakePorts(), uiThread, ui, translator, {6, 2, std::chrono::milliseconds(1)});
  client.CheckUpdate(FromUtf8(server.Url()), nullptr, 10);
  client.StartHoldRequest();
  client.WaitForHoldRequests();
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  std::vector<std::string> ours;
  for (const std::string& line : requests[1]) {
    if (line.starts_with("User-")) ours.push_back(line);
  }
  EXPECT_EQ(ours, (std::vector<std::string>{"User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64)",
                                            "User-Version: " TARNWICK_VERSION_TEXT, "User-Command: hold"}));
}

}  // namespace
}  // namespace tarnwick::win32
