#pragma once
// The simulated service control manager: services in insertion order, names compared
// without regard to case, access rights enforced, open handles counted.
//
// Calls named for fault injection: "OpenSCManagerW", "EnumServicesStatusW",
// "OpenServiceW", "QueryServiceConfigW", "ChangeServiceConfigW", "QueryServiceConfig2W",
// "ChangeServiceConfig2W" (subject: service name).

#include <cstdint>
#include <vector>

#include "platform/sim/fault_plan.h"
#include "platform/sim/folded_index.h"
#include "ports/service_manager.h"

namespace tarnwick::sim {

namespace service_type {
inline constexpr uint32_t kKernelDriver = 0x01;
inline constexpr uint32_t kFileSystemDriver = 0x02;
inline constexpr uint32_t kOwnProcess = 0x10;
inline constexpr uint32_t kShareProcess = 0x20;
inline constexpr uint32_t kWin32 = kOwnProcess | kShareProcess;
}  // namespace service_type

namespace service_state {
inline constexpr uint32_t kStopped = 1;
inline constexpr uint32_t kRunning = 4;
}  // namespace service_state

struct SimService {
  Text name;
  Text displayName;
  Text binaryPath;
  uint32_t startType = scm::kDemandStart;
  uint32_t type = service_type::kOwnProcess;
  uint32_t state = service_state::kStopped;
  bool delayedAutoStart = false;
};

class SimServiceManager final : public ServiceManager {
 public:
  explicit SimServiceManager(FaultPlan& faults) : faults_(faults) {}

  // Adds a service, or replaces the one of the same name in its place.
  void Add(SimService service);
  bool Remove(TextView name);
  SimService* Find(TextView name);

  // Manager and service handles currently open; zero whenever callers are done.
  int OpenHandles() const { return openHandles_; }

  std::unique_ptr<ScmConnection> Connect(uint32_t access) override;

 private:
  friend class SimScmConnection;
  friend class SimServiceHandle;
  FaultPlan& faults_;
  std::vector<SimService> services_;
  FoldedIndex index_;
  int openHandles_ = 0;
};

}  // namespace tarnwick::sim
