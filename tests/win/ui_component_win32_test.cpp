// Translating a real window: its children in creation order and its pop-up menu.

#include <gtest/gtest.h>

#include <windows.h>

#include <array>

#include "core/i18n/translate.h"
#include "platform/win32/ui_component_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::win32 {
namespace {

Text TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return FromWide(text);
}

Text MenuText(HMENU menu, int position) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
  return FromWide(text);
}

TEST(UiComponentWin32, TranslatesAFormItsControlsAndItsPopupMenu) {
  Win32Platform platform;
  Ports ports = platform.ports();
  Translator translator = Translator::Start(ports.resources, ports.locale);
  translator.CurrentLanguage = u"ja";

  HWND form = CreateWindowExW(0, L"Static", L"\uCC98\uC74C\uD654\uBA74", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(form, nullptr);
  HWND enable = CreateWindowExW(0, L"Button", L"\uC0AC\uC6A9\uD568", WS_CHILD, 0, 0, 10, 10, form, nullptr, nullptr, nullptr);
  HWND edit = CreateWindowExW(0, L"Edit", L"\uC0AC\uC6A9\uD568", WS_CHILD, 0, 0, 10, 10, form, nullptr, nullptr, nullptr);
  HWND all = CreateWindowExW(0, L"Button", L"\uC804\uCCB4\uBAA9\uB85D", WS_CHILD, 0, 0, 10, 10, form, nullptr, nullptr, nullptr);
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 1, L"\uBAA9\uB85D \uBCF4\uAE30");  // a text with no block
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 2, L"\uD30C\uC77C \uC800\uC7A5");
  AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"\uBAA8\uB4E0 \uD30C\uC77C");

  Win32WindowComponent component(form, true);
  component.AddPopupMenu(popup);
  ASSERT_EQ(component.OwnedCount(), 4u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(static_cast<Win32WindowComponent*>(component.Owned(i))->GetCaption(),
              TextOf(std::array{enable, edit, all}[i]))
        << "children in creation order";
  }
  translator.TranslateComponent(&component);

  EXPECT_EQ(TextOf(form), u"Home");  // a form's caption goes to English first
  EXPECT_EQ(translator.Translate(TextOf(form)), translator.Translate(u"\uCC98\uC74C\uD654\uBA74"));
  EXPECT_EQ(TextOf(enable), translator.Translate(u"\uC0AC\uC6A9\uD568"));
  EXPECT_NE(TextOf(enable), u"\uC0AC\uC6A9\uD568");
  EXPECT_EQ(TextOf(edit), u"\uC0AC\uC6A9\uD568") << "an edit's text is no caption";
  EXPECT_EQ(TextOf(all), translator.Translate(u"\uC804\uCCB4\uBAA9\uB85D"));
  EXPECT_EQ(MenuText(popup, 0), u"\uBAA9\uB85D \uBCF4\uAE30") << "no block: unchanged";
  EXPECT_EQ(MenuText(popup, 2), translator.Translate(u"\uBAA8\uB4E0 \uD30C\uC77C"));
  EXPECT_EQ(MenuText(sub, 0), translator.Translate(u"\uD30C\uC77C \uC800\uC7A5"));

  DestroyMenu(popup);
  DestroyWindow(form);
}

}  // namespace
}  // namespace tarnwick::win32
