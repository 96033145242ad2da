// The HTTP and UI-thread contracts against the simulated Windows.

#include "platform/sim/sim_network.h"
#include "tests/contract/network_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() {
    http_.Answer(body());
    faults_.Fail("WinHttpSendRequest", unreachableUrl());
  }
  HttpClient& http() { return http_; }
  UiThread& uiThread() { return ui_; }
  std::string body() const { return "{\"update\":\"\"}"; }
  Text answeredUrl() const { return u"http://127.0.0.1:47631/api.init.php"; }
  Text unreachableUrl() const { return u"http://127.0.0.1:1/api.init.php"; }
  std::vector<std::string> sentHeaders() {
    const auto requests = http_.Requests();
    std::vector<std::string> lines;
    if (requests.empty()) return lines;
    lines.push_back("User-Agent: " + ToUtf8(requests.back().userAgent));
    for (const HttpHeader& header : requests.back().headers) {
      lines.push_back(ToUtf8(header.name) + ": " + ToUtf8(header.value));
    }
    return lines;
  }

 private:
  sim::FaultPlan faults_;
  sim::SimHttp http_{faults_};
  sim::SimUiThread ui_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, NetworkContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
