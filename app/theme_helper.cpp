#include "app/theme_helper.h"

#include "core/error.h"
#include "core/update/update_layout.h"
#include "platform/win32/dpi.h"

namespace tarnwick::app {
namespace {

constexpr wchar_t kShapeClass[] = L"TarnwickAccentLine";
constexpr wchar_t kHelperProperty[] = L"TarnwickThemeHelper";

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

TThemeHelper::TThemeHelper(HWND form) : FForm(form) {
  if (!form || (GetWindowLongW(form, GWL_STYLE) & WS_CHILD)) throw TarnwickError(u"TThemeHelper Owner must be a TForm");
  RequestDarkTitleBar(form);

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW shapeClass{};
  shapeClass.cbSize = sizeof(shapeClass);
  shapeClass.lpfnWndProc = ShapeProc;
  shapeClass.hInstance = instance;
  shapeClass.lpszClassName = kShapeClass;
  RegisterClassExW(&shapeClass);
  RECT client;
  GetClientRect(form, &client);
  FShape = CreateWindowExW(0, kShapeClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, LineHeight(), form,
                           nullptr, instance, nullptr);
  SetPropW(FShape, kHelperProperty, this);

  SetPropW(form, kHelperProperty, this);
  FOldWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TThemeHelper::FormWndProc)));
  UpdateAccent();
}

TThemeHelper::~TThemeHelper() {
  if (FForm && IsWindow(FForm)) {
    SetWindowLongPtrW(FForm, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWindowProc));
    RemovePropW(FForm, kHelperProperty);
  }
  if (FShape && IsWindow(FShape)) RemovePropW(FShape, kHelperProperty);
}

int TThemeHelper::LineHeight() const { return ScaleForDpi(2, win32::WindowDpi(FForm)); }

void TThemeHelper::UpdateAccent() {
  fill_ = FIsActive ? FActiveColor : GetSysColor(COLOR_GRAYTEXT);
  RECT client;
  GetClientRect(FForm, &client);
  SetWindowPos(FShape, HWND_TOP, 0, 0, client.right, LineHeight(), SWP_NOACTIVATE);
  const bool bordered = (GetWindowLongW(FForm, GWL_STYLE) & WS_BORDER) != 0;
  ShowWindow(FShape, bordered ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(FShape, nullptr, FALSE);
}

LRESULT CALLBACK TThemeHelper::FormWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TThemeHelper*>(GetPropW(window, kHelperProperty));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC previous = self->FOldWindowProc;
  if (message == WM_SIZE) self->UpdateAccent();
  if (message == WM_ACTIVATE) {
    self->FIsActive = LOWORD(wParam) != 0;
    self->UpdateAccent();
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK TThemeHelper::ShapeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    auto* self = static_cast<TThemeHelper*>(GetPropW(window, kHelperProperty));
    HBRUSH brush = CreateSolidBrush(self ? self->fill_ : GetSysColor(COLOR_GRAYTEXT));
    RECT rect;
    GetClientRect(window, &rect);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::unique_ptr<TThemeHelper> ApplyTheme(HWND form) { return std::make_unique<TThemeHelper>(form); }

}  // namespace tarnwick::app
