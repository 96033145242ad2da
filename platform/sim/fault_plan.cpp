#include "platform/sim/fault_plan.h"

#include <algorithm>

#include "core/error.h"

namespace tarnwick::sim {

void FaultPlan::Fail(std::string call, Text subject, int times) {
  faults_.push_back({std::move(call), std::move(subject), times, false});
}

void FaultPlan::Throw(std::string call, Text subject, int times) {
  faults_.push_back({std::move(call), std::move(subject), times, true});
}

void FaultPlan::Clear() {
  faults_.clear();
  log_.clear();
}

bool FaultPlan::ShouldFail(std::string_view call, TextView subject) {
  if (record) log_.emplace_back(call);
  for (Fault& fault : faults_) {
    if (fault.call != call || fault.remaining == 0) continue;
    if (!fault.subject.empty() && !SameTextAscii(fault.subject, subject)) continue;
    if (fault.remaining > 0) --fault.remaining;
    if (fault.throws) {
      throw TarnwickError(u"simulated failure in " + FromUtf8(call));
    }
    return true;
  }
  return false;
}

int FaultPlan::CallCount(std::string_view call) const {
  return static_cast<int>(std::count(log_.begin(), log_.end(), call));
}

}  // namespace tarnwick::sim
