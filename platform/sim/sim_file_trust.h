#pragma once
// Simulated shell links and Authenticode answers. Both may be called from any thread.
//
// Fault calls: "IPersistFile::Load" [link path]: the link cannot be read;
// "WinVerifyTrust" [file path]: verification fails (Unknown).

#include <atomic>
#include <map>
#include <mutex>

#include "platform/sim/fault_plan.h"
#include "platform/sim/folded_index.h"
#include "ports/shortcuts.h"
#include "ports/signatures.h"

namespace tarnwick::sim {

class SimShortcuts final : public ShortcutReader {
 public:
  explicit SimShortcuts(FaultPlan& faults) : faults_(faults) {}
  void Set(TextView linkPath, ShortcutTarget target);
  bool Read(TextView linkPath, ShortcutTarget& target) override;

 private:
  FaultPlan& faults_;
  std::mutex mutex_;
  std::map<Text, ShortcutTarget> links_;  // folded path -> target
};

// A file without an answer of its own reads as unsigned.
class SimSignatures final : public SignatureVerifier {
 public:
  explicit SimSignatures(FaultPlan& faults) : faults_(faults) {}
  void Set(TextView path, Signature signature);
  Signature Verify(TextView path) override;
  // How many files were verified so far.
  int verifications() const { return verifications_; }

 private:
  FaultPlan& faults_;
  std::mutex mutex_;
  std::map<Text, Signature> answers_;  // folded path -> answer
  std::atomic<int> verifications_ = 0;
};

}  // namespace tarnwick::sim
