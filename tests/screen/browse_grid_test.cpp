// The browse grid over an in-memory source: layout, movement, the row
// cache, frozen columns and panning, colour rectangles and hit-testing.
#include <gtest/gtest.h>

#include "base/codepage.hpp"
#include "screen/browse.hpp"
#include "screen_rig.hpp"

using namespace tx;
using namespace tx::screen;
using tx::screen::test::Rig;

namespace {

// Rows of text cells; the source stands on `cur` (0-based).
struct MemorySource {
  std::vector<std::vector<std::string>> rows;
  int cur = 0;
  int reads = 0;
  void attach(TBrowse& b) {
    b.GoTopBlock = [this] { cur = 0; };
    b.GoBottomBlock = [this] { cur = std::max(0, static_cast<int>(rows.size()) - 1); };
    b.SkipBlock = [this](long n) {
      long to = std::clamp<long>(cur + n, 0, std::max<long>(0, static_cast<long>(rows.size()) - 1));
      long done = to - cur;
      cur = static_cast<int>(to);
      return done;
    };
    b.EmptyBlock = [this] { return rows.empty(); };
  }
  TBColumn column(std::string heading, int i, int width = 0) {
    TBColumn c = TBColumnNew(std::move(heading), [this, i]() -> GetValue {
      ++reads;
      return rows[static_cast<std::size_t>(cur)][static_cast<std::size_t>(i)];
    });
    c.Width = width;
    return c;
  }
};

MemorySource numbered(int n, int cols = 2) {
  MemorySource s;
  for (int r = 1; r <= n; ++r) {
    std::vector<std::string> row;
    for (int c = 1; c <= cols; ++c) row.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
    s.rows.push_back(row);
  }
  return s;
}

// A grid at rows 2-7, columns 0-39: one heading row, a separator row, four
// data rows.
struct GridFixture : ::testing::Test {
  Rig rig;
  MemorySource src = numbered(10);
  TBrowse b{*rig.con, 2, 0, 7, 39};
  void SetUp() override {
    src.attach(b);
    b.HeadSep = "─┼─"_cp.str();
    b.ColSep = " │ "_cp.str();
    b.AddColumn(src.column("Um", 0));
    b.AddColumn(src.column("Dois", 1));
    b.ForceStable();
  }
  std::string row(int r) { return rig.row(r).substr(0, 40); }
  std::string current() { return src.rows[static_cast<std::size_t>(src.cur)][0]; }
};

}  // namespace

TEST_F(GridFixture, DrawsHeadingsSeparatorsAndRows) {
  EXPECT_EQ(b.RowCount(), 4);
  EXPECT_EQ(row(2).substr(0, 12), "Um   │ Dois "_cp.str());
  EXPECT_EQ(row(3).substr(0, 12), "─────┼──────"_cp.str());
  EXPECT_EQ(row(4).substr(0, 12), "r1c1 │ r1c2 "_cp.str());
  EXPECT_EQ(row(7).substr(0, 12), "r4c1 │ r4c2 "_cp.str());
  // The highlighted cell is in colour 2 (N/W), the others in colour 1.
  EXPECT_EQ(rig.cell(4, 0).attr, ACHACOR("N/W"));
  EXPECT_EQ(rig.cell(4, 7).attr, ACHACOR("W/N"));
}

