#pragma once
// Move-only owners for Win32 handles: get, reset, release, and an explicit validity test
// that rejects both null and INVALID_HANDLE_VALUE. No implicit conversion to the raw handle.

#include <windows.h>

#include <utility>

namespace tarnwick::win32 {

template <typename Traits>
class UniqueAny {
 public:
  using Pointer = typename Traits::Pointer;

  UniqueAny() noexcept = default;
  explicit UniqueAny(Pointer value) noexcept : value_(value) {}
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueAny() { reset(); }

  [[nodiscard]] Pointer get() const noexcept { return value_; }
  [[nodiscard]] explicit operator bool() const noexcept { return IsValid(value_); }

  void reset(Pointer value = Pointer()) noexcept {
    if (IsValid(value_)) Traits::Close(value_);
    value_ = value;
  }
  [[nodiscard]] Pointer release() noexcept { return std::exchange(value_, Pointer()); }

 private:
  static bool IsValid(Pointer value) noexcept {
    return value != Pointer() && value != reinterpret_cast<Pointer>(INVALID_HANDLE_VALUE);
  }
  Pointer value_ = Pointer();
};

struct KernelHandleTraits {
  using Pointer = HANDLE;
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct ScHandleTraits {
  using Pointer = SC_HANDLE;
  static void Close(SC_HANDLE h) noexcept { ::CloseServiceHandle(h); }
};

struct HkeyTraits {
  using Pointer = HKEY;
  static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};

struct FindHandleTraits {
  using Pointer = HANDLE;
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFindHandle = UniqueAny<FindHandleTraits>;
using UniqueHkey = UniqueAny<HkeyTraits>;
using UniqueScHandle = UniqueAny<ScHandleTraits>;

}  // namespace tarnwick::win32
