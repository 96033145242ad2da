#pragma once
// TReg: the one door to the registry. Every operation opens the key it needs in the 64-bit
// view, does one thing and closes it; nothing survives between calls and nothing fails
// loudly: failures give the documented defaults.

#include <cstdint>
#include <vector>

#include "core/text/text.h"
#include "ports/registry.h"

namespace tarnwick {

// Short ("HKLM") or long ("HKEY_LOCAL_MACHINE") name of a root; roots without a short name
// always give the long one; empty for a value not in the table.
Text RootKeyName(RootKey root, bool shortName);
// The root for a short or long name, compared without regard to ASCII case; 0 otherwise.
RootKey ParseRootKey(TextView name);

class TReg {
 public:
  // Holds only the port; all state lives in the registry.
  explicit TReg(Registry& registry) : registry_(registry) {}

  bool IsKey(RootKey root, TextView key) const;

  Bytes ReadBinary(RootKey root, TextView key, TextView name) const;
  bool ReadBool(RootKey root, TextView key, TextView name, bool value) const;
  int32_t ReadInteger(RootKey root, TextView key, TextView name, int32_t value) const;
  // A DWORD value; false when it is missing or of another type.
  bool QueryDword(RootKey root, TextView key, TextView name, int32_t& out) const;
  Text ReadString(RootKey root, TextView key, TextView name, const Text& value) const;
  int ReadKeyNames(RootKey root, TextView key, std::vector<Text>& keyNames) const;
  int ReadValueNames(RootKey root, TextView key, std::vector<Text>& valueNames) const;
  // Every value of the key with its data, from one open: for readers of a whole key, where a
  // name list and a read per name would open the key once per value.
  // False when the key cannot be opened or its enumeration fails; values read before a
  // failure are kept.
  bool ReadValues(RootKey root, TextView key, std::vector<NamedRegistryValue>& values) const;
  // A value as ReadString gives it: empty for empty data, `fallback` for a type not text.
  static Text StringOf(const RegistryValue& value, const Text& fallback);
  // A value as ReadBinary gives it: nothing for text and DWORD values.
  static Bytes BinaryOf(RegistryValue value);

  // Writes and deletions fail quietly, as the helper's callers expect; the result says
  // whether the registry did it, for a caller that wants to know.
  bool WriteBinary(RootKey root, TextView key, TextView name, const Bytes& value) const;
  bool WriteInteger(RootKey root, TextView key, TextView name, int32_t value) const;
  bool WriteString(RootKey root, TextView key, TextView name, TextView value) const;
  bool DeleteKey(RootKey root, TextView key, TextView name) const;
  bool DeleteValue(RootKey root, TextView key, TextView name) const;

  // Takes a registry location text (ROOT\key\path\name) apart. False for fewer than three
  // parts; an unknown root name still succeeds, with root 0.
  static bool Parse(TextView text, RootKey& root, Text& key, Text& name);
  // Deletes what a location text names: a subkey with everything below it, else a value.
  void Delete(TextView text) const;

 private:
  Registry& registry_;
};

// Registry text data (UTF-16LE) up to the first NUL, and text as REG_SZ data with its NUL.
Text TextFromRegData(const Bytes& data);
Bytes RegDataFromText(TextView text);

}  // namespace tarnwick
