#pragma once
// Simulated HTTP, shell and user-interface thread.
//
// Fault call: "WinHttpSendRequest" [url]: the request fails as without a connection.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/sim/fault_plan.h"
#include "ports/network.h"
#include "ports/ui_thread.h"

namespace tarnwick::sim {

class SimHttp final : public HttpClient {
 public:
  explicit SimHttp(FaultPlan& faults) : faults_(faults) {}

  struct Request {
    Text url, userAgent;
    std::vector<HttpHeader> headers;
  };
  // What every request gets until changed: an answer body, or no connection at all.
  void Answer(std::string body) {
    std::lock_guard<std::mutex> lock(mutex_);
    reachable_ = true;
    body_ = std::move(body);
  }
  void Unreachable() {
    std::lock_guard<std::mutex> lock(mutex_);
    reachable_ = false;
  }
  std::vector<Request> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

  bool Get(TextView url, TextView userAgent, const std::vector<HttpHeader>& headers, size_t limit,
           std::string& body) override {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back({Text(url), Text(userAgent), headers});
    if (!reachable_ || faults_.ShouldFail("WinHttpSendRequest", url)) return false;
    body = body_.substr(0, limit);
    return true;
  }

 private:
  FaultPlan& faults_;
  std::mutex mutex_;
  bool reachable_ = true;
  std::string body_;
  std::vector<Request> requests_;
};

class SimShell final : public Shell {
 public:
  void Open(TextView target) override { opened.emplace_back(target); }
  std::vector<Text> opened;
};

// Hand-overs wait in a queue until the thread playing the user-interface thread serves them.
class SimUiThread final : public UiThread {
 public:
  bool RunSync(const std::function<void()>& work) override;
  void ServeUntil(const std::function<bool()>& done) override;
  int handovers = 0;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>*> queue_;
  int served_ = 0;
};

}  // namespace tarnwick::sim
