// The HTTP and UI-thread contracts against WinHTTP and the window-message hand-over under Wine,
// with a loopback server of the test's own.

#include "platform/win32/network_win32.h"
#include "platform/win32/ui_thread_win32.h"
#include "tests/contract/network_contract.h"
#include "tests/win/loopback_server.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  HttpClient& http() { return http_; }
  UiThread& uiThread() { return ui_; }
  std::string body() const { return "{\"update\":\"\"}"; }
  Text answeredUrl() const { return FromUtf8(server_.Url()); }
  Text unreachableUrl() const {
    return FromUtf8("http://127.0.0.1:" + std::to_string(test::LoopbackServer::UnusedPort()) + "/api.init.php");
  }
  std::vector<std::string> sentHeaders() {
    const auto requests = server_.Requests();
    return requests.empty() ? std::vector<std::string>{} : requests.back();
  }

 private:
  test::LoopbackServer server_{200, "{\"update\":\"\"}"};
  win32::WinHttpClient http_;
  win32::Win32UiThread ui_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, NetworkContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
