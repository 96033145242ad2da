#include "core/details/signature_cache.h"

namespace tarnwick {

const char* SignatureStateName(SignatureState state) {
  switch (state) {
    case SignatureState::Valid: return "valid";
    case SignatureState::Unsigned: return "unsigned";
    case SignatureState::Invalid: return "invalid";
    case SignatureState::Untrusted: return "untrusted";
    case SignatureState::Unknown: return "unknown";
    case SignatureState::NotChecked: break;
  }
  return "not checked";
}

std::optional<SignatureCache::Key> SignatureCache::KeyOf(TextView path) {
  FileStamp stamp;
  if (path.empty() || !files_.Stamp(path, stamp)) return std::nullopt;
  return Key{LowerAscii(path), stamp.size, stamp.lastWrite};
}

std::optional<Signature> SignatureCache::Cached(TextView path) {
  const auto key = KeyOf(path);
  if (!key) return std::nullopt;
  std::lock_guard lock(mutex_);
  auto it = answers_.find(*key);
  if (it == answers_.end()) return std::nullopt;
  return it->second;
}

Signature SignatureCache::Verify(TextView path) {
  const auto key = KeyOf(path);
  if (!key) return {SignatureState::Unknown, {}, false};
  {
    std::lock_guard lock(mutex_);
    if (auto it = answers_.find(*key); it != answers_.end()) return it->second;
  }
  // Outside the lock: other files are verified meanwhile.
  const Signature signature = verifier_.Verify(path);
  // A failure of the verification itself may pass (a file locked for a moment): ask again.
  if (signature.state != SignatureState::Unknown) {
    std::lock_guard lock(mutex_);
    answers_.emplace(*key, signature);
  }
  return signature;
}

}  // namespace tarnwick
