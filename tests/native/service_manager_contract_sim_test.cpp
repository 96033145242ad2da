// The service manager contract against the simulated manager.

#include "platform/sim/sim_service_manager.h"
#include "tests/contract/service_manager_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() { services_.Add({name(), displayName(), binaryPath(), scm::kDemandStart}); }
  ServiceManager& services() { return services_; }
  Text name() const { return u"TarnwickContractSvc"; }
  Text displayName() const { return u"Tarnwick Contract \u00E9\uD55C"; }
  Text binaryPath() const { return u"\"C:\\Program Files\\T\\svc.exe\" -k group"; }
  bool delayedFlagSupported() const { return true; }

 private:
  sim::FaultPlan faults_;
  sim::SimServiceManager services_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, ServiceManagerContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
