#include "app/properties_dialog.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "app/fonts.h"
#include "app/modal_loop.h"
#include "core/update/update_layout.h"
#include "platform/win32/dpi.h"
#include "platform/win32/shell_actions.h"
#include "platform/win32/wide.h"

namespace tarnwick::app {
namespace {

constexpr wchar_t kClassName[] = L"TarnwickPropertiesDialog";
constexpr int kOpenId = 301, kCopyId = 302;
constexpr int kWidth = 560, kLabelWidth = 160, kMargin = 12, kGap = 8, kButtonHeight = 26, kMaxRows = 18;

int TextWidth(HWND window, HFONT font, const std::wstring& text) {
  const win32::ScopedWindowDc dc(window);
  win32::ScopedSelect fontIn(dc.get(), font);
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

}  // namespace

PropertiesDialog::PropertiesDialog(const Translator& translator, HWND owner, PropertiesContent content)
    : translator_(translator), owner_(owner), content_(std::move(content)) {
  Build();
}

PropertiesDialog::~PropertiesDialog() {
  if (window_) DestroyWindow(window_);
}

void PropertiesDialog::Build() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = win32::WindowThunk<PropertiesDialog>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  const Text caption = content_.title + u" - " + translator_.Translate(u"속성");
  window_ = CreateWindowExW(exStyle, kClassName, win32::Wide(caption).c_str(), style, 0, 0, 100, 100, owner_,
                            nullptr, instance, this);
  if (!window_) return;
  const int dpi = win32::WindowDpi(window_);
  auto S = [dpi](int length) { return ScaleForDpi(length, dpi); };
  font_ = CreateMessageFont(dpi);

  // The facts as a two-column list: long paths stay readable and can be scrolled.
  facts_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
                           0, 0, 0, 0, window_, nullptr, instance, nullptr);
  SetWindowTheme(facts_, L"Explorer", nullptr);
  ListView_SetExtendedListViewStyle(facts_, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
  SendMessageW(facts_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  const int clientWidth = S(kWidth);
  const int listWidth = clientWidth - 2 * S(kMargin);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = S(kLabelWidth);
  ListView_InsertColumn(facts_, 0, &column);
  column.cx = listWidth - S(kLabelWidth) - GetSystemMetrics(SM_CXVSCROLL);
  ListView_InsertColumn(facts_, 1, &column);
  for (size_t i = 0; i < content_.lines.size(); ++i) {
    std::wstring label = win32::Wide(content_.lines[i].label), value = win32::Wide(content_.lines[i].value);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = label.data();
    ListView_InsertItem(facts_, &item);
    ListView_SetItemText(facts_, static_cast<int>(i), 1, value.data());
  }
  RECT firstRow{};
  const int rowHeight = ListView_GetItemRect(facts_, 0, &firstRow, LVIR_BOUNDS) ? firstRow.bottom - firstRow.top : 0;
  const int rows = std::clamp<int>(static_cast<int>(content_.lines.size()), 4, kMaxRows);
  const int listHeight = std::max(rowHeight, S(18)) * rows + S(6);

  auto button = [&](int id, TextView key, bool enabled) {
    const std::wstring text = win32::Wide(translator_.Translate(key));
    HWND control = CreateWindowExW(0, L"Button", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                   0, std::max(S(88), TextWidth(window_, font_.get(), text) + S(24)), S(kButtonHeight),
                                   window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    EnableWindow(control, enabled);
    return control;
  };
  open_ = button(kOpenId, u"파일 위치 열기", !content_.imagePath.empty());
  copy_ = button(kCopyId, u"명령줄 복사", !content_.commandLine.empty());
  close_ = button(IDCANCEL, u"닫기", true);

  const int top = S(kMargin);
  MoveWindow(facts_, S(kMargin), top, listWidth, listHeight, FALSE);
  const int buttonsTop = top + listHeight + S(kMargin);
  int right = clientWidth - S(kMargin);
  for (HWND control : {close_, copy_, open_}) {
    RECT rect;
    GetWindowRect(control, &rect);
    const int width = rect.right - rect.left;
    right -= width;
    MoveWindow(control, right, buttonsTop, width, S(kButtonHeight), FALSE);
    right -= S(kGap);
  }
  RECT outer{0, 0, clientWidth, buttonsTop + S(kButtonHeight) + S(kMargin)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
  RECT anchor{};
  if (owner_) {
    GetWindowRect(owner_, &anchor);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &anchor, 0);
  }
  SetWindowPos(window_, nullptr, anchor.left + (anchor.right - anchor.left - outerWidth) / 2,
               anchor.top + (anchor.bottom - anchor.top - outerHeight) / 2, outerWidth, outerHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT PropertiesDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_NCDESTROY:
      window_ = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kOpenId:
          if (!win32::ShowFileInFolder(content_.imagePath)) MessageBeep(MB_ICONWARNING);
          return 0;
        case kCopyId:
          if (!win32::CopyTextToClipboard(window_, content_.commandLine)) MessageBeep(MB_ICONWARNING);
          return 0;
        case IDCANCEL:
          done_ = true;
          ShowWindow(window_, SW_HIDE);
          return 0;
        default:
          return 0;
      }
    case WM_CLOSE:
      done_ = true;
      ShowWindow(window_, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PropertiesDialog::RunModal() {
  if (window_) RunModalLoop(window_, owner_, close_, done_);
}

}  // namespace tarnwick::app
