// The file system contract against the simulated file system.

#include "platform/sim/sim_file_system.h"
#include "tests/contract/file_system_contract.h"

namespace tarnwick::contract {
namespace {

class SimEnvironment {
 public:
  SimEnvironment() { files_.AddFolder(folder()); }
  FileSystem& files() { return files_; }
  Text folder() const { return u"C:\\Scratch"; }
  void MakeSubfolder(TextView name) { files_.AddSubfolder(folder(), name); }
  std::string Content(TextView name) { return files_.Content(folder() + u"\\" + Text(name)); }

 private:
  sim::FaultPlan faults_;
  sim::SimFileSystem files_{faults_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Simulated, FileSystemContract, SimEnvironment);

}  // namespace
}  // namespace tarnwick::contract
