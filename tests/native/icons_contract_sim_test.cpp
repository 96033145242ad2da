// The icon ports' contract against the simulated icons.

#include "platform/sim/sim_file_info.h"
#include "tests/contract/icons_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() { icons_.SetIcons(withIcon(), 1); }
  IconSource& icons() { return icons_; }
  ImageCollection& images() { return images_; }
  Text withIcon() const { return u"C:\\Program Files\\Tarnwick\\Tarnwick.exe"; }

 private:
  sim::FaultPlan faults_;
  sim::SimIconSource icons_{faults_};
  sim::SimImageCollection images_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, IconsContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