TEST_F(GridFixture, MovesKeepTheSourceUnderTheHighlight) {
  struct Step { void (TBrowse::*move)(); int row_pos; std::string current; bool hit_top, hit_bottom; std::string top_row; };
  const Step steps[] = {
      {&TBrowse::Up, 1, "r1c1", true, false, "r1c1"},
      {&TBrowse::Down, 2, "r2c1", false, false, "r1c1"},
      {&TBrowse::PageDown, 2, "r6c1", false, false, "r5c1"},
      {&TBrowse::Down, 3, "r7c1", false, false, "r5c1"},
      {&TBrowse::Down, 4, "r8c1", false, false, "r5c1"},
      {&TBrowse::Down, 4, "r9c1", false, false, "r6c1"},   // scrolls
      {&TBrowse::GoBottom, 4, "r10c1", false, false, "r7c1"},
      {&TBrowse::Down, 4, "r10c1", false, true, "r7c1"},
      {&TBrowse::PageDown, 4, "r10c1", false, true, "r7c1"},
      {&TBrowse::PageUp, 4, "r6c1", false, false, "r3c1"},
      {&TBrowse::PageUp, 2, "r2c1", false, false, "r1c1"},  // no rows above r1
      {&TBrowse::GoTop, 1, "r1c1", false, false, "r1c1"},
  };
  int i = 0;
  for (const auto& s : steps) {
    (b.*s.move)();
    b.ForceStable();
    EXPECT_EQ(b.RowPos(), s.row_pos) << "step " << i;
    EXPECT_EQ(current(), s.current) << "step " << i;
    EXPECT_EQ(b.HitTop(), s.hit_top) << "step " << i;
    EXPECT_EQ(b.HitBottom(), s.hit_bottom) << "step " << i;
    EXPECT_EQ(row(4).substr(0, 4), s.top_row.substr(0, 4)) << "step " << i;
    ++i;
  }
}

TEST_F(GridFixture, MovingWithinTheRowsOnScreenReadsNoCells) {
  src.reads = 0;
  b.Down();
  b.Down();
  b.ForceStable();
  b.Up();
  b.ForceStable();
  EXPECT_EQ(src.reads, 0);
  EXPECT_EQ(current(), "r2c1");
  // Changed data shows only after a refresh.
  src.rows[1][0] = "NEW1";
  b.ForceStable();
  EXPECT_EQ(row(5).substr(0, 4), "r2c1");
  b.RefreshCurrent();
  b.ForceStable();
  EXPECT_EQ(row(5).substr(0, 4), "NEW1");
  EXPECT_EQ(src.reads, 2);  // one row, two columns
  b.RefreshAll();
  b.ForceStable();
  EXPECT_EQ(src.reads, 2 + 8);
  EXPECT_EQ(src.cur, 1);
}

TEST_F(GridFixture, HighlightMovesWithTheColumn) {
  b.Right();
  b.ForceStable();
  EXPECT_EQ(b.ColPos(), 2);
  EXPECT_EQ(rig.cell(4, 0).attr, ACHACOR("W/N"));
  EXPECT_EQ(rig.cell(4, 7).attr, ACHACOR("N/W"));
  b.Right();  // no column beyond
  EXPECT_EQ(b.ColPos(), 2);
}

TEST_F(GridFixture, ColorRectRecoloursUntilTheRowsAreReadAgain) {
  b.ColorRect({2, 1, 3, 2}, {3, 3});
  b.ColorSpec = "W/N,N/W,R/W";
  b.Invalidate();
  b.ForceStable();
  EXPECT_EQ(rig.cell(5, 0).attr, ACHACOR("R/W"));
  EXPECT_EQ(rig.cell(6, 7).attr, ACHACOR("R/W"));
  EXPECT_EQ(rig.cell(7, 0).attr, ACHACOR("W/N"));
  b.RefreshAll();
  b.ForceStable();
  EXPECT_EQ(rig.cell(5, 0).attr, ACHACOR("W/N"));
}

TEST_F(GridFixture, HitTestNamesAreaRowAndColumn) {
  struct Case { int row, col; BrowseHit::Area area; int data_row, column; };
  const Case cases[] = {
      {2, 0, BrowseHit::Heading, 0, 1},  {3, 8, BrowseHit::HeadSep, 0, 2}, {4, 0, BrowseHit::Data, 1, 1},
      {7, 8, BrowseHit::Data, 4, 2},     {5, 5, BrowseHit::Data, 2, 0},    {8, 0, BrowseHit::Outside, 0, 0},
      {4, 40, BrowseHit::Outside, 0, 0},
  };
  for (const auto& c : cases) {
    BrowseHit h = b.hit_test(c.row, c.col);
    EXPECT_EQ(h.area, c.area) << c.row << "," << c.col;
    EXPECT_EQ(h.row, c.data_row) << c.row << "," << c.col;
    EXPECT_EQ(h.column, c.column) << c.row << "," << c.col;
  }
}

