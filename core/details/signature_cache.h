#pragma once
// Signatures verified once per version of a file: hashing a large program costs far more than
// everything else the list learns about it, and a refresh asks again for the same files.

#include <map>
#include <mutex>
#include <optional>
#include <tuple>

#include "ports/file_system.h"
#include "ports/signatures.h"

namespace tarnwick {

// The names tarnwickc prints: "valid", "unsigned", "invalid", "untrusted", "unknown",
// "not checked".
const char* SignatureStateName(SignatureState state);

class SignatureCache {
 public:
  SignatureCache(SignatureVerifier& verifier, FileSystem& files) : verifier_(verifier), files_(files) {}
  SignatureCache(const SignatureCache&) = delete;
  SignatureCache& operator=(const SignatureCache&) = delete;

  // The file's signature, verified only when this path with this size and last write time
  // was not verified before. A file that cannot be stamped (missing) is Unknown, not cached.
  // Safe to call from several threads; two threads may verify the same new file once each.
  Signature Verify(TextView path);
  // The answer for the file as it is now, when it was verified before.
  std::optional<Signature> Cached(TextView path);

 private:
  using Key = std::tuple<Text, uint64_t, uint64_t>;  // folded path, size, last write
  std::optional<Key> KeyOf(TextView path);

  SignatureVerifier& verifier_;
  FileSystem& files_;
  std::mutex mutex_;
  std::map<Key, Signature> answers_;
};

}  // namespace tarnwick
