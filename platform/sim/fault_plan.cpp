#include "platform/sim/fault_plan.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "core/error.h"

namespace tarnwick::sim {
namespace {

// Every call the simulation asks the plan about. A fault for any other name would never fire,
// so naming one is refused: a misspelt call fails its test instead of passing it quietly.
constexpr std::string_view kCalls[] = {
    "ChangeServiceConfig2W", "ChangeServiceConfigW", "CoCreateInstance", "CoInitializeEx", "CoInitializeSecurity",
    "DeleteFileW", "EnumServicesStatusW", "ExtractAssociatedIconW", "FindFirstFileW", "FindResourceW",
    "GetFileVersionInfoW", "GetLocaleInfoW", "IRegisteredTask::get_Enabled", "IRegisteredTask::get_Name", "IRegisteredTask::get_Xml",
    "IRegisteredTask::put_Enabled", "IRegisteredTaskCollection::get_Count", "IRegisteredTaskCollection::get_Item",
    "ITaskFolder::GetFolders", "ITaskFolder::GetTask", "ITaskFolder::GetTasks", "IPersistFile::Load", "ITaskService::Connect", "ITaskService::GetFolder",
    "ImageList_AddIcon", "OpenSCManagerW", "OpenServiceW", "QueryServiceConfig2W", "QueryServiceConfigW",
    "RegCreateKeyExW", "RegDeleteKeyExW", "RegDeleteValueW", "RegEnumKeyExW", "RegEnumValueW", "RegOpenKeyExW",
    "ReadFile", "RegQueryValueExW", "RegSetValueExW", "SHGetFolderPathW", "WinHttpSendRequest", "WinVerifyTrust",
    "WriteFile",
};

bool IsSimulatedCall(std::string_view call) {
  return std::find(std::begin(kCalls), std::end(kCalls), call) != std::end(kCalls);
}

void RequireSimulatedCall(std::string_view call) {
  if (!IsSimulatedCall(call)) {
    throw std::invalid_argument("no simulated call is named \"" + std::string(call) + "\"");
  }
}

}  // namespace

void FaultPlan::Fail(std::string call, Text subject, int times) {
  RequireSimulatedCall(call);
  std::lock_guard lock(mutex_);
  faults_.push_back({std::move(call), std::move(subject), times, false});
}

void FaultPlan::Throw(std::string call, Text subject, int times) {
  RequireSimulatedCall(call);
  std::lock_guard lock(mutex_);
  faults_.push_back({std::move(call), std::move(subject), times, true});
}

void FaultPlan::Clear() {
  std::lock_guard lock(mutex_);
  faults_.clear();
  log_.clear();
}

bool FaultPlan::ShouldFail(std::string_view call, TextView subject) {
  std::lock_guard lock(mutex_);
  if (record) {
    // Benchmarks switch recording off, and this check with it.
    if (!IsSimulatedCall(call)) throw std::logic_error("the simulation checks an unlisted call: " + std::string(call));
    log_.emplace_back(call);
  }
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
  RequireSimulatedCall(call);
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count(log_.begin(), log_.end(), call));
}

}  // namespace tarnwick::sim
