#pragma once
// TThemeHelper: the program's frame look on a form: the dark title bar request and a 2-pixel
// accent line at the top of the client area, blue while the form is active and grey while it
// is not, hidden while the form has no border.

#include <windows.h>

#include <memory>

#include "platform/win32/window_thunk.h"

namespace tarnwick::app {

class TThemeHelper {
 public:
  // Throws TarnwickError "TThemeHelper Owner must be a TForm" for a child window.
  explicit TThemeHelper(HWND form);
  // Takes its subclass off the form; the line goes with the form.
  ~TThemeHelper();
  TThemeHelper(const TThemeHelper&) = delete;
  TThemeHelper& operator=(const TThemeHelper&) = delete;

  HWND Shape() const { return shape_; }
  COLORREF FillColor() const { return fill_; }
  int LineHeight() const;

 private:
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  template <typename T>
  friend LRESULT CALLBACK win32::WindowThunk(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);  // the line's
  void UpdateAccent();

  HWND form_;
  bool isActive_ = true;
  HWND shape_ = nullptr;
  COLORREF fill_ = 0;
};

// Themes `form`; the caller owns the result for the form's lifetime.
std::unique_ptr<TThemeHelper> ApplyTheme(HWND form);

}  // namespace tarnwick::app
