#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "screen/colour_table.hpp"

namespace tx::screen {
namespace {

namespace fs = std::filesystem;

struct Office {
  fs::path root;
  storage::RecordingHost host;
  Office() {
    root = fs::temp_directory_path() / ("tx_cores_" + std::to_string(::getpid()) + "_" +
                                        std::to_string(std::random_device{}()));
    fs::create_directories(root / "PROG");
  }
  ~Office() { fs::remove_all(root); }
  std::unique_ptr<storage::Tables> tables(const char* terminal) {
    auto t = std::make_unique<storage::Tables>(host);
    t->places.ARQDEF = (root / "PROG").string() + "\\";
    t->places.LOCARQ = t->places.LOCTRAB = t->places.ARQDEF;
    t->places.NUSU = terminal;
    return t;
  }
};

TEST(ColourTable, FirstStartAppendsDefaultsAndSavedSchemesComeBack) {
  Office office;
  {
    auto t = office.tables("07");
    TableColourStore store(*t);
    ColourScheme s;
    s.COR_TEL1 = 1;
    ASSERT_TRUE(CRIACOR(store, "07", s)) << (office.host.alerts.empty() ? "" : office.host.alerts.back());
    EXPECT_EQ(s.COR_TEL1, 30);
    s.COR_ESCOL = 0x4F;
    s.COR_FERID = 76;
    s.COR_GET = "N/W*";
    ASSERT_TRUE(GRAVACOR(store, "07", s));
    EXPECT_FALSE(t->area(kColourTable).used());  // closed after each use
  }
  auto t = office.tables("08");
  TableColourStore store(*t);
  ColourScheme other;
  ASSERT_TRUE(CRIACOR(store, "08", other));
  EXPECT_EQ(other.COR_ESCOL, 79);
  ColourScheme back;
  ASSERT_TRUE(CRIACOR(store, "07", back));
  EXPECT_EQ(back.COR_ESCOL, 0x4F);
  EXPECT_EQ(back.COR_FERID, 76);
  EXPECT_EQ(back.COR_GET, "N/W*");
  EXPECT_EQ(back.COR_SAY, "N/W+");
  EXPECT_EQ(colour_slot(back.CORNORM, 1), "N/W*");
  ASSERT_TRUE(t->ABERTURA(kColourTable));
  EXPECT_EQ(t->area(kColourTable).reccount(), 2u);  // one record per terminal, no duplicates
}

}  // namespace
}  // namespace tx::screen
