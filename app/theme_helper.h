#pragma once
// TThemeHelper: the program's frame look on a form: the dark title bar request and a 2-pixel
// accent line at the top of the client area, blue while the form is active and grey while it
// is not, hidden while the form has no border.

#include <windows.h>

#include <memory>

namespace tarnwick::app {

class TThemeHelper {
 public:
  // Throws TarnwickError "TThemeHelper Owner must be a TForm" for a child window.
  explicit TThemeHelper(HWND form);
  // Gives the form its previous window procedure back; the line goes with the form.
  ~TThemeHelper();
  TThemeHelper(const TThemeHelper&) = delete;
  TThemeHelper& operator=(const TThemeHelper&) = delete;

  HWND Shape() const { return FShape; }
  COLORREF FillColor() const { return fill_; }
  int LineHeight() const;

 private:
  static LRESULT CALLBACK FormWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ShapeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void UpdateAccent();

  HWND FForm;
  COLORREF FActiveColor = RGB(0x3D, 0x84, 0xDD);
  bool FIsActive = true;
  HWND FShape = nullptr;
  WNDPROC FOldWindowProc = nullptr;
  COLORREF fill_ = 0;
};

// Themes `form`; the caller owns the result for the form's lifetime.
std::unique_ptr<TThemeHelper> ApplyTheme(HWND form);

}  // namespace tarnwick::app
