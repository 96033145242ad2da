#pragma once
// Failure injection for the simulated Windows. Every simulated call asks the plan
// before it acts, naming itself after the Win32 function it stands for ("OpenServiceW")
// and its subject (a service name, a key path; empty where there is none). Safe to use from
// several threads (the window verifies signatures on a worker).

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/text.h"

namespace tarnwick::sim {

class FaultPlan {
 public:
  // The call fails as the platform would report it (the port's "not found"/false result).
  // An empty subject matches every subject; `times` < 0 means every time. A name the
  // simulation never checks throws std::invalid_argument.
  void Fail(std::string call, Text subject = {}, int times = -1);
  // The call throws TarnwickError instead, as an error escaping the platform would.
  void Throw(std::string call, Text subject = {}, int times = -1);
  void Clear();

  // Asked by the simulation: true when the call must fail; throws for Throw faults.
  // Every check is also recorded in the call log.
  bool ShouldFail(std::string_view call, TextView subject = {});

  int CallCount(std::string_view call) const;
  // The call log; benchmarks switch it off so that it does not grow with every refresh.
  bool record = true;
  // Read only while no other thread makes simulated calls.
  const std::vector<std::string>& CallLog() const { return log_; }

 private:
  struct Fault {
    std::string call;
    Text subject;
    int remaining;
    bool throws;
  };
  mutable std::mutex mutex_;
  std::vector<Fault> faults_;
  std::vector<std::string> log_;
};

}  // namespace tarnwick::sim
