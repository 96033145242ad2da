#pragma once
// Registry data can change size between the call that measures it and the call that reads
// it. These reads never trust a size the buffer does not back.

#include <windows.h>

#include <algorithm>

#include "ports/registry.h"

namespace tarnwick::win32 {

inline constexpr int kSizedReadAttempts = 4;

// Calls `read(buffer, &size)` with `scratch` as its buffer (never null). ERROR_MORE_DATA
// grows the scratch to at least the size the call asked for and calls again, at most
// kSizedReadAttempts times in all; then ERROR_MORE_DATA is returned (data that keeps changing
// is skipped, not invented). On success `out` holds the bytes written, never more than the
// buffer held. `scratch` is reused by the caller across reads.
template <class Read>
LSTATUS ReadSized(Bytes& scratch, Bytes& out, Read&& read) {
  if (scratch.empty()) scratch.resize(64);
  for (int attempt = 0; attempt < kSizedReadAttempts; ++attempt) {
    DWORD size = static_cast<DWORD>(scratch.size());
    const LSTATUS status = read(scratch.data(), &size);
    if (status == ERROR_SUCCESS) {
      out.assign(scratch.begin(), scratch.begin() + std::min<size_t>(size, scratch.size()));
      return ERROR_SUCCESS;
    }
    if (status != ERROR_MORE_DATA) return status;
    scratch.resize(std::max<size_t>(size, scratch.size() * 2));
  }
  return ERROR_MORE_DATA;
}

}  // namespace tarnwick::win32
