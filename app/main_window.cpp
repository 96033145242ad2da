#include "app/main_window.h"

#include <commctrl.h>

#include <nlohmann/json.hpp>

#include "app/fonts.h"
#include "app/styled_button.h"
#include "app/theme_helper.h"
#include "app/update_dialog.h"
#include "app/update_status.h"
#include "core/error.h"
#include "core/web/web_address.h"
#include "core/update/update_layout.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui_component_win32.h"
#include "platform/win32/wide.h"

namespace tarnwick::app {
namespace {

constexpr wchar_t kClassName[] = L"TarnwickMainWindow";
constexpr int kHeaderHeight = 50, kLogoWidth = 120;

}  // namespace

TFrmTarnwick::TFrmTarnwick(Context context)
    : context_(std::move(context)) {}

TFrmTarnwick::~TFrmTarnwick() {
  if (client_) client_->RequestStop();
  if (window_) DestroyWindow(window_);
}

bool TFrmTarnwick::Create(int show) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = win32::WindowThunk<TFrmTarnwick>;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  window_ = CreateWindowExW(0, kClassName, L"Tarnwick", style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                            nullptr, instance, this);
  if (!window_) return false;

  // 412 x 432 client pixels at 96 DPI, centred on the work area.
  dpi_ = win32::WindowDpi(window_);
  RECT outer{0, 0, ScaleForDpi(412, dpi_), ScaleForDpi(432, dpi_)};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER);

  FormCreate();
  ShowWindow(window_, show);
  UpdateWindow(window_);
  client_->CheckUpdate(context_.updateUrl, [this](bool accepted, const Text& data) { UpdateDone(accepted, data); },
                       10);
  // The list fills at once from the built-in lists: without a network the answer takes a
  // minute of retries. The answer's rows are merged in when it comes.
  try {
    frame_->LoadAutorun();
  } catch (const std::exception& error) {
    ReportError(error);
  }
  return true;
}

void TFrmTarnwick::FormCreate() {
  theme_ = ApplyTheme(window_);
  CreateFonts();

  frame_ = std::make_unique<TFrmAutorun>(
      window_,
      TFrmAutorun::Context{context_.app, context_.translator, context_.lookupUrl,
                           [this](const std::exception& e) { ReportError(e); }},
      dpi_);
  // Windows' own startup files stay hidden without a network too.
  frame_->Startup().LoadBuiltInLists();

  // Translate the window and everything it owns, then its caption once more.
  win32::Win32WindowComponent form(window_, true);
  form.AddPopupMenu(frame_->Menu());
  context_.translator.TranslateComponent(&form);
  const Text caption = context_.translator.Translate(u"Tarnwick");
  SetWindowTextW(window_, win32::Wide(caption).c_str());
  homeCaption_ = context_.translator.Translate(u"처음화면");

  client_ = std::make_unique<UpdateClient>(context_.app.ports, context_.uiThread, *this, context_.translator);
  LayoutChildren();
}

void TFrmTarnwick::UpdateDone(bool updateAccepted, const Text& data) {
  if (updateAccepted) {
    DestroyWindow(window_);
    return;
  }
  // The list is filled already. Filters apply to new rows only: with new filter rows every
  // row is built again, so that a server row hides what it names as on a first filling.
  if (frame_->Startup().MergeServerLists(ToUtf8(data))) frame_->Rebuild();
}

