// The registry contract against the simulated registry.

#include "platform/sim/sim_registry.h"
#include "tests/contract/registry_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  Registry& registry() { return registry_; }
  Text scratch() const { return u"Software\\TarnwickTests\\Contract"; }

 private:
  sim::FaultPlan faults_;
  sim::SimRegistry registry_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, RegistryContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
