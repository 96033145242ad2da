#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/sized_read.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {

static_assert(reg_type::kSz == REG_SZ && reg_type::kExpandSz == REG_EXPAND_SZ &&
              reg_type::kBinary == REG_BINARY && reg_type::kDword == REG_DWORD &&
              reg_type::kNone == REG_NONE && reg_type::kMultiSz == REG_MULTI_SZ);

namespace {

constexpr DWORD kMaxValueName = 16383;  // characters, without the terminating NUL
constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_64KEY;
constexpr REGSAM kWriteAccess = KEY_READ | KEY_WRITE | KEY_WOW64_64KEY;
static_assert(kReadAccess == 0x00020119 && kWriteAccess == 0x0002011F);

// Predefined keys are sign-extended 32-bit values on 64-bit Windows.
HKEY RootHandle(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

bool DeleteTree(HKEY parent, const std::wstring& name) {
  {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, kWriteAccess, &raw) != ERROR_SUCCESS) return false;
    UniqueHkey key(raw);
    // Deepest first; always re-read index 0 because deleting shifts the enumeration.
    for (;;) {
      wchar_t child[256];
      DWORD length = 256;
      if (RegEnumKeyExW(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      if (!DeleteTree(key.get(), std::wstring(child, length))) return false;
    }
  }
  return RegDeleteKeyExW(parent, name.c_str(), KEY_WOW64_64KEY, 0) == ERROR_SUCCESS;
}

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}

  bool QueryValue(TextView name, RegistryValue& out) override {
    const std::wstring wide = Wide(name);
    Bytes scratch(256);
    DWORD type = 0;
    if (ReadSized(scratch, out.data, [&](BYTE* data, DWORD* size) {
          return RegQueryValueExW(key_.get(), wide.c_str(), nullptr, &type, data, size);
        }) != ERROR_SUCCESS) {
      return false;
    }
    out.type = type;
    return true;
  }

  bool SetValue(TextView name, const RegistryValue& value) override {
    return RegSetValueExW(key_.get(), Wide(name).c_str(), 0, value.type,
                          value.data.empty() ? nullptr : value.data.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  }

  bool SubkeyNames(std::vector<Text>& out) override {
    DWORD maxLength = 0;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, &maxLength, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    std::wstring buffer(maxLength + 1, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LSTATUS status =
          RegEnumKeyExW(key_.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) return true;
      if (status != ERROR_SUCCESS) return false;
      out.push_back(FromWide(buffer.data(), length));
    }
  }

  bool ValueNames(std::vector<Text>& out) override {
    DWORD maxLength = 0;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &maxLength, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    std::wstring buffer(maxLength + 1, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LSTATUS status = RegEnumValueW(key_.get(), index, buffer.data(), &length, nullptr,
                                           nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) return true;
      if (status != ERROR_SUCCESS) return false;
      out.push_back(FromWide(buffer.data(), length));
    }
  }

  bool Values(std::vector<NamedRegistryValue>& out) override {
    DWORD maxData = 0;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    // The longest name a value can have, so that ERROR_MORE_DATA only ever means the data.
    std::wstring name(kMaxValueName + 1, L'\0');
    Bytes scratch(std::max<DWORD>(maxData, 64));
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = 0, type = 0;
      NamedRegistryValue value;
      const LSTATUS status = ReadSized(scratch, value.value.data, [&](BYTE* data, DWORD* size) {
        nameLength = static_cast<DWORD>(name.size());
        return RegEnumValueW(key_.get(), index, name.data(), &nameLength, nullptr, &type, data, size);
      });
      if (status == ERROR_NO_MORE_ITEMS) return true;
      if (status == ERROR_MORE_DATA) continue;  // kept growing while read: left out
      if (status != ERROR_SUCCESS) return false;
      value.name = FromWide(name.data(), nameLength);
      value.value.type = type;
      out.push_back(std::move(value));
    }
  }

  bool DeleteValue(TextView name) override {
    return RegDeleteValueW(key_.get(), Wide(name).c_str()) == ERROR_SUCCESS;
  }

  bool DeleteSubkeyTree(TextView name) override {
    return !name.empty() && DeleteTree(key_.get(), Wide(name));
  }

 private:
  UniqueHkey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::Open(RootKey root, TextView path, KeyAccess access) {
  if (root == 0) return nullptr;
  const std::wstring wide = Wide(path);
  HKEY key = nullptr;
  const LSTATUS status =
      access == KeyAccess::ReadWriteCreate
          ? RegCreateKeyExW(RootHandle(root), wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess,
                            nullptr, &key, nullptr)
          : RegOpenKeyExW(RootHandle(root), wide.c_str(), 0, access == KeyAccess::Read ? kReadAccess : kWriteAccess,
                          &key);
  if (status != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace tarnwick::win32
