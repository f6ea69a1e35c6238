// The two office lists built as descriptors: the terminal's folder list
// (table 50) and the payees register (AUXPAG), on their real layouts.
#include "items_fixture.hpp"

#include "base/codepage.hpp"
#include "items/list_folders.hpp"
#include "items/list_payees.hpp"
#include "platform/keys.hpp"
#include "storage/layout.hpp"

using namespace tx;
using namespace tx::items;
using namespace tx::items::test;

namespace {

using Rows = std::vector<std::string>;

struct FolderListTest : ItemsFixture {
  storage::WorkArea& wa = open(kFolderTable, *storage::table_layout(kFolderTable));
  FolderListTest() {
    add_folder_checks(ed.registry);
    for (auto [sel, dir] : {std::pair{"S", "C:\\TX2014"}, {"N", "C:\\DADOS"}}) {
      wa.append_blank();
      wa.replace_text("SELEC", sel);
      wa.replace_text("DIRETOR", dir);
    }
    wa.commit();
  }
};

}  // namespace

TEST_F(FolderListTest, ShowsItsWindowAndColumns) {
  std::string heading, caption;
  screen.on_wait = [&] {
    heading = row(2).substr(16, 20);
    caption = row(1);
  };
  run(folder_list(), "{Esc}");
  EXPECT_EQ(heading, "Sel│Drive e Pasta   "_cp.str());
  EXPECT_NE(caption.find("Pastas"), std::string::npos);
}

TEST_F(FolderListTest, FoldersAreKeptInUpperCaseWithoutTrailingBackslash) {
  struct Case { const char* script; Rows dirs; };
  const Case cases[] = {
      {"{Right}{Enter}{Ctrl-Y}c:\\novo\\pasta\\{Enter}{Esc}", {"C:\\NOVO\\PASTA", "C:\\DADOS"}},
      {"{Down*2}{Right}d:\\x{Enter}{Esc}", {"C:\\TX2014", "C:\\DADOS", "D:\\X"}},
      {"{Down}{Right}{Enter}{Ctrl-Y}/{Enter}{Esc}", {"C:\\TX2014", "/"}},
  };
  for (const auto& c : cases) {
    wa.zap();
    for (auto dir : {"C:\\TX2014", "C:\\DADOS"}) {
      wa.append_blank();
      wa.replace_text("DIRETOR", dir);
    }
    wa.commit();
    run(folder_list(), c.script);
    EXPECT_EQ(column(wa, "DIRETOR"), c.dirs) << c.script;
  }
}

TEST_F(FolderListTest, SelTakesOnlySOrN) {
  run(folder_list(), "{Down}{Enter}x{Home}s{Esc}");
  EXPECT_EQ(column(wa, "SELEC"), (Rows{"S", "S"}));
}

TEST_F(FolderListTest, FunctionKeysAreIgnored) {
  run(folder_list(), "{F1}{F2}{F3}{F4}{F10}{F11}{Esc}");
  EXPECT_EQ(ed.ULTTECLA, key::kEsc);
}

TEST(PayeesList, ShowsItsColumnsAndHintAndStoresEdits) {
  struct Rig : ItemsFixture {
    void TestBody() override {}
  } rig;
  storage::WorkArea& wa = rig.open(kPayeesTable, *storage::table_layout(kPayeesTable));
  std::string heading, hint;
  rig.screen.on_wait = [&] {
    heading = rig.row(3).substr(2, 12);
    hint = rig.row(24);
  };
  rig.run(payees_list(), "Maria{Enter}{Right}42{Esc}");
  EXPECT_EQ(heading, "Descrição   "_cp.str());
  EXPECT_NE(hint.find("Anote dados repetitivos - Crtl Enter - Transfere os dados"), std::string::npos);
  EXPECT_EQ(rig.row(24), std::string(80, ' '));  // the message line comes back
  EXPECT_EQ(ItemsFixture::column(wa, "NOME"), (Rows{"Maria"}));
  EXPECT_EQ(ItemsFixture::column(wa, "CODIGO"), (Rows{"42"}));
}
