#include <gtest/gtest.h>

#include "core/style/button_styles.h"

namespace tarnwick {
namespace {

constexpr Rgb kLight{0x50, 0x90, 0xE0};

const StateAttributes& State(const ButtonAttributes& a, ButtonState s) { return a[static_cast<size_t>(s)]; }

TEST(ButtonStyles, ColourDerivations) {
  EXPECT_EQ(Lighten(kAccent, 10), kLight);
  EXPECT_EQ(Lighten(kBlack, 50), (Rgb{0x80, 0x80, 0x80}));  // 127.5 rounds up
  EXPECT_EQ(Grey(Lighten(kAccent, 50)), (Rgb{0xBC, 0xBC, 0xBC}));
  EXPECT_EQ(Grey(Lighten(kAccent, 70)), (Rgb{0xD7, 0xD7, 0xD7}));
  EXPECT_EQ(Grey(Lighten(kBlack, 70)), (Rgb{0xB3, 0xB3, 0xB3}));
  EXPECT_EQ(Lighten(kWhite, 30), kWhite);
}

TEST(ButtonStyles, OutlineStates) {
  const ButtonAttributes a = TMorvessaButtonStyles::Attributes(u"Primary", u"outline");
  const StateAttributes& normal = State(a, ButtonState::Normal);
  EXPECT_FALSE(normal.fillSolid);
  EXPECT_EQ(normal.border, kAccent);
  EXPECT_EQ(normal.font, kBlack);
  EXPECT_TRUE(State(a, ButtonState::Pressed).fillSolid);
  EXPECT_EQ(State(a, ButtonState::Pressed).fill, kAccent);
  EXPECT_EQ(State(a, ButtonState::Pressed).font, kWhite);
  EXPECT_EQ(State(a, ButtonState::Hot).fill, kLight);
  EXPECT_EQ(State(a, ButtonState::Selected).fill, kLight);
  EXPECT_EQ(State(a, ButtonState::Disabled).border, (Rgb{0xD7, 0xD7, 0xD7}));
  EXPECT_EQ(State(a, ButtonState::Disabled).font, (Rgb{0xB3, 0xB3, 0xB3}));
  EXPECT_FALSE(State(a, ButtonState::Disabled).fillSolid);
}

TEST(ButtonStyles, HeaderStates) {
  const ButtonAttributes a = TMorvessaButtonStyles::Attributes(u"Other", u"Header");
  EXPECT_FALSE(State(a, ButtonState::Normal).fillSolid);
  EXPECT_EQ(State(a, ButtonState::Normal).border, kBlack);
  for (ButtonState s : {ButtonState::Pressed, ButtonState::Hot}) {
    EXPECT_TRUE(State(a, s).fillSolid);
    EXPECT_FALSE(State(a, s).borderSolid);
    EXPECT_EQ(State(a, s).fill, kAccent);
    EXPECT_EQ(State(a, s).font, kWhite);
  }
  EXPECT_EQ(State(a, ButtonState::Selected).fill, kLight);
  EXPECT_EQ(State(a, ButtonState::Disabled).border, (Rgb{0xBC, 0xBC, 0xBC}));
  EXPECT_EQ(State(a, ButtonState::Disabled).font, (Rgb{0x80, 0x80, 0x80}));
}

TEST(ButtonStyles, NormalIsTheDefaultAndTheClassIsIgnored) {
  const ButtonAttributes normal = TMorvessaButtonStyles::Attributes(u"Primary", u"Normal");
  const ButtonAttributes unknown = TMorvessaButtonStyles::Attributes(u"Whatever", u"Fancy");
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(normal[i].fill, unknown[i].fill);
    EXPECT_EQ(normal[i].font, unknown[i].font);
  }
  EXPECT_EQ(State(normal, ButtonState::Pressed).fill, kAccent);
  EXPECT_EQ(State(normal, ButtonState::Pressed).font, kWhite);
  EXPECT_EQ(State(normal, ButtonState::Hot).fill, kLight);
  EXPECT_EQ(State(normal, ButtonState::Disabled).fill, kWhite);
  EXPECT_EQ(State(normal, ButtonState::Disabled).border, kSilver);
  EXPECT_EQ(TMorvessaButtonStyles::FamilyName(), u"Morvessa");
  EXPECT_EQ(TMorvessaButtonStyles::Appearances(), (std::vector<Text>{u"Normal", u"Header", u"Outline"}));
  EXPECT_EQ(TMorvessaButtonStyles::DialogButton(6), (std::pair<Text, Text>{u"Primary", u"Normal"}));
}

TEST(ButtonStyles, TheStateDrawnForWhatTheButtonIsDoing) {
  struct Case {
    ButtonCondition condition;
    ButtonState state;
  };
  const Case cases[] = {
      {{}, ButtonState::Normal},
      {{.focused = true}, ButtonState::Selected},
      {{.hot = true, .focused = true}, ButtonState::Hot},
      {{.down = true, .hot = true, .focused = true}, ButtonState::Pressed},
      {{.disabled = true, .down = true, .hot = true}, ButtonState::Disabled},
  };
  for (const Case& c : cases) EXPECT_EQ(StateFor(c.condition), c.state);
}

}  // namespace
}  // namespace tarnwick
