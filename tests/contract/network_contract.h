#pragma once
// The HTTP and UI-thread ports' contracts, for the simulated Windows (natively) and the Win32
// adapters (under Wine). The environment gives an HttpClient, answeredUrl() that answers
// with body(), unreachableUrl() on which nothing answers, and sentHeaders(): the header lines
// ("Name: value") of the last request in the order they arrived. It also gives a UiThread made
// on the test's thread.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, NetworkContract, Environment);

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ports/network.h"
#include "ports/ui_thread.h"

namespace tarnwick::contract {

template <typename Environment>
class NetworkContract : public ::testing::Test {
 protected:
  Environment environment_;
};

TYPED_TEST_SUITE_P(NetworkContract);

TYPED_TEST_P(NetworkContract, AGetSendsTheAgentThenTheHeadersAndReadsTheBodyUpToTheLimit) {
  HttpClient& http = this->environment_.http();
  std::string body;
  ASSERT_TRUE(http.Get(this->environment_.answeredUrl(), u"Agent/1.0", {{u"User-A", u"1"}, {u"User-B", u""}},
                       1 << 20, body));
  EXPECT_EQ(body, this->environment_.body());
  const std::vector<std::string> lines = this->environment_.sentHeaders();
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  ASSERT_LT(at("User-Agent: Agent/1.0"), static_cast<long>(lines.size()));
  EXPECT_LT(at("User-Agent: Agent/1.0"), at("User-A: 1"));
  EXPECT_LT(at("User-A: 1"), at("User-B: ")) << "in list order, empty values too";

  ASSERT_TRUE(http.Get(this->environment_.answeredUrl(), u"Agent/1.0", {}, 4, body));
  EXPECT_EQ(body, this->environment_.body().substr(0, 4));
}

TYPED_TEST_P(NetworkContract, NoAnswerIsAFailure) {
  std::string body;
  EXPECT_FALSE(this->environment_.http().Get(this->environment_.unreachableUrl(), u"Agent/1.0", {}, 1 << 20, body));
}

TYPED_TEST_P(NetworkContract, AHandOverRunsOnTheUserInterfaceThreadWhenServed) {
  UiThread& ui = this->environment_.uiThread();
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id ranOn;
  std::atomic<bool> returned{false};
  bool handed = false;
  std::thread worker([&] {
    handed = ui.RunSync([&] { ranOn = std::this_thread::get_id(); });
    returned = true;
  });
  ui.ServeUntil([&] { return returned.load(); });
  worker.join();
  EXPECT_TRUE(handed);
  EXPECT_EQ(ranOn, self);
}

REGISTER_TYPED_TEST_SUITE_P(NetworkContract, AGetSendsTheAgentThenTheHeadersAndReadsTheBodyUpToTheLimit,
                            NoAnswerIsAFailure, AHandOverRunsOnTheUserInterfaceThreadWhenServed);

}  // namespace tarnwick::contract
