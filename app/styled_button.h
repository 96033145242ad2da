#pragma once
// Painting a button from the Morvessa style family.

#include <windows.h>

#include "core/style/button_styles.h"

namespace tarnwick::app {

// Rounded rectangle with the state's fill, border and font colours; `text` centred.
void DrawStyledButton(HDC dc, const RECT& rect, const StateAttributes& state, const wchar_t* text, HFONT font,
                      int radius);

inline COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// The program's accent blue, as the style family defines it.
inline constexpr COLORREF kAccentColor = RGB(kAccent.r, kAccent.g, kAccent.b);

}  // namespace tarnwick::app