bool TFrmTarnwick::UpdateDialog(const Text& answer) {
  return ShowUpdateDialog({context_.translator, *client_, context_.app.ports.shell, window_,
                           LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")},
                          answer);
}

void TFrmTarnwick::ShowUpdateStatus(const Text& url) {
  app::ShowUpdateStatus(window_, UpdateText(UpdateTextKind::Status, context_.translator.CurrentLanguage), url, context_.app.ports.shell);
  LayoutChildren();
}

void TFrmTarnwick::ReportError(const std::exception& error) {
  const auto* own = dynamic_cast<const TarnwickError*>(&error);
  const Text message = own ? own->Message() : FromUtf8(error.what());
  MessageBoxW(window_, win32::Wide(message).c_str(), win32::Wide(context_.translator.Translate(u"Tarnwick")).c_str(),
              MB_OK | MB_ICONERROR);
}

void TFrmTarnwick::CreateFonts() {
  font_ = CreateMessageFont(dpi_);
  logoFont_ = CreateMessageFont(dpi_, {.points = 11, .bold = true});  // fits beside the mark in 112 pixels
}

RECT TFrmTarnwick::LogoRect() const {
  RECT client;
  GetClientRect(window_, &client);
  const int s = ScaleForDpi(kLogoWidth, dpi_);
  return {client.right - s + ScaleForDpi(3, dpi_), 0, client.right - s + ScaleForDpi(3 + 112, dpi_),
          ScaleForDpi(kHeaderHeight, dpi_)};
}

void TFrmTarnwick::LayoutChildren() {
  if (!frame_) return;
  RECT client;
  GetClientRect(window_, &client);
  if (HWND bar = GetDlgItem(window_, kStatusBarId)) {
    RECT barRect;
    GetWindowRect(bar, &barRect);
    client.bottom -= barRect.bottom - barRect.top;
  }
  const int margin = ScaleForDpi(8, dpi_);
  RECT page{client.left + margin, ScaleForDpi(kHeaderHeight, dpi_), client.right - margin, client.bottom};
  frame_->Layout(page, dpi_);
  InvalidateRect(window_, nullptr, TRUE);
}

void TFrmTarnwick::Paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  // The header's one tab, "Home", shown pressed.
  const int m = ScaleForDpi(10, dpi_);
  RECT home{m + ScaleForDpi(10, dpi_), m, m + ScaleForDpi(10 + 70, dpi_), m + ScaleForDpi(30, dpi_)};
  const ButtonAttributes header = TMorvessaButtonStyles::Attributes(u"Primary", u"Header");
  DrawStyledButton(dc, home, header[static_cast<size_t>(ButtonState::Pressed)], win32::Wide(homeCaption_).c_str(),
                   font_.get(), ScaleForDpi(4, dpi_));
  // The logo, drawn with vectors so it stays crisp at any DPI.
  const RECT logo = LogoRect();
  const int mark = ScaleForDpi(22, dpi_);
  const int top = logo.top + (logo.bottom - logo.top - mark) / 2;
  {
    const win32::UniqueBrush blue(CreateSolidBrush(kAccentColor));
    win32::ScopedSelect brushIn(dc, blue.get());
    win32::ScopedSelect penIn(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, logo.left, top, logo.left + mark, top + mark, mark / 3, mark / 3);
  }
  RECT word{logo.left + mark + ScaleForDpi(5, dpi_), logo.top, logo.right, logo.bottom};
  win32::ScopedSelect fontIn(dc, logoFont_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0x33, 0x33, 0x33));
  DrawTextW(dc, L"morvessa", -1, &word, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

LRESULT TFrmTarnwick::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    case WM_SIZE:
      LayoutChildren();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      CreateFonts();
      if (frame_) frame_->ApplyDpi(dpi_);
      RescaleUpdateStatus(window_, dpi_);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayoutChildren();
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      Paint(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT logo = LogoRect();
      if (PtInRect(&logo, at)) OpenWebAddress(context_.app.ports.shell, context_.logoUrl);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(window_, &at);
      const RECT logo = LogoRect();
      if (reinterpret_cast<HWND>(wParam) == window_ && PtInRect(&logo, at)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_COMMAND:
      if (frame_ && frame_->HandleCommand(wParam, lParam)) return 0;
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (frame_ && frame_->HandleNotify(reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      // The check box sits on the white window.
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_DRAWITEM:
      if (frame_ && frame_->HandleDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tarnwick::app
