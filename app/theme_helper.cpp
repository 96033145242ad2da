#include "app/theme_helper.h"

#include <commctrl.h>

#include "app/styled_button.h"
#include "core/error.h"
#include "core/update/update_layout.h"
#include "platform/win32/dpi.h"
#include "platform/win32/gdi.h"

namespace tarnwick::app {
namespace {

constexpr wchar_t kShapeClass[] = L"TarnwickAccentLine";
constexpr UINT_PTR kFormSubclassId = 0x5448;  // "TH"

void RequestDarkTitleBar(HWND window) {
  using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  if (HMODULE dwm = LoadLibraryW(L"dwmapi.dll")) {
    auto set = reinterpret_cast<SetAttributeFn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")));
    const BOOL on = -1;  // all bits set; systems without the attribute ignore it
    if (set) set(window, 20 /* DWMWA_USE_IMMERSIVE_DARK_MODE */, &on, sizeof(on));
    FreeLibrary(dwm);
  }
}

}  // namespace

TThemeHelper::TThemeHelper(HWND form) : form_(form) {
  if (!form || (GetWindowLongW(form, GWL_STYLE) & WS_CHILD)) throw TarnwickError(u"TThemeHelper Owner must be a TForm");
  RequestDarkTitleBar(form);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW shapeClass{};
  shapeClass.cbSize = sizeof(shapeClass);
  shapeClass.lpfnWndProc = win32::WindowThunk<TThemeHelper>;
  shapeClass.hInstance = instance;
  shapeClass.lpszClassName = kShapeClass;
  RegisterClassExW(&shapeClass);
  RECT client;
  GetClientRect(form, &client);
  shape_ = CreateWindowExW(0, kShapeClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, LineHeight(), form,
                           nullptr, instance, this);
  // The form is someone else's window: it is extended by a subclass, never by a swap.
  SetWindowSubclass(form, FormProc, kFormSubclassId, reinterpret_cast<DWORD_PTR>(this));
  UpdateAccent();
}

TThemeHelper::~TThemeHelper() {
  if (form_ && IsWindow(form_)) RemoveWindowSubclass(form_, FormProc, kFormSubclassId);
  // The line lives as long as the form; it must not reach this object any more.
  if (shape_ && IsWindow(shape_)) SetWindowLongPtrW(shape_, GWLP_USERDATA, 0);
}

int TThemeHelper::LineHeight() const { return ScaleForDpi(2, win32::WindowDpi(form_)); }

void TThemeHelper::UpdateAccent() {
  fill_ = isActive_ ? kAccentColor : GetSysColor(COLOR_GRAYTEXT);
  RECT client;
  GetClientRect(form_, &client);
  SetWindowPos(shape_, HWND_TOP, 0, 0, client.right, LineHeight(), SWP_NOACTIVATE);
  const bool bordered = (GetWindowLongW(form_, GWL_STYLE) & WS_BORDER) != 0;
  ShowWindow(shape_, bordered ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(shape_, nullptr, FALSE);
}

LRESULT CALLBACK TThemeHelper::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
  auto* self = reinterpret_cast<TThemeHelper*>(data);
  switch (message) {
    case WM_SIZE:
      self->UpdateAccent();
      break;
    case WM_ACTIVATE:
      self->isActive_ = LOWORD(wParam) != 0;
      self->UpdateAccent();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, FormProc, kFormSubclassId);
      self->form_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT TThemeHelper::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const win32::UniqueBrush brush(CreateSolidBrush(fill_));
    RECT rect;
    GetClientRect(window, &rect);
    FillRect(dc, &rect, brush.get());
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_NCDESTROY) shape_ = nullptr;
  return DefWindowProcW(window, message, wParam, lParam);
}

std::unique_ptr<TThemeHelper> ApplyTheme(HWND form) { return std::make_unique<TThemeHelper>(form); }

}  // namespace tarnwick::app
