#pragma once
// The system's message font at a given DPI and size.

#include <windows.h>

#include "platform/win32/gdi.h"

namespace tarnwick::app {

struct FontStyle {
  int points = 9;
  bool bold = false;
  bool underline = false;
  const wchar_t* face = nullptr;  // nullptr: the message font's own face
};

inline win32::UniqueFont CreateMessageFont(int dpi, FontStyle style = {}) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = -MulDiv(style.points, dpi, 72);
  if (style.bold) font.lfWeight = FW_BOLD;
  font.lfUnderline = style.underline;
  if (style.face) lstrcpynW(font.lfFaceName, style.face, LF_FACESIZE);
  return win32::UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace tarnwick::app
