#include "app/update_status.h"

#include <commctrl.h>

#include <memory>

#include "core/update/update.h"
#include "core/update/update_layout.h"
#include "platform/win32/dpi.h"
#include "platform/win32/gdi.h"
#include "platform/win32/wide.h"

namespace tarnwick::app {
namespace {

constexpr UINT_PTR kSubclassId = 0x5342;
constexpr COLORREF kRed = RGB(0xFF, 0x00, 0x00);

struct BarState {
  Text text;
  Text url;
  Shell* shell = nullptr;
  win32::UniqueFont font;
  HWND tooltip = nullptr;
  DWORD lastOpen = 0;  // tick of the last opening: one double-click opens the page once
  ~BarState() {
    if (tooltip) DestroyWindow(tooltip);
  }
};

// The bar's state rides on its subclass, which hands it out on this message.
constexpr UINT kStateMessage = WM_APP + 0x5342;

BarState* StateOf(HWND bar) {
  return bar ? reinterpret_cast<BarState*>(SendMessageW(bar, kStateMessage, 0, 0)) : nullptr;
}

HWND BarOf(HWND main) { return main ? GetDlgItem(main, kStatusBarId) : nullptr; }

void OpenNotice(BarState& state) {
  const DWORD now = GetTickCount();
  if (state.lastOpen != 0 && now - state.lastOpen < GetDoubleClickTime()) return;
  if (state.shell && OpenWebAddress(*state.shell, state.url)) state.lastOpen = now;
}

win32::UniqueFont BarFont(int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(9, dpi, 72);
  font.lfWeight = FW_BOLD;
  lstrcpyW(font.lfFaceName, L"Segoe UI");
  return win32::UniqueFont(CreateFontIndirectW(&font));
}

// 28 pixels at 96 DPI, borders included; returns the bar's height.
int SizeBar(HWND bar, int dpi) {
  const int height = ScaleForDpi(28, dpi);
  // The minimum height excludes the bar's borders: measure them once and correct.
  SendMessageW(bar, SB_SETMINHEIGHT, height, 0);
  SendMessageW(bar, WM_SIZE, 0, 0);
  RECT measured{};
  GetWindowRect(bar, &measured);
  const int extra = (measured.bottom - measured.top) - height;
  if (extra != 0) {
    SendMessageW(bar, SB_SETMINHEIGHT, height - extra, 0);
    SendMessageW(bar, WM_SIZE, 0, 0);
  }
  RECT barRect{};
  GetWindowRect(bar, &barRect);
  return barRect.bottom - barRect.top;
}

// The bar's own messages: the hand cursor and the end of its state.
LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* state = reinterpret_cast<BarState*>(data);
  switch (message) {
    case kStateMessage:
      return reinterpret_cast<LRESULT>(state);
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_NCDESTROY:
      RemoveWindowSubclass(bar, BarProc, kSubclassId);
      delete state;
      break;
    default:
      break;
  }
  return DefSubclassProc(bar, message, wParam, lParam);
}

// The main window's messages about the bar: drawing its panel and its clicks.
LRESULT CALLBACK MainProc(HWND main, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  HWND bar = BarOf(main);
  BarState* state = StateOf(bar);
  if (state) {
    if (message == WM_DRAWITEM && wParam == kStatusBarId) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      RECT rect = item->rcItem;
      FillRect(item->hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
      win32::ScopedSelect fontIn(item->hDC, state->font.get());
      SetBkMode(item->hDC, TRANSPARENT);
      SetTextColor(item->hDC, kRed);
      const std::wstring text = win32::Wide(state->text);
      DrawTextW(item->hDC, text.c_str(), -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
      return TRUE;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == bar) {
      // A left click opens the page; a right click opens nothing.
      if (reinterpret_cast<const NMHDR*>(lParam)->code == NM_CLICK) OpenNotice(*state);
    }
    if (message == WM_SIZE) SendMessageW(bar, WM_SIZE, 0, 0);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(main, MainProc, kSubclassId);
  return DefSubclassProc(main, message, wParam, lParam);
}

void SetHint(BarState& state, HWND bar) {
  std::wstring hint = win32::Wide(state.url);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(bar);
  tool.uId = reinterpret_cast<UINT_PTR>(bar);
  tool.lpszText = hint.data();
  if (!SendMessageW(state.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool)) ||
      SendMessageW(state.tooltip, TTM_GETTOOLCOUNT, 0, 0) == 0) {
    SendMessageW(state.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace

void ShowUpdateStatus(HWND main, const Text& text, const Text& url, Shell& shell) {
  if (!main) return;
  HWND bar = BarOf(main);
  BarState* state = StateOf(bar);
  if (!state) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const int dpi = win32::WindowDpi(main);
    bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, main,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), GetModuleHandleW(nullptr),
                          nullptr);
    if (!bar) return;
    auto owned = std::make_unique<BarState>();
    owned->font = BarFont(dpi);
    owned->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                     main, nullptr, GetModuleHandleW(nullptr), nullptr);
    state = owned.release();
    SetWindowSubclass(bar, BarProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state));
    SetWindowSubclass(main, MainProc, kSubclassId, 0);
    int parts[] = {-1};
    SendMessageW(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    const int barHeight = SizeBar(bar, dpi);
    // The content keeps its size: the window grows by the bar.
    RECT window{};
    GetWindowRect(main, &window);
    SetWindowPos(main, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + barHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
  }
  state->text = text;
  state->url = url;
  state->shell = &shell;
  SendMessageW(bar, SB_SETTEXTW, 0 | SBT_OWNERDRAW, 0);
  SetHint(*state, bar);
  InvalidateRect(bar, nullptr, TRUE);
}

void RescaleUpdateStatus(HWND main, int dpi) {
  HWND bar = BarOf(main);
  BarState* state = StateOf(bar);
  if (!state) return;
  if (win32::UniqueFont font = BarFont(dpi)) state->font = std::move(font);
  SizeBar(bar, dpi);
  InvalidateRect(bar, nullptr, TRUE);
}

Text UpdateStatusText(HWND main) {
  const BarState* state = StateOf(BarOf(main));
  return state ? state->text : Text();
}

Text UpdateStatusUrl(HWND main) {
  const BarState* state = StateOf(BarOf(main));
  return state ? state->url : Text();
}

}  // namespace tarnwick::app
