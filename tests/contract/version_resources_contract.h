#pragma once
// The version resources port's contract, for the simulated resources (natively) and the Win32
// adapter (under Wine). The environment gives VersionResources and three paths: withVersion()
// (U.S. English in Unicode, ProductName "Tarnwick"), withoutVersion() (a file that carries
// none) and missing().
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, VersionResourcesContract, Environment);

#include <gtest/gtest.h>

#include "core/registry/registry.h"
#include "ports/file_info.h"

namespace tarnwick::contract {

template <typename Environment>
class VersionResourcesContract : public ::testing::Test {
 protected:
  Environment environment_;
};

TYPED_TEST_SUITE_P(VersionResourcesContract);

TYPED_TEST_P(VersionResourcesContract, OnlyAFileWithVersionInformationGivesABlock) {
  VersionResources& versions = this->environment_.versions();
  EXPECT_EQ(versions.Read(this->environment_.missing()), nullptr);
  EXPECT_EQ(versions.Read(this->environment_.withoutVersion()), nullptr);
  EXPECT_NE(versions.Read(this->environment_.withVersion()), nullptr);
}

TYPED_TEST_P(VersionResourcesContract, TheBlockAnswersTranslationAndStringsAsVerQueryValueDoes) {
  auto block = this->environment_.versions().Read(this->environment_.withVersion());
  ASSERT_NE(block, nullptr);
  Bytes translation;
  ASSERT_TRUE(block->Query(u"\\VarFileInfo\\Translation\\", translation));
  ASSERT_GE(translation.size(), 4u);
  EXPECT_EQ(translation[0] | (translation[1] << 8), 0x0409);  // U.S. English
  EXPECT_EQ(translation[2] | (translation[3] << 8), 0x04B0);  // Unicode
  Bytes product;
  ASSERT_TRUE(block->Query(u"\\StringFileInfo\\040904B0\\ProductName", product));
  EXPECT_EQ(TextFromRegData(product), u"Tarnwick") << "text up to its NUL";
  Bytes nothing;
  EXPECT_FALSE(block->Query(u"\\StringFileInfo\\040904B0\\NoSuchString", nothing));
  EXPECT_FALSE(block->Query(u"\\StringFileInfo\\041204B0\\ProductName", nothing)) << "another translation";
}

REGISTER_TYPED_TEST_SUITE_P(VersionResourcesContract, OnlyAFileWithVersionInformationGivesABlock,
                            TheBlockAnswersTranslationAndStringsAsVerQueryValueDoes);

}  // namespace tarnwick::contract
