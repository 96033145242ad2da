#pragma once
// Port: the Windows registry, always in the 64-bit view.
//
// Shaped after the HKEY calls: an open key is an object whose destruction closes it.
// Key paths reach the port without a leading "\"; names compare without regard to case.
// Value data travels as the raw bytes the registry stores (text as UTF-16LE).

#include <cstdint>
#include <memory>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

using Bytes = std::vector<uint8_t>;

// A predefined root key, by its HKEY value; 0 is no root.
using RootKey = uint32_t;

namespace root {
inline constexpr RootKey kClassesRoot = 0x80000000;
inline constexpr RootKey kCurrentUser = 0x80000001;
inline constexpr RootKey kLocalMachine = 0x80000002;
inline constexpr RootKey kUsers = 0x80000003;
inline constexpr RootKey kPerformanceData = 0x80000004;
inline constexpr RootKey kCurrentConfig = 0x80000005;
inline constexpr RootKey kDynData = 0x80000006;
}  // namespace root

namespace reg_type {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kSz = 1;
inline constexpr uint32_t kExpandSz = 2;
inline constexpr uint32_t kBinary = 3;
inline constexpr uint32_t kDword = 4;
inline constexpr uint32_t kMultiSz = 7;
inline constexpr uint32_t kQword = 11;
}  // namespace reg_type

struct RegistryValue {
  uint32_t type = reg_type::kNone;
  Bytes data;
};

struct NamedRegistryValue {
  Text name;
  RegistryValue value;
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Type and data of a value ("" is the default value). False when it is missing or unreadable.
  [[nodiscard]] virtual bool QueryValue(TextView name, RegistryValue& out) = 0;
  // Stores a value, replacing one of the same name whatever its type. False when refused.
  [[nodiscard]] virtual bool SetValue(TextView name, const RegistryValue& value) = 0;
  // Names in the registry's enumeration order. False when enumeration fails.
  [[nodiscard]] virtual bool SubkeyNames(std::vector<Text>& out) = 0;
  [[nodiscard]] virtual bool ValueNames(std::vector<Text>& out) = 0;
  // Every value with its type and data, in enumeration order: one call per value, where a
  // name followed by a query would take two. False when enumeration fails.
  [[nodiscard]] virtual bool Values(std::vector<NamedRegistryValue>& out) = 0;
  // False when the value is missing or the deletion refused.
  [[nodiscard]] virtual bool DeleteValue(TextView name) = 0;
  // Deletes a direct subkey with everything below it, deepest first. False when missing or refused.
  [[nodiscard]] virtual bool DeleteSubkeyTree(TextView name) = 0;
};

enum class KeyAccess {
  Read,            // KEY_READ; never creates
  ReadWrite,       // KEY_READ | KEY_WRITE; never creates
  ReadWriteCreate  // KEY_READ | KEY_WRITE; creates every missing key on the way
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens (or with ReadWriteCreate, creates) `path` below `root`; nullptr on failure.
  // An empty path opens the root itself.
  virtual std::unique_ptr<RegistryKey> Open(RootKey root, TextView path, KeyAccess access) = 0;
};

}  // namespace tarnwick
