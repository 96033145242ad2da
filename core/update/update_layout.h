#pragma once
// Where the update dialog's notice controls go, relative to its outer size (96-DPI lengths
// scaled to the dialog's DPI).

#include "core/text/text.h"

namespace tarnwick {

struct NoticeLayout {
  int growBy = 0;          // extra outer height; 0 when there is no notice
  bool line = false;       // the grey separator line
  int lineTop = 0;         // client coordinates; the line is 1 pixel high and lineWidth wide
  int lineWidth = 0;
  bool checkBox = false;   // style "hold"
  bool link = false;       // style "note"
  int controlTop = 0;
  int controlLeft = 0;
  int controlWidth = 0;    // the check box's width (the dialog's outer width)
};

// `outerHeight` is the height before growing; the tops are measured from the grown height.
NoticeLayout ComputeNoticeLayout(TextView style, int outerWidth, int outerHeight, int dpi, int noticeOffset);

// A 96-DPI length at `dpi`, rounded.
int ScaleForDpi(int length, int dpi);

}  // namespace tarnwick
