#pragma once
// The simulated registry: a tree per root, key and value names compared without regard to
// case, values and subkeys enumerated in insertion order, open keys counted.
//
// An open key remembers its path, not a node: a key deleted while open fails its calls.
// Calls named for fault injection (subject in brackets): "RegOpenKeyExW" and
// "RegCreateKeyExW" [key path], "RegQueryValueExW", "RegSetValueExW", "RegDeleteValueW"
// [value name], "RegEnumKeyExW", "RegEnumValueW" [key path], "RegDeleteKeyExW" [subkey].

#include <memory>
#include <vector>

#include "platform/sim/fault_plan.h"
#include "platform/sim/folded_index.h"
#include "ports/registry.h"

namespace tarnwick::sim {

class SimRegistry final : public Registry {
 public:
  explicit SimRegistry(FaultPlan& faults);
  ~SimRegistry() override;

  // Seeding and inspection, outside the fault plan. Paths without a leading "\".
  void CreateKey(RootKey root, TextView path);
  void Set(RootKey root, TextView path, TextView name, RegistryValue value);
  void SetString(RootKey root, TextView path, TextView name, TextView text,
                 uint32_t type = reg_type::kSz);
  void SetDword(RootKey root, TextView path, TextView name, uint32_t value);
  void SetBinary(RootKey root, TextView path, TextView name, Bytes data);
  bool KeyExists(RootKey root, TextView path) const;
  // nullptr when the key or value is missing.
  const RegistryValue* Get(RootKey root, TextView path, TextView name) const;

  int OpenKeys() const { return openKeys_; }

  std::unique_ptr<RegistryKey> Open(RootKey root, TextView path, KeyAccess access) override;

  struct Node;

 private:
  friend class SimRegistryKey;
  Node* Find(RootKey root, TextView path) const;
  Node* Create(RootKey root, TextView path);

  FaultPlan& faults_;
  std::vector<std::unique_ptr<Node>> roots_;
  int openKeys_ = 0;
};

}  // namespace tarnwick::sim
