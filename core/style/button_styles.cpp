#include "core/style/button_styles.h"

#include <cmath>

namespace tarnwick {
namespace {

uint8_t LightenChannel(uint8_t v, int percent) {
  // Exact halves round up: work in hundredths to stay in integers.
  const int hundredths = v * 100 + (255 - v) * percent;
  return static_cast<uint8_t>((hundredths + 50) / 100);
}

StateAttributes& At(ButtonAttributes& a, ButtonState s) { return a[static_cast<size_t>(s)]; }

}  // namespace

Rgb Lighten(Rgb c, int percent) {
  return {LightenChannel(c.r, percent), LightenChannel(c.g, percent), LightenChannel(c.b, percent)};
}

Rgb Grey(Rgb c) {
  const auto g = static_cast<uint8_t>(std::lround(0.299 * c.r + 0.587 * c.g + 0.114 * c.b));
  return {g, g, g};
}

ButtonAttributes TMorvessaButtonStyles::Attributes(TextView, TextView appearance) {
  const bool header = SameTextAscii(appearance, u"Header");
  const bool outline = SameTextAscii(appearance, u"Outline");
  const Rgb light = Lighten(kAccent, 10);

  StateAttributes normal;
  if (header) {
    normal.fillSolid = false, normal.fill = kWhite, normal.border = kBlack, normal.font = kBlack;
  } else if (outline) {
    normal.fillSolid = false, normal.fill = kAccent, normal.border = kAccent, normal.font = kBlack;
  } else {
    normal.fill = kAccent, normal.border = kAccent, normal.font = kWhite;
  }
  ButtonAttributes a;
  a.fill(normal);

  if (header) {
    for (ButtonState s : {ButtonState::Pressed, ButtonState::Hot, ButtonState::Selected}) {
      StateAttributes& st = At(a, s);
      st.fillSolid = true, st.borderSolid = false;
      st.fill = s == ButtonState::Selected ? light : kAccent;
      st.border = kAccent, st.font = kWhite;
    }
    At(a, ButtonState::Disabled).border = Grey(Lighten(kAccent, 50));
    At(a, ButtonState::Disabled).font = Grey(Lighten(kBlack, 50));
  } else if (outline) {
    At(a, ButtonState::Pressed).fillSolid = true;
    At(a, ButtonState::Pressed).font = kWhite;
    for (ButtonState s : {ButtonState::Hot, ButtonState::Selected}) {
      At(a, s).fillSolid = true, At(a, s).fill = light, At(a, s).font = kWhite;
    }
    At(a, ButtonState::Disabled).border = Grey(Lighten(kAccent, 70));
    At(a, ButtonState::Disabled).font = Grey(Lighten(kBlack, 70));
  } else {
    At(a, ButtonState::Hot).fill = light;
    StateAttributes& disabled = At(a, ButtonState::Disabled);
    disabled.fill = kWhite, disabled.border = kSilver, disabled.font = kSilver, disabled.borderWidth = 0;
  }
  return a;
}

std::pair<Text, Text> TMorvessaButtonStyles::DialogButton(int) { return {u"Primary", u"Normal"}; }

ButtonState StateFor(ButtonCondition condition) {
  if (condition.disabled) return ButtonState::Disabled;
  if (condition.down) return ButtonState::Pressed;
  if (condition.hot) return ButtonState::Hot;
  if (condition.focused) return ButtonState::Selected;
  return ButtonState::Normal;
}

}  // namespace tarnwick
