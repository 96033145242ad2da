#pragma once
// The registry port's contract, one suite for every implementation: the simulated registry
// (natively) and the Win32 adapter (under Wine) must agree on it, so that the fake cannot
// drift from the real thing. Each binary instantiates the suite with an environment that
// gives a Registry and a scratch key path below HKCU that it removes afterwards.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, RegistryContract, Environment);

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/registry/registry.h"
#include "ports/registry.h"

namespace tarnwick::contract {

template <typename Environment>
class RegistryContract : public ::testing::Test {
 protected:
  Registry& registry() { return environment_.registry(); }
  Text Path(TextView below = {}) const {
    return below.empty() ? environment_.scratch() : environment_.scratch() + u"\\" + Text(below);
  }
  std::unique_ptr<RegistryKey> Create(TextView below = {}) {
    return registry().Open(root::kCurrentUser, Path(below), KeyAccess::ReadWriteCreate);
  }
  static RegistryValue Sz(TextView text) { return {reg_type::kSz, RegDataFromText(text)}; }

  Environment environment_;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, MissingKeysAndValuesAreNotFound) {
  EXPECT_EQ(this->registry().Open(root::kCurrentUser, this->Path(u"Missing"), KeyAccess::Read), nullptr);
  EXPECT_EQ(this->registry().Open(root::kCurrentUser, this->Path(u"Missing"), KeyAccess::ReadWrite), nullptr);
  auto key = this->Create();
  ASSERT_NE(key, nullptr);
  RegistryValue value;
  EXPECT_FALSE(key->QueryValue(u"absent", value));
  EXPECT_FALSE(key->QueryValue(u"", value)) << "no default value until one is set";
  EXPECT_FALSE(key->DeleteValue(u"absent"));
  EXPECT_FALSE(key->DeleteSubkeyTree(u"absent"));
  EXPECT_EQ(this->registry().Open(0, u"Software", KeyAccess::Read), nullptr) << "no root";
}

TYPED_TEST_P(RegistryContract, CreationMakesTheWholeChainAndNamesIgnoreCase) {
  ASSERT_NE(this->Create(u"A\\B\\C"), nullptr);
  auto opened = this->registry().Open(root::kCurrentUser, UpperAscii(this->Path(u"a\\b\\c")), KeyAccess::Read);
  ASSERT_NE(opened, nullptr) << "key names ignore case";
  auto key = this->Create(u"A");
  ASSERT_TRUE(key->SetValue(u"Name", this->Sz(u"x")));
  RegistryValue value;
  EXPECT_TRUE(key->QueryValue(u"NAME", value)) << "value names ignore case";
  std::vector<Text> names;
  ASSERT_TRUE(key->SubkeyNames(names));
  EXPECT_EQ(names, std::vector<Text>{u"B"}) << "a name keeps the case it was made with";
}

TYPED_TEST_P(RegistryContract, ValuesRoundTripWithTheirTypeAndReplaceAnyType) {
  auto key = this->Create();
  const Bytes binary = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(key->SetValue(u"bin", {reg_type::kBinary, binary}));
  ASSERT_TRUE(key->SetValue(u"", this->Sz(u"the default")));
  ASSERT_TRUE(key->SetValue(u"empty", {reg_type::kBinary, {}}));
  RegistryValue value;
  ASSERT_TRUE(key->QueryValue(u"bin", value));
  EXPECT_EQ(value.type, reg_type::kBinary);
  EXPECT_EQ(value.data, binary);
  ASSERT_TRUE(key->QueryValue(u"", value));
  EXPECT_EQ(TextFromRegData(value.data), u"the default");
  ASSERT_TRUE(key->QueryValue(u"empty", value));
  EXPECT_TRUE(value.data.empty());

  ASSERT_TRUE(key->SetValue(u"bin", {reg_type::kDword, {1, 0, 0, 0}}));
  ASSERT_TRUE(key->QueryValue(u"bin", value));
  EXPECT_EQ(value.type, reg_type::kDword);
  EXPECT_EQ(value.data, (Bytes{1, 0, 0, 0}));
}

TYPED_TEST_P(RegistryContract, EnumerationsListEveryValueOnceWithItsData) {
  auto key = this->Create();
  const std::vector<Text> names = {u"zeta", u"Alpha", u"", u"C:\\Tools\\a.exe", u"\uD55C"};
  for (const Text& name : names) ASSERT_TRUE(key->SetValue(name, this->Sz(u"data of " + name)));
  std::vector<NamedRegistryValue> values;
  ASSERT_TRUE(key->Values(values));
  std::vector<Text> listed;
  for (const NamedRegistryValue& value : values) {
    listed.push_back(value.name);
    EXPECT_EQ(TextFromRegData(value.value.data), u"data of " + value.name);
  }
  std::vector<Text> valueNames;
  ASSERT_TRUE(key->ValueNames(valueNames));
  EXPECT_EQ(valueNames, listed) << "both enumerations agree on the order";
  // The order is the registry's own (Windows: insertion; Wine: sorted): only the set is the contract.
  std::vector<Text> expected = names;
  std::sort(expected.begin(), expected.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, expected);
}

TYPED_TEST_P(RegistryContract, DeletionsTakeWhatTheyNameAndNothingElse) {
  auto key = this->Create();
  ASSERT_NE(this->Create(u"Foo\\Deep\\Deeper"), nullptr);
  ASSERT_TRUE(key->SetValue(u"Foo", this->Sz(u"value")));
  ASSERT_TRUE(key->DeleteValue(u"foo"));
  RegistryValue value;
  EXPECT_FALSE(key->QueryValue(u"Foo", value));
  EXPECT_NE(this->registry().Open(root::kCurrentUser, this->Path(u"Foo\\Deep"), KeyAccess::Read), nullptr)
      << "a value's deletion leaves the subkey of its name";
  ASSERT_TRUE(key->SetValue(u"Foo", this->Sz(u"value")));
  ASSERT_TRUE(key->DeleteSubkeyTree(u"FOO"));
  EXPECT_EQ(this->registry().Open(root::kCurrentUser, this->Path(u"Foo"), KeyAccess::Read), nullptr);
  EXPECT_TRUE(key->QueryValue(u"Foo", value)) << "a key's deletion leaves the value of its name";
  EXPECT_FALSE(key->DeleteSubkeyTree(u"")) << "never the open key itself";
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, MissingKeysAndValuesAreNotFound,
                            CreationMakesTheWholeChainAndNamesIgnoreCase,
                            ValuesRoundTripWithTheirTypeAndReplaceAnyType,
                            EnumerationsListEveryValueOnceWithItsData, DeletionsTakeWhatTheyNameAndNothingElse);

}  // namespace tarnwick::contract
