#pragma once
// The one way our own windows find their object: it is handed to CreateWindowExW as the
// creation parameter, attached at WM_NCCREATE and detached after WM_NCDESTROY. T provides
// `LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM)`; messages before the attachment and
// after the detachment go to DefWindowProcW.

#include <windows.h>

namespace tarnwick::win32 {

template <typename T>
LRESULT CALLBACK WindowThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return result;
}

}  // namespace tarnwick::win32
