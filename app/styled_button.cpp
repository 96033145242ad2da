#include "app/styled_button.h"

namespace tarnwick::app {

void DrawStyledButton(HDC dc, const RECT& rect, const StateAttributes& state, const wchar_t* text, HFONT font,
                      int radius) {
  // Border width 0 still draws the one-pixel outline in the border colour when it is solid.
  HPEN pen = state.borderSolid ? CreatePen(PS_SOLID, std::max(1, state.borderWidth), ToColorRef(state.border))
                               : static_cast<HPEN>(GetStockObject(NULL_PEN));
  HBRUSH brush = state.fillSolid ? CreateSolidBrush(ToColorRef(state.fill)) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius * 2, radius * 2);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  if (state.borderSolid) DeleteObject(pen);
  if (state.fillSolid) DeleteObject(brush);

  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(state.font));
  RECT textRect = rect;
  DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

}  // namespace tarnwick::app
