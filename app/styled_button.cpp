#include "app/styled_button.h"

#include <algorithm>

#include "platform/win32/gdi.h"

namespace tarnwick::app {

void DrawStyledButton(HDC dc, const RECT& rect, const StateAttributes& state, const wchar_t* text, HFONT font,
                      int radius) {
  // Border width 0 still draws the one-pixel outline in the border colour when it is solid.
  win32::UniquePen pen(state.borderSolid ? CreatePen(PS_SOLID, std::max(1, state.borderWidth), ToColorRef(state.border))
                                         : nullptr);
  win32::UniqueBrush brush(state.fillSolid ? CreateSolidBrush(ToColorRef(state.fill)) : nullptr);
  {
    win32::ScopedSelect penIn(dc, pen ? pen.get() : GetStockObject(NULL_PEN));
    win32::ScopedSelect brushIn(dc, brush ? brush.get() : GetStockObject(NULL_BRUSH));
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius * 2, radius * 2);
  }
  win32::ScopedSelect fontIn(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(state.font));
  RECT textRect = rect;
  DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace tarnwick::app
