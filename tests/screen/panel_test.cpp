#include <gtest/gtest.h>

#include "screen_rig.hpp"

namespace tx::screen {
namespace {

using test::Rig;

class PanelTest : public ::testing::Test {
 protected:
  Rig rig;
  Screen& s = rig.screen;
};

TEST_F(PanelTest, ClosingRestoresExactCellsForEveryFrameType) {
  for (int type : {0, 1, 2, 7}) {
    rig.pattern();
    auto before = rig.all();
    s.REDEFJAN(3, 30, 31, 63, 5, 10, 12, 50, type);
    s.ABREJAN(3);
    s.ESCRJAN(3, std::string(400, 'x'));
    EXPECT_NE(rig.all(), before) << "type " << type;
    s.FECHAJAN(3);
    EXPECT_EQ(rig.all(), before) << "type " << type;
  }
}

TEST_F(PanelTest, PanelsAtTheEdgesRestoreToo) {
  rig.pattern();
  auto before = rig.all();
  s.REDEFJAN(1, 30, 31, 63, 0, 0, 24, 79, 1);  // box would start at -1
  s.REDEFJAN(2, 30, 31, 63, 20, 60, 24, 79, 7);  // shade would pass the bottom
  s.ABREJAN(1);
  s.ESCRJAN(1, std::string(3000, 'a'));
  s.ABREJAN(2);
  s.ESCRJAN(2, std::string(3000, 'b'));
  s.FECHAJAN(2);
  s.FECHAJAN(1);
  EXPECT_EQ(rig.all(), before);
}

TEST_F(PanelTest, ReopeningAnOpenPanelGivesBackWhatItCovered) {
  rig.pattern();
  auto before = rig.all();
  s.REDEFJAN(4, 30, 31, 63, 3, 3, 9, 40, 2);
  s.ABREJAN(4);
  s.ESCRJAN(4, "first");
  s.ABREJAN(4);  // saves again: must not save its own drawing
  s.FECHAJAN(4);
  EXPECT_EQ(rig.all(), before);
}

TEST_F(PanelTest, ClosingANeverOpenedPanelDoesNothing) {
  rig.pattern();
  auto before = rig.all();
  s.FECHAJAN(6);
  s.REDEFJAN(6, 30, 31, 63, 2, 2, 8, 30, 1);
  s.FECHAJAN(6);
  s.ABREJAN(6);
  s.FECHAJAN(6);
  s.FECHAJAN(6);  // a second close has nothing left to restore
  EXPECT_EQ(rig.all(), before);
}

TEST_F(PanelTest, TextWrapsAtTheUsableWidth) {
  // A type-0 panel 78 wide: 160 characters fill two rows and 4 of a third.
  s.REDEFJAN(1, 30, 31, 63, 2, 1, 10, 78, 0);
  s.ABREJAN(1);
  std::string text;
  for (int i = 0; i < 160; ++i) text += static_cast<char>('A' + i % 26);
  s.ESCRJAN(1, text);
  EXPECT_EQ(rig.row(2).substr(1, 78), text.substr(0, 78));
  EXPECT_EQ(rig.row(3).substr(1, 78), text.substr(78, 78));
  EXPECT_EQ(rig.row(4).substr(1, 4), text.substr(156, 4));
  EXPECT_EQ(rig.row(4).substr(5, 74), std::string(74, ' '));
  EXPECT_EQ(rig.row(2)[0], ' ');  // nothing left of the panel
  EXPECT_EQ(rig.row(2)[79], ' ');

  // The usable width of framed panels is right - left - 1.
  struct Case { int type; int first_row, first_col; };
  for (Case c : {Case{1, 12, 10}, Case{2, 13, 11}}) {
    s.REDEFJAN(2, 30, 31, 63, 12, 10, 20, 20, c.type);
    s.ABREJAN(2);
    s.ESCRJAN(2, "abcdefghijkl");
    EXPECT_EQ(rig.row(c.first_row).substr(c.first_col, 9), "abcdefghi") << c.type;
    EXPECT_EQ(rig.row(c.first_row + 1).substr(c.first_col, 3), "jkl") << c.type;
    s.FECHAJAN(2);
  }
}

TEST_F(PanelTest, RepeatCodeDrawsTheCharacterKTimes) {
  s.REDEFJAN(1, 30, 31, 63, 5, 1, 6, 78, 0);
  s.ABREJAN(1);
  s.ESCRJAN(1, Screen::REP(78) + "─"_cp + "|");
  EXPECT_EQ(rig.row(5).substr(0, 1), " ");
  EXPECT_EQ(rig.row(5).substr(1, 78), std::string(78, '\xC4'));
  EXPECT_EQ(rig.row(6).substr(1, 1), "|");  // the next character wraps
  EXPECT_EQ(s.panel(1).text, Screen::REP(78) + "─"_cp + "|");
}

TEST_F(PanelTest, ColourCodesSwitchColoursAndAreNotPrinted) {
  s.REDEFJAN(1, 0x1E, 0x1F, 0x3F, 5, 0, 6, 79, 0);
  s.ABREJAN(1);
  s.ESCRJAN(1, "a\x02" "b\x03" "c\x01" "d");
  EXPECT_EQ(rig.row(5).substr(0, 4), "abcd");
  EXPECT_EQ(rig.cell(5, 0).attr, 0x1E);
  EXPECT_EQ(rig.cell(5, 1).attr, 0x1F);
  EXPECT_EQ(rig.cell(5, 2).attr, 0x3F);
  EXPECT_EQ(rig.cell(5, 3).attr, 0x1E);
  EXPECT_EQ(s.panel(1).text, "abcd");
}

TEST_F(PanelTest, ShadowPanelShadesRowsAfterTheFirstAndTheRowBelow) {
  // Usable width 4 (right - left - 1), shade in the last two columns.
  s.REDEFJAN(5, 0x1E, 0x1F, 0x08, 3, 10, 5, 15, 7);
  EXPECT_EQ(s.panel(5).bottom, 7);  // two rows added
  s.ABREJAN(5);
  s.ESCRJAN(5, "abcdefghij");
  EXPECT_EQ(rig.row(3).substr(10, 6), "abcd  ");
  EXPECT_EQ(rig.row(4), std::string(10, ' ') + "efgh░░"_cp + std::string(64, ' '));
  EXPECT_EQ(rig.row(5).substr(10), "ij  ░░"_cp + std::string(64, ' '));
  EXPECT_EQ(rig.row(6).substr(10, 6), " ░░░░░"_cp.str());
  EXPECT_EQ(rig.cell(4, 14).attr, 0x08);
}

TEST_F(PanelTest, WrittenTextStaysInsideThePanel) {
  rig.pattern();
  auto before = rig.all();
  s.REDEFJAN(1, 30, 31, 63, 10, 10, 12, 20, 0);
  s.ABREJAN(1);
  s.ESCRJAN(1, std::string(500, 'z'));  // far more than 3 rows of 11
  auto after = rig.all();
  for (int r = 0; r < platform::kRows; ++r)
    for (int c = 0; c < platform::kCols; ++c) {
      bool inside = r >= 11 && r <= 13 && c >= 10 && c <= 20;
      auto i = static_cast<std::size_t>(r * platform::kCols + c);
      if (inside) EXPECT_EQ(after[i].ch, 'z');
      else EXPECT_EQ(after[i], before[i]) << r << "," << c;
    }
}

TEST_F(PanelTest, RecolourAndColumnWritesKeepTheOtherHalf) {
  s.REDEFJAN(2, 0x1E, 0x1F, 0x3F, 4, 5, 9, 40, 1);
  s.ABREJAN(2);
  s.ESCRJAN(2, "one two three");
  s.ESCRATR(2, 1, 5, 0x4F, 3);  // "two"
  EXPECT_EQ(rig.row(4).substr(9, 3), "two");
  for (int c = 9; c < 12; ++c) EXPECT_EQ(rig.cell(4, c).attr, 0x4F);
  EXPECT_EQ(rig.cell(4, 12).attr, 0x1E);
  s.ESCRLCOL(2, 1, 1, "ONE");
  EXPECT_EQ(rig.row(4).substr(5, 3), "ONE");
  EXPECT_EQ(rig.cell(4, 5).attr, 0x1E);
  s.REDFATR(2, 1, 0x70);
  EXPECT_EQ(s.panel(2).colour1, 0x70);
  s.REDFATR(0, 3, 0x11);  // panel 0 is panel 10
  EXPECT_EQ(s.panel(10).colour3, 0x11);
}

TEST_F(PanelTest, PanelZeroIsTheStatusLine) {
  s.ESCRJAN(0, "status");
  EXPECT_EQ(rig.row(24).substr(0, 6), "status");
  EXPECT_EQ(rig.cell(24, 0).attr, s.colours.COR_MENS);
}

TEST_F(PanelTest, MovesStopAtTheScreenEdges) {
  s.REDEFJAN(3, 30, 31, 63, 0, 0, 2, 9, 0);
  s.ABREJAN(3);
  s.ESCRJAN(3, "hello");
  s.MOVEVER(3, kMoveBack);  // already at row 0
  s.MOVEHOR(3, kMoveBack);  // already at column 0
  EXPECT_EQ(s.panel(3).top, 0);
  EXPECT_EQ(s.panel(3).left, 0);
  s.MOVEVER(3, 1);
  s.MOVEHOR(3, 1);
  EXPECT_EQ(s.panel(3).top, 1);
  EXPECT_EQ(s.panel(3).left, 1);
  EXPECT_EQ(rig.row(1).substr(1, 5), "hello");  // redrawn at its new place
  EXPECT_EQ(rig.row(0).substr(0, 5), "     ");  // the old place given back
  for (int i = 0; i < 100; ++i) s.MOVEHOR(3, 1);
  EXPECT_EQ(s.panel(3).right, 80);
  for (int i = 0; i < 100; ++i) s.MOVEVER(3, 1);
  EXPECT_EQ(s.panel(3).bottom, 25);
  s.FECHAJAN(3);
  EXPECT_EQ(rig.row(22).substr(60), std::string(20, ' '));
}

TEST_F(PanelTest, FillCoversTheProgramRowsOnly) {
  rig.pattern();
  auto menu_row = rig.phys(0);
  auto status_row = rig.phys(26);
  s.ENCHETELA('.', 0x17);
  for (int r = 0; r < 25; ++r) EXPECT_EQ(rig.row(r), std::string(80, '.'));
  EXPECT_EQ(rig.cell(24, 79).attr, 0x17);
  EXPECT_EQ(rig.phys(0), menu_row);
  EXPECT_EQ(rig.phys(26), status_row);
}

TEST_F(PanelTest, StartingPanelsCoverTheScreen) {
  for (int n = 1; n <= 10; ++n) {
    const Panel& p = s.panel(n);
    EXPECT_EQ(p.colour1, 48);
    EXPECT_EQ(p.colour2, 112);
    EXPECT_EQ(p.colour3, 7);
    EXPECT_EQ(p.type, 1);
    EXPECT_EQ(p.bottom, 24);
    EXPECT_EQ(p.right, 79);
  }
}

}  // namespace
}  // namespace tx::screen
