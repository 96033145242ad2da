#pragma once
// The "Morvessa" button style family: per-state colours of the program's buttons and of the
// header tool bar, derived from the accent blue.

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kAccent{0x3D, 0x84, 0xDD};
inline constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
inline constexpr Rgb kBlack{0x00, 0x00, 0x00};
inline constexpr Rgb kSilver{0xC0, 0xC0, 0xC0};

// Each channel v becomes v + (255 - v) * percent / 100, halves rounded up.
Rgb Lighten(Rgb color, int percent);
// 0.299 R + 0.587 G + 0.114 B, rounded, as a grey.
Rgb Grey(Rgb color);

enum class ButtonState { Normal, Pressed, Selected, Hot, Disabled };

// What a button looks like now. `down`: held down by the mouse or shown pressed by its owner;
// `hot`: the mouse is over it; `focused`: it has the keyboard focus (the library's "selected").
struct ButtonCondition {
  bool disabled = false;
  bool down = false;
  bool hot = false;
  bool focused = false;
};
// Disabled wins, then pressed, then hot, then selected, else normal.
ButtonState StateFor(ButtonCondition condition);

struct StateAttributes {
  bool roundRect = true;
  bool fillSolid = true;
  bool borderSolid = true;
  Rgb fill, border;
  int borderWidth = 0;
  Rgb font;
  bool bold = false;
};

using ButtonAttributes = std::array<StateAttributes, 5>;  // by ButtonState

class TMorvessaButtonStyles {
 public:
  static TextView FamilyName() { return u"Morvessa"; }
  static std::vector<Text> ButtonClasses() { return {u"Primary"}; }
  static std::vector<Text> Appearances() { return {u"Normal", u"Header", u"Outline"}; }
  // The class is not looked at; an unknown appearance (ASCII case ignored) is "Normal".
  static ButtonAttributes Attributes(TextView buttonClass, TextView appearance);
  // Every dialog result gets ("Primary", "Normal").
  static std::pair<Text, Text> DialogButton(int result);
};

}  // namespace tarnwick
