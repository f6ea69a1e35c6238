#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "platform/paths.hpp"
#include "screen/help_table.hpp"
#include "storage/dbf_table.hpp"
#include "screen_rig.hpp"

namespace tx::screen {
namespace {

namespace fs = std::filesystem;

struct HelpOffice {
  fs::path root;
  storage::RecordingHost host;
  std::unique_ptr<storage::Tables> t;
  HelpOffice() {
    root = fs::temp_directory_path() / ("tx_help_" + std::to_string(::getpid()) + "_" +
                                        std::to_string(std::random_device{}()));
    fs::create_directories(root / "PROG");
    t = std::make_unique<storage::Tables>(host);
    t->places.ARQDEF = (root / "PROG").string() + "\\";
    t->places.LOCARQ = t->places.LOCTRAB = t->places.ARQDEF;
    t->places.NUSU = "01";
  }
  ~HelpOffice() {
    t.reset();
    fs::remove_all(root);
  }
};

TEST(HelpTable, MissingTableShowsNothing) {
  HelpOffice office;
  TableHelpSource source(*office.t);
  EXPECT_FALSE(source.available());
  EXPECT_FALSE(source.find("GERAL"));
}

TEST(HelpTable, TextsAreFoundByNameAndShown) {
  HelpOffice office;
  storage::Tables& t = *office.t;
  // The help table is delivered with the program: made here as it comes.
  ASSERT_TRUE(storage::DbfTable::create(platform::create_path(t.table_path(kHelpTable) + ".DBF"),
                                        {{"NOME", 'C', 10, 0}, {"TEXTO", 'M', 10, 0}}));
  ASSERT_TRUE(t.ABERTURA(kHelpTable, true));
  storage::WorkArea& wa = t.area(kHelpTable);
  ASSERT_TRUE(wa.append_blank());
  ASSERT_TRUE(wa.replace_text("NOME", "GERAL"));
  ASSERT_TRUE(wa.replace_memo("TEXTO", "Ajuda geral do programa"));
  ASSERT_TRUE(wa.close());
  t.SELECT(3);

  TableHelpSource source(t);
  ASSERT_TRUE(source.available());
  EXPECT_EQ(source.find("geral"), std::optional<std::string>("Ajuda geral do programa"));
  EXPECT_FALSE(source.find("TELA01"));
  EXPECT_EQ(t.selected(), 3);  // the area selected before
  EXPECT_FALSE(t.area(kHelpTable).used());

  test::Rig rig("{Esc}");
  rig.screen.help_source = &source;
  std::string shown;
  rig.screen.on_wait = [&] { shown = rig.row(2).substr(1, 23); };
  rig.screen.MOSTRA_HELP(1);
  EXPECT_EQ(shown, "Ajuda geral do programa");
}

}  // namespace
}  // namespace tx::screen
