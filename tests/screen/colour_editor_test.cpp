#include <gtest/gtest.h>

#include <optional>

#include "screen_rig.hpp"

namespace tx::screen {
namespace {

using test::Rig;

class SavingStore : public ColourStore {
 public:
  std::optional<ColourScheme> saved;
  std::string terminal;
  std::optional<ColourScheme> load(std::string_view) override { return saved; }
  bool save(std::string_view t, const ColourScheme& s) override {
    saved = s;
    terminal = std::string(t);
    return true;
  }
};

TEST(ColourEditor, ArrowsChangeTheElementAndEndingSaves) {
  struct Case { int element; const char* script; int ColourScheme::*number; int want; std::string text; int ferid; };
  const Case cases[] = {
      {3, "{Right}{Enter}", &ColourScheme::COR_ESCOL, 79, "W/R+", 28},      // fg 15: Right does nothing
      {3, "{Down}{Enter}", &ColourScheme::COR_ESCOL, 0x5F, "W+/BR", 92},    // bg 5: FERID bg*16+12
      {3, "{Down}{Up}{Esc}", &ColourScheme::COR_ESCOL, 79, "W+/R", 79},     // red background: white
      {3, "{Up*9}{Enter}", &ColourScheme::COR_ESCOL, 0x0F, "W+/N", 12},     // stops at background 0
      {1, "{Left}{Enter}", &ColourScheme::COR_TEL1, 29, "BR+/B", 28},
      {1, "{Left*20}{Enter}", &ColourScheme::COR_TEL1, 16, "N/B", 28},      // stops at foreground 0
      {4, "{Down*9}{Enter}", &ColourScheme::COR_PEGA, 0x7F, "W+/W", 28},    // stops at background 7
      {7, "{Right}{Enter}", &ColourScheme::COR_ENCHE, 31, "W+/B", 28},      // 31 is W+: at the end
      {7, "{Left}{Enter}", &ColourScheme::COR_ENCHE, 30, "GR+/B", 28},
  };
  std::string ColourScheme::*texts[] = {nullptr, &ColourScheme::COR_1_CLI, &ColourScheme::COR_2_CLI,
                                        &ColourScheme::COR_ESC_CL, &ColourScheme::COR_GET, &ColourScheme::COR_SAY,
                                        &ColourScheme::COR_CLI_HE, &ColourScheme::COR_ENCH_C};
  for (const auto& c : cases) {
    Rig rig(c.script);
    SavingStore store;
    rig.screen.colour_store = &store;
    rig.screen.terminal = "07";
    rig.screen.MODCOR(c.element);
    const ColourScheme& s = rig.screen.colours;
    EXPECT_EQ(s.*c.number, c.want) << c.element << c.script;
    // An untouched string keeps its own spelling; a changed one is rewritten.
    if (s.*c.number != ColourScheme{}.*c.number) {
      EXPECT_EQ(s.*texts[c.element], c.text) << c.element << c.script;
    }
    EXPECT_EQ(s.COR_FERID, c.ferid) << c.element << c.script;
    ASSERT_TRUE(store.saved) << c.script;
    EXPECT_EQ(store.terminal, "07");
    EXPECT_EQ((*store.saved).*c.number, c.want);
    EXPECT_EQ(rig.screen.window_count(), 1u);
    EXPECT_FALSE(rig.screen.panel(4).open);
    EXPECT_FALSE(rig.screen.panel(6).open);
  }
}

TEST(ColourEditor, PaletteMarksTheCurrentColour) {
  Rig rig("{Left}{Enter}");
  using Sq = std::pair<unsigned char, unsigned char>;
  std::vector<Sq> at_15_4, at_14_4;
  rig.screen.on_wait = [&] {
    // Square (bg 4, fg f) is on row 5 + 4, column 3 + f.
    at_15_4.push_back({rig.cell(9, 18).ch, rig.cell(9, 18).attr});
    at_14_4.push_back({rig.cell(9, 17).ch, rig.cell(9, 17).attr});
  };
  rig.screen.MODCOR(3);
  ASSERT_EQ(at_15_4.size(), 2u);
  EXPECT_EQ(at_15_4[0], Sq('*', 0x4F));
  EXPECT_EQ(at_14_4[0], Sq(0xFE, 0x4E));
  EXPECT_EQ(at_15_4[1], Sq(0xFE, 0x4F));
  EXPECT_EQ(at_14_4[1], Sq('*', 0x4E));
}

TEST(ColourEditor, MessagesColourReachesTheStatusPanel) {
  Rig rig("{Up}{Enter}");
  rig.screen.MODCOR(5);
  EXPECT_EQ(rig.screen.colours.COR_MENS, 0x60);
  EXPECT_EQ(rig.screen.panel(10).colour1, 0x60);
  EXPECT_EQ(rig.screen.panel(10).colour2, rig.screen.colours.COR_TEL2);
  EXPECT_EQ(rig.screen.colours.CORNORM.substr(0, 4), "N/GR");
}

}  // namespace
}  // namespace tx::screen
