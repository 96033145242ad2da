#include "platform/sim/sim_file_trust.h"

namespace tarnwick::sim {

void SimShortcuts::Set(TextView linkPath, ShortcutTarget target) {
  std::lock_guard lock(mutex_);
  links_[FoldKey(linkPath)] = std::move(target);
}

bool SimShortcuts::Read(TextView linkPath, ShortcutTarget& target) {
  std::lock_guard lock(mutex_);
  if (faults_.ShouldFail("IPersistFile::Load", linkPath)) return false;
  auto it = links_.find(FoldKey(linkPath));
  if (it == links_.end()) return false;
  target = it->second;
  return true;
}

void SimSignatures::Set(TextView path, Signature signature) {
  std::lock_guard lock(mutex_);
  answers_[FoldKey(path)] = std::move(signature);
}

Signature SimSignatures::Verify(TextView path) {
  std::lock_guard lock(mutex_);
  ++verifications_;
  if (faults_.ShouldFail("WinVerifyTrust", path)) return {SignatureState::Unknown, {}, false};
  auto it = answers_.find(FoldKey(path));
  return it == answers_.end() ? Signature{SignatureState::Unsigned, {}, false} : it->second;
}

}  // namespace tarnwick::sim
