#include <gtest/gtest.h>

#include <map>

#include "screen/colour.hpp"

namespace tx::screen {
namespace {

TEST(Colour, EveryAttributeSurvivesARoundTrip) {
  for (int a = 0; a < 256; ++a) {
    std::string s = ACHACOR(a);
    EXPECT_EQ(ACHACOR(s), a) << s;
  }
}

TEST(Colour, KnownStrings) {
  struct Case { std::string_view text; int attr; };
  const Case cases[] = {
      {"GR+/B", 30}, {"N/W", 112}, {"W+/BG", 63}, {"N/BG", 48}, {"W+/B", 31},
      {"N/W*", 0xF0},   // bright background
      {"W*/B", 0x97},   // the star counts for the background wherever it stands
      {"N/W+", 0x78},   // the plus counts for the foreground wherever it stands
      {"W/R+", 79},     // the chosen-item string and its attribute agree
      {"gr+/b", 30},    // either case
      {"W/N,N/W,N/N", 7},  // only the first slot of a composite
      {"I", 112}, {"B", 1}, {"/R", 64},
  };
  for (const auto& c : cases) EXPECT_EQ(ACHACOR(c.text), c.attr) << c.text;
  EXPECT_EQ(ACHACOR(30), "GR+/B");
  EXPECT_EQ(ACHACOR(112), "N/W");
  EXPECT_EQ(ACHACOR(63), "W+/BG");
  EXPECT_EQ(ACHACOR(48), "N/BG");
  EXPECT_EQ(ACHACOR(0xF0), "N/W*");
}

TEST(Colour, UnreadableStringsAreToldApart) {
  for (std::string_view bad : {"XX/B", "W/PURPLE", "Q"}) {
    EXPECT_FALSE(colour_attr(bad).has_value()) << bad;
    EXPECT_EQ(ACHACOR(bad), 7) << bad;
  }
}

TEST(Colour, CompositesFollowTheSchemeStrings) {
  ColourScheme s;
  EXPECT_EQ(s.CORNORM, "N/W+,W/N,N/N,N/N,N/W+");
  EXPECT_EQ(s.CORMENU, "GR+/B,W/R+,W+/B,W+/B,W+/B,W+/B");
  s.COR_SAY = "W/R";
  s.rebuild();
  EXPECT_EQ(colour_slot(s.CORNORM, 0), "W/R");
  EXPECT_EQ(colour_slot(s.CORNORM, 4), "W/R");
  EXPECT_EQ(colour_slot(s.CORSELE, 0), "N/W");
  EXPECT_EQ(colour_slot(s.CORSELE, 9), "");
  EXPECT_EQ(colour_slot(ColourScheme::INVISIVEL, 1), "W/W");
}

class MemoryStore : public ColourStore {
 public:
  std::map<std::string, std::map<std::string, std::string>> records;
  bool refuse = false;
  std::optional<ColourScheme> load(std::string_view terminal) override {
    auto it = records.find(std::string(terminal));
    if (it == records.end()) return std::nullopt;
    ColourScheme s;
    for (const auto& f : kColourFields) set_colour_field(s, f, it->second[std::string(f.name)]);
    return s;
  }
  bool save(std::string_view terminal, const ColourScheme& s) override {
    if (refuse) return false;
    auto& rec = records[std::string(terminal)];
    for (const auto& f : kColourFields) rec[std::string(f.name)] = colour_field_text(s, f);
    return true;
  }
};

TEST(Colour, ATerminalWithoutARecordGetsTheDefaults) {
  MemoryStore store;
  ColourScheme s;
  s.COR_TEL1 = 5;
  ASSERT_TRUE(CRIACOR(store, "07", s));
  EXPECT_EQ(s.COR_TEL1, 30);
  ASSERT_EQ(store.records.count("07"), 1u);
  EXPECT_EQ(store.records["07"]["COR_ESCOL"], " 79");
  EXPECT_EQ(store.records["07"]["COR_SAY"], "N/W+      ");
}

TEST(Colour, SavedSchemeComesBackForItsTerminalOnly) {
  MemoryStore store;
  ColourScheme s;
  s.COR_ESCOL = 0x4F;
  s.COR_ESC_CL = "W+/R";
  s.COR_ENCHE = 17;
  ASSERT_TRUE(GRAVACOR(store, "03", s));
  ColourScheme back, other;
  ASSERT_TRUE(CRIACOR(store, "03", back));
  EXPECT_EQ(back.COR_ESCOL, 0x4F);
  EXPECT_EQ(back.COR_ESC_CL, "W+/R");
  EXPECT_EQ(back.COR_ENCHE, 17);
  EXPECT_EQ(colour_slot(back.CORMENU, 1), "W+/R");  // composites rebuilt on load
  ASSERT_TRUE(CRIACOR(store, "04", other));
  EXPECT_EQ(other.COR_ESCOL, 79);
}

TEST(Colour, DamagedFieldsKeepTheirDefaults) {
  ColourScheme s;
  const ColourField* tel1 = nullptr;
  const ColourField* say = nullptr;
  for (const auto& f : kColourFields) {
    if (f.name == "COR_TEL1") tel1 = &f;
    if (f.name == "COR_SAY") say = &f;
  }
  ASSERT_TRUE(tel1 && say);
  for (std::string_view bad : {"", "999", "1x", "-3"}) {
    set_colour_field(s, *tel1, bad);
    EXPECT_EQ(s.COR_TEL1, 30) << bad;
  }
  set_colour_field(s, *say, "PINK/W    ");
  EXPECT_EQ(s.COR_SAY, "N/W+");
  set_colour_field(s, *tel1, " 31");
  EXPECT_EQ(s.COR_TEL1, 31);
}

TEST(Colour, RefusedSaveIsReported) {
  MemoryStore store;
  store.refuse = true;
  ColourScheme s;
  EXPECT_FALSE(CRIACOR(store, "01", s));
  EXPECT_EQ(s.COR_TEL1, 30);
  EXPECT_FALSE(GRAVACOR(store, "01", s));
}

}  // namespace
}  // namespace tx::screen
