#pragma once
// The icon ports' contract, for the simulated icons (natively) and the Win32 adapters (under
// Wine). The environment gives an IconSource, an empty ImageCollection, and withIcon(): a
// program that carries an icon of its own.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, IconsContract, Environment);

#include <gtest/gtest.h>

#include "ports/file_info.h"

namespace tarnwick::contract {

template <typename Environment>
class IconsContract : public ::testing::Test {
 protected:
  Environment environment_;
};

TYPED_TEST_SUITE_P(IconsContract);

TYPED_TEST_P(IconsContract, AProgramsOwnIconIsExtractedAndCollected) {
  auto icon = this->environment_.icons().ExtractAssociated(this->environment_.withIcon(), 0);
  ASSERT_NE(icon, nullptr);
  ImageCollection& images = this->environment_.images();
  const int before = images.Count();
  ASSERT_TRUE(images.AddIcon(*icon, this->environment_.withIcon()));
  ASSERT_TRUE(images.AddIcon(*icon, this->environment_.withIcon() + u",1"));
  EXPECT_EQ(images.Count(), before + 2) << "every icon added is one more image";
}

REGISTER_TYPED_TEST_SUITE_P(IconsContract, AProgramsOwnIconIsExtractedAndCollected);

}  // namespace tarnwick::contract
