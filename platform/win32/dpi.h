#pragma once
// The DPI a window is shown at: its monitor's where the system can say (Windows 10), else the
// system's.

#include <windows.h>

namespace tarnwick::win32 {

inline int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window && getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace tarnwick::win32
