// The small system ports' contracts against the simulated Windows.

#include "platform/sim/sim_windows.h"
#include "tests/contract/system_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() {
    windows_.resources.LoadFile(u"TRANSLATE", TARNWICK_SOURCE_DIR "/resources/translate.txt");
  }
  ShellFolders& shellFolders() { return windows_.shellFolders; }
  SystemInfo& systemInfo() { return windows_.systemInfo; }
  Clock& clock() { return windows_.clock; }
  Locale& locale() { return windows_.locale; }
  ProgramResources& resources() { return windows_.resources; }

 private:
  sim::SimWindows windows_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, SystemContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
