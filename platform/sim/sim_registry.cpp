#include "platform/sim/sim_registry.h"

#include <algorithm>

#include "core/registry/registry.h"

namespace tarnwick::sim {

struct SimRegistry::Node {
  Text name;
  RootKey root = 0;
  std::vector<std::pair<Text, RegistryValue>> values;  // enumeration order
  std::vector<std::unique_ptr<Node>> subkeys;
  FoldedIndex valueIndex, subkeyIndex;

  Node* Child(TextView childName) const {
    auto it = subkeyIndex.find(FoldKey(childName));
    return it == subkeyIndex.end() ? nullptr : subkeys[it->second].get();
  }
  RegistryValue* Value(TextView valueName) {
    auto it = valueIndex.find(FoldKey(valueName));
    return it == valueIndex.end() ? nullptr : &values[it->second].second;
  }
  void AddValue(TextView valueName, RegistryValue value) {
    valueIndex.emplace(FoldKey(valueName), values.size());
    values.emplace_back(Text(valueName), std::move(value));
  }
  Node* AddChild(std::unique_ptr<Node> child) {
    subkeyIndex.emplace(FoldKey(child->name), subkeys.size());
    subkeys.push_back(std::move(child));
    return subkeys.back().get();
  }
  void Reindex() {
    valueIndex.clear();
    subkeyIndex.clear();
    for (size_t i = 0; i < values.size(); ++i) valueIndex.emplace(FoldKey(values[i].first), i);
    for (size_t i = 0; i < subkeys.size(); ++i) subkeyIndex.emplace(FoldKey(subkeys[i]->name), i);
  }
};

namespace {

// Splits a key path at "\"; an empty part (a doubled or trailing "\") makes it invalid.
bool SplitPath(TextView path, std::vector<TextView>& parts) {
  parts.clear();
  if (path.empty()) return true;
  size_t start = 0;
  for (;;) {
    const size_t slash = path.find(u'\\', start);
    const TextView part = path.substr(start, slash == TextView::npos ? TextView::npos : slash - start);
    if (part.empty()) return false;
    parts.push_back(part);
    if (slash == TextView::npos) return true;
    start = slash + 1;
  }
}

bool IsPredefinedRoot(RootKey root) { return root >= root::kClassesRoot && root <= root::kDynData; }

}  // namespace

class SimRegistryKey final : public RegistryKey {
 public:
  SimRegistryKey(SimRegistry& registry, RootKey root, Text path, KeyAccess access)
      : registry_(registry), root_(root), path_(std::move(path)), access_(access) {
    ++registry_.openKeys_;
  }
  ~SimRegistryKey() override { --registry_.openKeys_; }

  bool QueryValue(TextView name, RegistryValue& out) override {
    if (registry_.faults_.ShouldFail("RegQueryValueExW", name)) return false;
    SimRegistry::Node* node = registry_.Find(root_, path_);
    const RegistryValue* value = node ? node->Value(name) : nullptr;
    if (!value) return false;
    out = *value;
    return true;
  }

  bool SetValue(TextView name, const RegistryValue& value) override {
    if (registry_.faults_.ShouldFail("RegSetValueExW", name)) return false;
    SimRegistry::Node* node = Writable();
    if (!node) return false;
    if (RegistryValue* existing = node->Value(name)) {
      *existing = value;
    } else {
      node->AddValue(name, value);
    }
    return true;
  }

  bool SubkeyNames(std::vector<Text>& out) override {
    if (registry_.faults_.ShouldFail("RegEnumKeyExW", path_)) return false;
    SimRegistry::Node* node = registry_.Find(root_, path_);
    if (!node) return false;
    for (const auto& child : node->subkeys) out.push_back(child->name);
    return true;
  }

  bool ValueNames(std::vector<Text>& out) override {
    if (registry_.faults_.ShouldFail("RegEnumValueW", path_)) return false;
    SimRegistry::Node* node = registry_.Find(root_, path_);
    if (!node) return false;
    for (const auto& value : node->values) out.push_back(value.first);
    return true;
  }

  bool Values(std::vector<NamedRegistryValue>& out) override {
    if (registry_.faults_.ShouldFail("RegEnumValueW", path_)) return false;
    SimRegistry::Node* node = registry_.Find(root_, path_);
    if (!node) return false;
    for (const auto& [name, value] : node->values) out.push_back({name, value});
    return true;
  }

