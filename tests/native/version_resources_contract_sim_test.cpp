// The version resources contract against the simulated resources.

#include "platform/sim/sim_file_info.h"
#include "tests/contract/version_resources_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() { versions_.SetProductName(withVersion(), u"Tarnwick"); }
  VersionResources& versions() { return versions_; }
  Text withVersion() const { return u"C:\\Program Files\\Tarnwick\\Tarnwick.exe"; }
  Text withoutVersion() const { return u"C:\\Tools\\plain.exe"; }
  Text missing() const { return u"C:\\Nowhere\\missing.exe"; }

 private:
  sim::FaultPlan faults_;
  sim::SimVersionResources versions_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, VersionResourcesContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
