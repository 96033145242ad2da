// The frame look on a real window.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/theme_helper.h"
#include "core/error.h"

namespace tarnwick::app {
namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

class ThemeHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PlainProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarnwickThemeTestForm";
    RegisterClassExW(&windowClass);
    form = CreateWindowExW(0, L"TarnwickThemeTestForm", L"form", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(form, nullptr);
  }
  void TearDown() override { DestroyWindow(form); }
  int ShapeWidth(const TThemeHelper& theme) {
    RECT rect;
    GetWindowRect(theme.Shape(), &rect);
    return rect.right - rect.left;
  }
  HWND form = nullptr;
};

TEST_F(ThemeHelperTest, AccentFollowsActivationBorderAndSize) {
  auto theme = ApplyTheme(form);
  EXPECT_EQ(theme->FillColor(), RGB(0x3D, 0x84, 0xDD));
  SendMessageW(form, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(theme->FillColor(), GetSysColor(COLOR_GRAYTEXT));
  SendMessageW(form, WM_ACTIVATE, WA_CLICKACTIVE, 0);
  EXPECT_EQ(theme->FillColor(), RGB(0x3D, 0x84, 0xDD));

  SetWindowPos(form, nullptr, 0, 0, 500, 200, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(ShapeWidth(*theme), client.right);

  SetWindowLongW(form, GWL_STYLE, WS_POPUP);  // no border
  SendMessageW(form, WM_SIZE, 0, 0);
  EXPECT_FALSE(GetWindowLongW(theme->Shape(), GWL_STYLE) & WS_VISIBLE);
  SetWindowLongW(form, GWL_STYLE, WS_OVERLAPPEDWINDOW);
  SendMessageW(form, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(GetWindowLongW(theme->Shape(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ThemeHelperTest, DestroyingItRestoresTheWindowProcedure) {
  const LONG_PTR before = GetWindowLongPtrW(form, GWLP_WNDPROC);
  {
    auto theme = ApplyTheme(form);
    EXPECT_NE(GetWindowLongPtrW(form, GWLP_WNDPROC), before);
  }
  EXPECT_EQ(GetWindowLongPtrW(form, GWLP_WNDPROC), before);
}

TEST_F(ThemeHelperTest, OnlyAFormCanOwnIt) {
  HWND child = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, form, nullptr, nullptr, nullptr);
  try {
    ApplyTheme(child);
    FAIL() << "a child window was accepted";
  } catch (const TarnwickError& error) {
    EXPECT_EQ(error.Message(), u"TThemeHelper Owner must be a TForm");
  }
}

}  // namespace
}  // namespace tarnwick::app
