#include "core/registry/registry.h"

#include <array>

namespace tarnwick {
namespace {

struct RootName {
  RootKey root;
  TextView shortName;  // empty: none
  TextView longName;
};

constexpr std::array<RootName, 7> kRootNames = {{
    {root::kClassesRoot, u"HKCR", u"HKEY_CLASSES_ROOT"},
    {root::kCurrentUser, u"HKCU", u"HKEY_CURRENT_USER"},
    {root::kLocalMachine, u"HKLM", u"HKEY_LOCAL_MACHINE"},
    {root::kUsers, u"HKU", u"HKEY_USERS"},
    {root::kPerformanceData, u"", u"HKEY_PERFORMANCE_DATA"},
    {root::kCurrentConfig, u"", u"HKEY_CURRENT_CONFIG"},
    {root::kDynData, u"", u"HKEY_DYN_DATA"},
}};

// Paths may be given with or without a leading "\"; both name the same key.
TextView KeyPath(TextView key) {
  if (!key.empty() && key.front() == u'\\') key.remove_prefix(1);
  return key;
}

bool IsTextType(uint32_t type) { return type == reg_type::kSz || type == reg_type::kExpandSz; }

// Bytes are read from every type the helper gives no meaning of its own.
bool IsBinaryReadable(uint32_t type) { return !IsTextType(type) && type != reg_type::kDword; }

}  // namespace

Text RootKeyName(RootKey root, bool shortName) {
  for (const RootName& entry : kRootNames) {
    if (entry.root != root) continue;
    return Text(shortName && !entry.shortName.empty() ? entry.shortName : entry.longName);
  }
  return {};
}

RootKey ParseRootKey(TextView name) {
  for (const RootName& entry : kRootNames) {
    if ((!entry.shortName.empty() && SameTextAscii(name, entry.shortName)) ||
        SameTextAscii(name, entry.longName)) {
      return entry.root;
    }
  }
  return 0;
}

Text TextFromRegData(const Bytes& data) {
  Text text;
  text.reserve(data.size() / 2);
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return text;
}

Bytes RegDataFromText(TextView text) {
  Bytes data;
  data.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    data.push_back(static_cast<uint8_t>(c & 0xFF));
    data.push_back(static_cast<uint8_t>(c >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return data;
}

bool TReg::IsKey(RootKey root, TextView key) const {
  return registry_.Open(root, KeyPath(key), KeyAccess::Read) != nullptr;
}

Bytes TReg::ReadBinary(RootKey root, TextView key, TextView name) const {
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::Read);
  RegistryValue value;
  if (!opened || !opened->QueryValue(name, value)) return {};
  return BinaryOf(std::move(value));
}

Bytes TReg::BinaryOf(RegistryValue value) {
  if (!IsBinaryReadable(value.type)) return {};
  return std::move(value.data);
}

bool TReg::QueryDword(RootKey root, TextView key, TextView name, int32_t& out) const {
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::Read);
  RegistryValue value;
  if (!opened || !opened->QueryValue(name, value)) return false;
  if (value.type != reg_type::kDword || value.data.size() != 4) return false;
  const uint32_t raw = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                       (static_cast<uint32_t>(value.data[3]) << 24);
  out = static_cast<int32_t>(raw);
  return true;
}

int32_t TReg::ReadInteger(RootKey root, TextView key, TextView name, int32_t fallback) const {
  int32_t stored = 0;
  return QueryDword(root, key, name, stored) ? stored : fallback;
}

bool TReg::ReadBool(RootKey root, TextView key, TextView name, bool fallback) const {
  int32_t stored = 0;
  return QueryDword(root, key, name, stored) ? stored != 0 : fallback;
}

Text TReg::ReadString(RootKey root, TextView key, TextView name, const Text& fallback) const {
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::Read);
  if (!opened) return fallback;
  RegistryValue value;
  // A missing or empty value reads as empty text, not as the default.
  if (!opened->QueryValue(name, value)) return {};
  return StringOf(value, fallback);
}

Text TReg::StringOf(const RegistryValue& value, const Text& fallback) {
  if (value.data.empty()) return {};
  if (!IsTextType(value.type)) return fallback;
  return TextFromRegData(value.data);
}

int TReg::ReadKeyNames(RootKey root, TextView key, std::vector<Text>& keyNames) const {
  keyNames.clear();
  if (auto opened = registry_.Open(root, KeyPath(key), KeyAccess::Read)) {
    (void)opened->SubkeyNames(keyNames);  // names read before a failure are kept
  }
  return static_cast<int>(keyNames.size());
}

int TReg::ReadValueNames(RootKey root, TextView key, std::vector<Text>& valueNames) const {
  valueNames.clear();
  if (auto opened = registry_.Open(root, KeyPath(key), KeyAccess::Read)) {
    (void)opened->ValueNames(valueNames);
  }
  return static_cast<int>(valueNames.size());
}

bool TReg::ReadValues(RootKey root, TextView key, std::vector<NamedRegistryValue>& values) const {
  values.clear();
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::Read);
  return opened && opened->Values(values);
}

bool TReg::WriteBinary(RootKey root, TextView key, TextView name, const Bytes& value) const {
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::ReadWriteCreate);
  return opened && opened->SetValue(name, {reg_type::kBinary, value});
}

bool TReg::WriteInteger(RootKey root, TextView key, TextView name, int32_t value) const {
  const uint32_t raw = static_cast<uint32_t>(value);
  const Bytes data = {static_cast<uint8_t>(raw), static_cast<uint8_t>(raw >> 8),
                      static_cast<uint8_t>(raw >> 16), static_cast<uint8_t>(raw >> 24)};
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::ReadWriteCreate);
  return opened && opened->SetValue(name, {reg_type::kDword, data});
}

bool TReg::WriteString(RootKey root, TextView key, TextView name, TextView value) const {
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::ReadWriteCreate);
  return opened && opened->SetValue(name, {reg_type::kSz, RegDataFromText(value)});
}

bool TReg::DeleteKey(RootKey root, TextView key, TextView name) const {
  // An empty name would make the open key itself the victim.
  if (name.empty()) return false;
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::ReadWriteCreate);
  return opened && opened->DeleteSubkeyTree(name);
}

bool TReg::DeleteValue(RootKey root, TextView key, TextView name) const {
  auto opened = registry_.Open(root, KeyPath(key), KeyAccess::ReadWriteCreate);
  return opened && opened->DeleteValue(name);
}

bool TReg::Parse(TextView text, RootKey& root, Text& key, Text& name) {
  key.clear();
  name.clear();
  std::vector<TextView> parts;
  size_t start = 0;
  for (;;) {
    const size_t slash = text.find(u'\\', start);
    parts.push_back(text.substr(start, slash == TextView::npos ? TextView::npos : slash - start));
    if (slash == TextView::npos) break;
    start = slash + 1;
  }
  if (parts.size() < 3) return false;
  root = ParseRootKey(parts.front());
  for (size_t i = 1; i + 1 < parts.size(); ++i) {
    if (i > 1) key += u'\\';
    key += parts[i];
  }
  name = Text(parts.back());
  return true;
}

void TReg::Delete(TextView text) const {
  RootKey root = 0;
  Text key, name;
  if (!Parse(text, root, key, name)) return;
  // A location ending in "\" names the key's default value, never the key itself.
  if (!name.empty() && IsKey(root, key + u"\\" + name)) {
    (void)DeleteKey(root, key, name);
  } else {
    (void)DeleteValue(root, key, name);
  }
}

}  // namespace tarnwick
