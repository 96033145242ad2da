#include "core/update/update_layout.h"

#include <cmath>

namespace tarnwick {

int ScaleForDpi(int length, int dpi) { return static_cast<int>(std::lround(length * dpi / 96.0)); }

NoticeLayout ComputeNoticeLayout(TextView style, int outerWidth, int outerHeight, int dpi, int noticeOffset) {
  NoticeLayout layout;
  if (style.empty()) return layout;
  layout.growBy = ScaleForDpi(40 - noticeOffset, dpi);
  const int height = outerHeight + layout.growBy;
  layout.line = true;
  layout.lineTop = height - ScaleForDpi(76 - noticeOffset, dpi);
  layout.lineWidth = outerWidth;
  layout.checkBox = style == u"hold";
  layout.link = style == u"note";
  if (layout.checkBox || layout.link) {
    layout.controlTop = height - ScaleForDpi(66 - noticeOffset, dpi);
    layout.controlLeft = ScaleForDpi(10, dpi);
    layout.controlWidth = outerWidth;
  }
  return layout;
}

}  // namespace tarnwick
