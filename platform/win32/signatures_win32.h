#pragma once

#include "ports/signatures.h"

namespace tarnwick::win32 {

// WinVerifyTrust (WINTRUST_ACTION_GENERIC_VERIFY_V2) without user interface or network:
// revocation from the local cache only, and where that cannot answer, no revocation check.
// A file without an embedded signature is looked up in the system catalogues.
class Win32SignatureVerifier final : public SignatureVerifier {
 public:
  Signature Verify(TextView path) override;
};

}  // namespace tarnwick::win32
