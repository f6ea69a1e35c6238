// The browse grid over a real table: the table skip contract (SKIPPED)
// and the blank row after the last record.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "screen/browse_db.hpp"
#include "screen_rig.hpp"

using namespace tx;
using namespace tx::screen;
using namespace tx::storage;
namespace fs = std::filesystem;
using tx::screen::test::Rig;

namespace {

struct TableFixture : ::testing::Test {
  fs::path dir = fs::temp_directory_path() /
                 ("tx_browse_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()));
  WorkArea wa{9};
  bool appending = false;
  void SetUp() override {
    fs::create_directories(dir);
    ASSERT_TRUE(DbfTable::create((dir / "T.DBF").string(), {{"NOME", 'C', 8, 0}, {"VALOR", 'N', 8, 2}}));
    ASSERT_TRUE(wa.open((dir / "T.DBF").string(), DbfTable::Mode::Exclusive, "T"));
  }
  void TearDown() override {
    wa.close();
    fs::remove_all(dir);
  }
  void add(std::initializer_list<const char*> names) {
    for (auto n : names) {
      ASSERT_TRUE(wa.append_blank());
      ASSERT_TRUE(wa.replace_text("NOME", n));
    }
    wa.go_top();
  }
  std::string here() { return wa.eof() ? "<eof>" : wa.trimmed("NOME"); }
};

}  // namespace

TEST_F(TableFixture, SkipFollowsTheContract) {
  TableSkip skip(wa, [this] { return appending; });
  EXPECT_EQ(skip.SKIPPED(1), 0);   // empty table
  EXPECT_EQ(skip.SKIPPED(-1), 0);
  add({"A", "B", "C", "D"});
  // D is deleted and hidden: the table shows A B C.
  wa.go(4);
  ASSERT_TRUE(wa.delete_record());
  wa.go_top();
  struct Step { bool appending; long n; long skipped; const char* at; };
  const Step steps[] = {
      {false, 0, 0, "A"},  {false, 1, 1, "B"},  {false, 5, 1, "C"},     {false, 1, 0, "C"},
      {true, 1, 1, "<eof>"}, {true, 1, 0, "<eof>"}, {true, -1, -1, "C"}, {true, 3, 1, "<eof>"},
      {false, -5, -3, "A"}, {false, -1, 0, "A"},
  };
  int i = 0;
  for (const auto& s : steps) {
    appending = s.appending;
    EXPECT_EQ(skip.SKIPPED(s.n), s.skipped) << "step " << i;
    EXPECT_EQ(here(), s.at) << "step " << i;
    ++i;
  }
}

TEST_F(TableFixture, GridReachesTheBlankRowOnlyWhenAppending) {
  add({"A", "B"});
  Rig rig;
  TBrowse b = TBrowseDB(*rig.con, 0, 0, 5, 19, wa, [this] { return appending; });
  b.AddColumn(field_column(wa, "Nome", "NOME"));
  b.AddColumn(field_column(wa, "Valor", "VALOR", "@E 9,999.99"));
  b.ForceStable();
  EXPECT_EQ(rig.row(1).substr(0, 17), "A       " + std::string(" ") + "    0,00");
  b.Down();
  b.Down();
  EXPECT_TRUE(b.HitBottom());
  EXPECT_EQ(here(), "B");
  appending = true;
  b.Down();
  b.ForceStable();
  EXPECT_FALSE(b.HitBottom());
  EXPECT_EQ(b.RowPos(), 3);
  EXPECT_TRUE(wa.eof());
  EXPECT_EQ(rig.row(3).substr(0, 17), std::string(9, ' ') + "    0,00");  // the blank record
  b.Down();
  EXPECT_TRUE(b.HitBottom());
  b.Up();
  b.ForceStable();
  EXPECT_EQ(here(), "B");
}

TEST_F(TableFixture, EmptyTableShowsTheHeadingsOnly) {
  Rig rig;
  TBrowse b = TBrowseDB(*rig.con, 0, 0, 3, 19, wa);
  b.AddColumn(field_column(wa, "Nome", "NOME"));
  b.ForceStable();
  EXPECT_EQ(rig.row(0).substr(0, 8), "Nome    ");
  EXPECT_EQ(rig.row(1).substr(0, 8), std::string(8, ' '));
  b.Down();
  EXPECT_TRUE(b.HitBottom());
}