  bool DeleteValue(TextView name) override {
    if (registry_.faults_.ShouldFail("RegDeleteValueW", name)) return false;
    SimRegistry::Node* node = Writable();
    if (!node) return false;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const auto& v) { return SameTextAscii(v.first, name); });
    if (it == node->values.end()) return false;
    node->values.erase(it);
    node->Reindex();
    return true;
  }

  bool DeleteSubkeyTree(TextView name) override {
    if (registry_.faults_.ShouldFail("RegDeleteKeyExW", name)) return false;
    SimRegistry::Node* node = Writable();
    if (!node || name.empty()) return false;
    auto it = std::find_if(node->subkeys.begin(), node->subkeys.end(),
                           [&](const auto& child) { return SameTextAscii(child->name, name); });
    if (it == node->subkeys.end()) return false;
    node->subkeys.erase(it);
    node->Reindex();
    return true;
  }

 private:
  SimRegistry::Node* Writable() {
    return access_ != KeyAccess::Read ? registry_.Find(root_, path_) : nullptr;
  }

  SimRegistry& registry_;
  RootKey root_;
  Text path_;
  KeyAccess access_;
};

SimRegistry::SimRegistry(FaultPlan& faults) : faults_(faults) {
  for (RootKey root = root::kClassesRoot; root <= root::kDynData; ++root) {
    auto node = std::make_unique<Node>();
    node->root = root;
    roots_.push_back(std::move(node));
  }
}

SimRegistry::~SimRegistry() = default;

SimRegistry::Node* SimRegistry::Find(RootKey root, TextView path) const {
  if (!IsPredefinedRoot(root)) return nullptr;
  std::vector<TextView> parts;
  if (!SplitPath(path, parts)) return nullptr;
  Node* node = roots_[root - root::kClassesRoot].get();
  for (TextView part : parts) {
    node = node->Child(part);
    if (!node) return nullptr;
  }
  return node;
}

SimRegistry::Node* SimRegistry::Create(RootKey root, TextView path) {
  if (!IsPredefinedRoot(root)) return nullptr;
  std::vector<TextView> parts;
  if (!SplitPath(path, parts)) return nullptr;
  Node* node = roots_[root - root::kClassesRoot].get();
  for (TextView part : parts) {
    Node* child = node->Child(part);
    if (!child) {
      auto created = std::make_unique<Node>();
      created->name = Text(part);
      child = node->AddChild(std::move(created));
    }
    node = child;
  }
  return node;
}

std::unique_ptr<RegistryKey> SimRegistry::Open(RootKey root, TextView path, KeyAccess access) {
  const bool create = access == KeyAccess::ReadWriteCreate;
  if (faults_.ShouldFail(create ? "RegCreateKeyExW" : "RegOpenKeyExW", path)) return nullptr;
  Node* node = create ? Create(root, path) : Find(root, path);
  if (!node) return nullptr;
  return std::make_unique<SimRegistryKey>(*this, root, Text(path), access);
}

void SimRegistry::CreateKey(RootKey root, TextView path) { Create(root, path); }

void SimRegistry::Set(RootKey root, TextView path, TextView name, RegistryValue value) {
  Node* node = Create(root, path);
  if (!node) return;
  if (RegistryValue* existing = node->Value(name)) {
    *existing = std::move(value);
  } else {
    node->AddValue(name, std::move(value));
  }
}

void SimRegistry::SetString(RootKey root, TextView path, TextView name, TextView text, uint32_t type) {
  Set(root, path, name, {type, RegDataFromText(text)});
}

void SimRegistry::SetDword(RootKey root, TextView path, TextView name, uint32_t value) {
  Set(root, path, name,
      {reg_type::kDword,
       {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)}});
}

void SimRegistry::SetBinary(RootKey root, TextView path, TextView name, Bytes data) {
  Set(root, path, name, {reg_type::kBinary, std::move(data)});
}

bool SimRegistry::KeyExists(RootKey root, TextView path) const { return Find(root, path) != nullptr; }

const RegistryValue* SimRegistry::Get(RootKey root, TextView path, TextView name) const {
  Node* node = Find(root, path);
  return node ? node->Value(name) : nullptr;
}

}  // namespace tarnwick::sim
