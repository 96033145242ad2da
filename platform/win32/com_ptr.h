#pragma once
// Owners for COM pointers, BSTRs and VARIANTs: released on every path.

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace tarnwick::win32 {

template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() noexcept {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  [[nodiscard]] T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  [[nodiscard]] explicit operator bool() const noexcept { return p_ != nullptr; }
  // For out-parameters; releases what was held first.
  T** put() noexcept {
    reset();
    return &p_;
  }

 private:
  T* p_ = nullptr;
};

// COM on this thread for one scope. A thread already in another apartment keeps it: COM is
// usable there too, and only a successful initialisation is undone.
class ScopedCoInitialize {
 public:
  explicit ScopedCoInitialize(DWORD model) : result_(CoInitializeEx(nullptr, model)) {}
  ScopedCoInitialize(const ScopedCoInitialize&) = delete;
  ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
  ~ScopedCoInitialize() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  [[nodiscard]] bool usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(const wchar_t* text) : b_(SysAllocString(text)) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { SysFreeString(b_); }
  [[nodiscard]] BSTR get() const noexcept { return b_; }
  BSTR* put() noexcept {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }

 private:
  BSTR b_ = nullptr;
};

class UniqueVariant {
 public:
  UniqueVariant() { VariantInit(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&v_); }
  VARIANT& get() noexcept { return v_; }

 private:
  VARIANT v_;
};

}  // namespace tarnwick::win32
