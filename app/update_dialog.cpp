#include "app/update_dialog.h"

#include "app/fonts.h"
#include "app/modal_loop.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"

namespace tarnwick::app {
namespace {

constexpr wchar_t kClassName[] = L"TarnwickUpdateDialog";
constexpr int kLinkId = 100;
constexpr COLORREF kLineColor = RGB(0xCC, 0xCC, 0xCC);
constexpr COLORREF kLinkColor = RGB(0x00, 0x00, 0xFF);

}  // namespace

UpdateDialog::UpdateDialog(const UpdateDialogContext& context, const Text& answer) : context_(context) {
  Build(answer);
}

UpdateDialog::~UpdateDialog() {
  if (window_) DestroyWindow(window_);
}

void UpdateDialog::Build(const Text& answer) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = win32::WindowThunk<UpdateDialog>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  info_ = ParseUpdateInfo(answer);
  const bool stayOnTop = info_.flag.find(u"stayontop") != Text::npos;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | (stayOnTop ? WS_EX_TOPMOST : 0);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const Text caption = context_.translator.Translate(u"Tarnwick");
  window_ = CreateWindowExW(exStyle, kClassName, win32::Wide(caption).c_str(), style, 0, 0, 100, 100,
                            context_.owner, nullptr, instance, this);
  if (!window_) return;

  const int dpi = win32::WindowDpi(window_);
  auto S = [dpi](int length) { return ScaleForDpi(length, dpi); };
  font_ = CreateMessageFont(dpi);
  white_.reset(CreateSolidBrush(RGB(255, 255, 255)));

  // The question beside the warning icon, measured to wrap at a readable width.
  const std::wstring question = win32::Wide(UpdateText(UpdateTextKind::Question, context_.translator.CurrentLanguage));
  RECT textRect{0, 0, S(400), 0};
  {
    const win32::ScopedWindowDc dc(window_);
    win32::ScopedSelect fontIn(dc.get(), font_.get());
    DrawTextW(dc.get(), question.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }

  const int margin = S(16), icon = S(32), buttonWidth = S(80), buttonHeight = S(26), gap = S(8);
  const int textLeft = margin + icon + margin;
  const int contentHeight = std::max<int>(icon, textRect.bottom);
  const int buttonsTop = margin + contentHeight + S(20);
  const int clientWidth = std::max<int>(textLeft + textRect.right + margin, 2 * buttonWidth + gap + 2 * margin);
  const int clientHeight = buttonsTop + buttonHeight + margin;

  auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD childStyle, int x, int y, int w, int h,
                   int id) {
    HWND control = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | childStyle, x, y, w, h, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
  };
  HWND iconControl = child(L"Static", L"", SS_ICON, margin, margin, icon, icon, 0);
  SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
  child(L"Static", question, SS_NOPREFIX, textLeft, margin, textRect.right, textRect.bottom, 0);
  const int buttonsLeft = (clientWidth - (2 * buttonWidth + gap)) / 2;
  yes_ = child(L"Button", win32::Wide(UpdateText(UpdateTextKind::Yes, context_.translator.CurrentLanguage)),
               WS_TABSTOP | BS_DEFPUSHBUTTON, buttonsLeft, buttonsTop, buttonWidth, buttonHeight, IDYES);
  no_ = child(L"Button", win32::Wide(UpdateText(UpdateTextKind::No, context_.translator.CurrentLanguage)), WS_TABSTOP | BS_PUSHBUTTON,
              buttonsLeft + buttonWidth + gap, buttonsTop, buttonWidth, buttonHeight, IDNO);

  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  int outerWidth = outer.right - outer.left;
  int outerHeight = outer.bottom - outer.top;

  layout_ = ComputeNoticeLayout(info_.style, outerWidth, outerHeight, dpi, context_.client.NoticeOffset());
  outerHeight += layout_.growBy;
  if (layout_.checkBox) {
    checkBox_ = child(L"Button", win32::Wide(info_.text), WS_TABSTOP | BS_AUTOCHECKBOX, layout_.controlLeft,
                      layout_.controlTop, layout_.controlWidth - layout_.controlLeft, S(20), 0);
  } else if (layout_.link) {
    linkFont_ = CreateMessageFont(dpi, {.underline = true});
    link_ = child(L"Static", win32::Wide(info_.text), SS_NOTIFY | SS_NOPREFIX, layout_.controlLeft,
                  layout_.controlTop, outerWidth - 2 * layout_.controlLeft, S(20), kLinkId);
    SendMessageW(link_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
  }

  // Centred on the screen's work area.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - outerWidth) / 2,
               work.top + (work.bottom - work.top - outerHeight) / 2, outerWidth, outerHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);

  if (stayOnTop && !context_.owner && context_.appIcon) {
    // Without a main window the dialog gets a task-bar button of its own.
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(context_.appIcon));
    SetWindowLongPtrW(window_, GWLP_HWNDPARENT, 0);
  }
}

LRESULT UpdateDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_NCDESTROY:
      window_ = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDYES) Close(true);
      if (LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) Close(false);
      if (LOWORD(wParam) == kLinkId && HIWORD(wParam) == STN_CLICKED) {
        // The dialog stays open; only a web address is opened.
        OpenWebAddress(context_.shell, info_.url);
      }
      return 0;
    case WM_CLOSE:
      Close(false);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, RGB(255, 255, 255));
      if (link_ && reinterpret_cast<HWND>(lParam) == link_) SetTextColor(dc, kLinkColor);
      return reinterpret_cast<LRESULT>(white_.get());
    }
    case WM_SETCURSOR:
      if (link_ && reinterpret_cast<HWND>(wParam) == link_) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      if (layout_.line) {
        const win32::UniqueBrush grey(CreateSolidBrush(kLineColor));
        RECT line{0, layout_.lineTop, layout_.lineWidth, layout_.lineTop + 1};
        FillRect(dc, &line, grey.get());
      }
      EndPaint(window_, &paint);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void UpdateDialog::Close(bool yes) {
  result_ = yes;
  done_ = true;
  ShowWindow(window_, SW_HIDE);
}

bool UpdateDialog::RunModal() {
  if (!window_) return false;
  RunModalLoop(window_, context_.owner, yes_, done_);
  if (checkBox_ && SendMessageW(checkBox_, BM_GETCHECK, 0, 0) == BST_CHECKED) context_.client.StartHoldRequest();
  return result_;
}

bool ShowUpdateDialog(const UpdateDialogContext& context, const Text& answer) {
  UpdateDialog dialog(context, answer);
  return dialog.RunModal();
}

}  // namespace tarnwick::app
