#pragma once
// Port: Authenticode verification of a file.

#include "core/text/text.h"

namespace tarnwick {

enum class SignatureState {
  NotChecked,  // not asked for (yet)
  Valid,       // signed, intact, chained to a trusted root
  Unsigned,    // neither an embedded signature nor a catalogue entry
  Invalid,     // the file does not match its signature, or the signature is malformed
  Untrusted,   // intact, but its chain ends at a root this machine does not trust
  Unknown,     // verification failed for another reason (file unreadable, ...)
};

struct Signature {
  SignatureState state = SignatureState::NotChecked;
  Text signer;  // the signing certificate's subject name, for Valid and Untrusted
  bool fromCatalogue = false;  // Valid through a system catalogue rather than embedded
};

class SignatureVerifier {
 public:
  virtual ~SignatureVerifier() = default;
  // Verifies the file's embedded signature and, without one, the system catalogues. Never
  // goes to the network: revocation is checked from the local cache only. Slow (it hashes the
  // whole file); may be called from any thread.
  virtual Signature Verify(TextView path) = 0;
};

}  // namespace tarnwick
