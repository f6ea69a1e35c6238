// The form checks run as named checks of the item editor, on a real list.
#include "entry/validators_items.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <unistd.h>

#include "base/codepage.hpp"
#include "items/item_editor.hpp"
#include "platform/console_headless.hpp"
#include "screen/screen.hpp"
#include "storage/workarea.hpp"

namespace tx::entry {
namespace {

namespace fs = std::filesystem;

struct ItemChecksTest : ::testing::Test {
  fs::path dir = fs::temp_directory_path() /
                 ("tx_valitems_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()));
  std::unique_ptr<platform::HeadlessConsole> con = platform::make_headless_console("");
  screen::Screen screen{*con};
  std::unique_ptr<storage::WorkArea> wa;
  items::ItemEditor ed{screen, [this](int n) -> storage::WorkArea* { return n == 7 ? wa.get() : nullptr; }};
  std::vector<std::vector<std::string>> boxes;
  items::ListDescriptor list;

  ItemChecksTest() {
    fs::create_directories(dir);
    ed.work_folder = dir.string();
    std::string path = (dir / "T7.DBF").string();
    EXPECT_TRUE(storage::DbfTable::create(path, {{"RETIFICA", 'C', 1, 0},
                                                 {"NRORECIBO", 'C', 12, 0},
                                                 {"RECIBOATU", 'C', 12, 0},
                                                 {"DATASAIDA", 'D', 8, 0}}));
    wa = std::make_unique<storage::WorkArea>(7);
    EXPECT_TRUE(wa->open(path, storage::DbfTable::Mode::Exclusive, "T7"));
    EXPECT_TRUE(wa->append_blank());
    wa->replace_text("RECIBOATU", "123456789091");
    wa->commit();
    list.code = 7;
    list.name = "receipts";
    list.area = 7;
    list.window = {1, 0, 10, 79};
    list.columns = {
        {.heading = "Ret", .field = "RETIFICA", .picture = "!", .valid = "VE_RETIF"},
        {.heading = "Recibo", .field = "NRORECIBO", .picture = "@S12", .valid = "VENROREC"},
    };
    ItemCheckSetup setup;
    setup.show = [this](const std::vector<std::string>& m) { boxes.push_back(m); };
    install_item_checks(ed.registry, setup);
  }
  ~ItemChecksTest() override {
    wa->close();
    fs::remove_all(dir);
  }

  void run(const std::string& script) {
    ASSERT_TRUE(con->append_script(script)) << con->script_error();
    ed.EDITA(list);
    EXPECT_FALSE(con->script_exhausted()) << con->exhausted_message();
  }
  std::string field(const char* f) {
    wa->go_top();
    return wa->trimmed(f);
  }
};

TEST_F(ItemChecksTest, EveryCheckIsInstalled) {
  for (const std::string& n : validators().names()) EXPECT_NE(ed.registry.check(n), nullptr) << n;
  EXPECT_EQ(ed.registry.check("BUSCA_CONJU"), nullptr);
  EXPECT_FALSE(static_cast<bool>(item_check("SOMA_CONJ", {})));
}

TEST_F(ItemChecksTest, ARefusalShowsItsBoxAndAnAcceptanceStoresTheSideEffects) {
  run("X{Home}S{Esc}");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], (std::vector<std::string>{"Digite S de sim ou N de não"_cp}));
  EXPECT_EQ(field("RETIFICA"), "S");
  EXPECT_EQ(field("NRORECIBO"), "123456789091");
  EXPECT_EQ(field("RECIBOATU"), "");
}

TEST_F(ItemChecksTest, TheCellTakesTheValueTheCheckGives) {
  run("{Right}1234567890{Enter}{Esc}");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(field("NRORECIBO"), "123456789091");
}

}  // namespace
}  // namespace tx::entry