TEST(BrowseEmpty, ShowsHeadingsOnlyAndDownHitsBottom) {
  Rig rig;
  MemorySource src;
  TBrowse b(*rig.con, 0, 0, 4, 19);
  src.attach(b);
  b.AddColumn(src.column("Nome", 0, 6));
  b.ForceStable();
  EXPECT_EQ(rig.row(0).substr(0, 6), "Nome  ");
  EXPECT_EQ(rig.row(1).substr(0, 20), std::string(20, ' '));
  b.Down();
  EXPECT_TRUE(b.HitBottom());
  b.Up();
  EXPECT_TRUE(b.HitTop());
  EXPECT_EQ(src.reads, 0);
}

TEST(BrowseFooting, FootingsSitUnderTheirSeparator) {
  Rig rig;
  MemorySource src = numbered(3);
  TBrowse b(*rig.con, 0, 0, 6, 19);
  src.attach(b);
  b.FootSep = "-";
  TBColumn c = src.column("A", 0, 5);
  c.Footing = "tot;al";
  b.AddColumn(c);
  b.ForceStable();
  EXPECT_EQ(b.RowCount(), 3);  // 7 rows: heading, 3 data, separator, 2 footing lines
  EXPECT_EQ(rig.row(4).substr(0, 5), "-----");
  EXPECT_EQ(rig.row(5).substr(0, 5), "tot  ");
  EXPECT_EQ(rig.row(6).substr(0, 5), "al   ");
}

// Ten columns of width 6 in a 30-wide grid: four fit (6 + 1 separator).
struct PanFixture : ::testing::Test {
  Rig rig;
  MemorySource src = numbered(3, 10);
  TBrowse b{*rig.con, 0, 0, 4, 29};
  void SetUp() override {
    src.attach(b);
    for (int i = 0; i < 10; ++i) b.AddColumn(src.column("H" + std::to_string(i + 1), i, 6));
  }
  std::string heads() { return rig.row(0).substr(0, 30); }
};

TEST_F(PanFixture, FrozenColumnStaysWhileTheOthersPan) {
  b.SetFreeze(1);
  b.ForceStable();
  EXPECT_EQ(b.LeftVisible(), 2);
  EXPECT_EQ(b.RightVisible(), 4);
  for (int i = 0; i < 3; ++i) b.PanRight();
  b.ForceStable();
  EXPECT_EQ(b.LeftVisible(), 5);
  EXPECT_EQ(b.RightVisible(), 7);
  EXPECT_EQ(heads().substr(0, 6), "H1    ");
  EXPECT_EQ(heads().substr(7, 6), "H5    ");
  EXPECT_EQ(b.column_place(1).first, 0);
  EXPECT_EQ(b.column_place(2).second, 0);  // panned out
  b.PanEnd();
  b.ForceStable();
  EXPECT_EQ(b.ColPos(), 10);
  EXPECT_EQ(b.RightVisible(), 10);
  EXPECT_EQ(heads().substr(0, 6), "H1    ");
  b.PanHome();
  b.ForceStable();
  EXPECT_EQ(b.ColPos(), 1);
  EXPECT_EQ(b.LeftVisible(), 2);
  // Freeze back to 0: every column pans.
  b.SetFreeze(0);
  b.PanRight();
  b.ForceStable();
  EXPECT_EQ(b.LeftVisible(), 2);
  EXPECT_EQ(heads().substr(0, 6), "H2    ");
}

TEST_F(PanFixture, MovingRightPansTheCursorColumnIntoView) {
  b.SetFreeze(1);
  b.ForceStable();
  for (int i = 0; i < 5; ++i) b.Right();
  b.ForceStable();
  EXPECT_EQ(b.ColPos(), 6);
  EXPECT_EQ(b.RightVisible(), 6);
  EXPECT_EQ(b.LeftVisible(), 4);
  auto [x, w] = b.column_place(6);
  EXPECT_EQ(rig.cell(1, x).attr, ACHACOR("N/W"));
  b.Home();
  EXPECT_EQ(b.ColPos(), 1);
  b.End();
  EXPECT_EQ(b.ColPos(), 6);
  for (int i = 0; i < 5; ++i) b.Left();
  EXPECT_EQ(b.ColPos(), 1);
  EXPECT_EQ(b.LeftVisible(), 2);
}
