#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace tarnwick::win32 {
namespace {

TEST(UniqueHandle, RejectsNullAndInvalidHandleValue) {
  EXPECT_FALSE(UniqueHandle());
  UniqueHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid);
  invalid.reset();  // must not close INVALID_HANDLE_VALUE (the current process pseudo-handle)
}

TEST(UniqueHandle, ClosesOnResetAndMovesOwnership) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  UniqueHandle first(raw);
  UniqueHandle second(std::move(first));
  EXPECT_FALSE(first);
  EXPECT_TRUE(second);
  EXPECT_EQ(second.get(), raw);

  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(raw, &flags));
  second.reset();
  EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "handle still open after reset";
}

TEST(UniqueHandle, ReleaseHandsTheHandleBack) {
  UniqueHandle owner(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE raw = owner.release();
  EXPECT_FALSE(owner);
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(raw, &flags));
  CloseHandle(raw);
}

}  // namespace
}  // namespace tarnwick::win32
