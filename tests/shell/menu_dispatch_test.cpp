// The main menu built from its data, every entry reaching its command, and
// the commands the dispatcher serves itself.
#include <set>

#include "shell/main_menu.hpp"
#include "shell/print_selection.hpp"
#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

using screen::MenuItem;

const MenuItem* child(const std::vector<std::unique_ptr<MenuItem>>& items, const std::string& label) {
  for (auto& i : items)
    if (i->label() == from_utf8(label)) return i.get();
  return nullptr;
}

class MainMenu : public StartupTest {
 protected:
  void SetUp() override {
    StartupTest::SetUp();
    con = std::make_unique<platform::HeadlessConsole>("");
    program = std::make_unique<Program>(*con, env);
    program->tables.places.ARQDEF = program->tables.places.LOCARQ = folder + "\\";
  }
  screen::Menu& menu() { return *program->screen.LWindowMain().oMenu; }
  std::unique_ptr<platform::HeadlessConsole> con;
  std::unique_ptr<Program> program;
};

TEST_F(MainMenu, NumberedFrom1001InBuildingOrder) {
  std::vector<std::pair<int, int>> ran;
  auto codes = build_main_menu(program->screen.LMENU(&program->screen.LWindowMain()), program->g,
                               [&](int c, int o) { ran.emplace_back(c, o); });
  auto& m = menu();
  ASSERT_EQ(m.aItem.size(), 7u);
  const char* titles[] = {"Declaração", "Opções", "Selecão", "Impressão", "Envia p/ Receita", "Backup", "Fim"};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(to_utf8(m.aItem[i]->label()), titles[i]);
  EXPECT_EQ(m.aItem[0]->nSequence, 1001);
  EXPECT_EQ(m.find(1002)->label(), from_utf8("Declaração (Alt I)"));
  EXPECT_EQ(codes.at(1002), (std::pair<int, int>{11, 0}));
  EXPECT_EQ(codes.begin()->first, 1001);
  EXPECT_EQ(codes.rbegin()->first, m.aItem[6]->nSequence);
  EXPECT_EQ(static_cast<int>(codes.size()), m.nCount - 1000);  // every number given once
  // Every entry runs exactly its command and option.
  std::set<int> seen;
  for (auto [n, co] : codes) {
    ran.clear();
    bool runs = m.event(n);
    if (co.first == 0) {
      EXPECT_FALSE(runs) << n;  // titles, submenus, headings
      EXPECT_TRUE(ran.empty()) << n;
    } else {
      EXPECT_TRUE(runs) << n;
      ASSERT_EQ(ran.size(), 1u) << n;
      EXPECT_EQ(ran[0], co) << n;
      seen.insert(co.first);
    }
  }
  std::set<int> want;
  for (int c : {11, 12, 13, 14, 15, 16, 17, 18, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
                41, 42, 43, 44, 45, 46, 47, 48, 51, 52, 53, 61, 62, 63, 64, 65, 66, 67, 68, 71, 72, 73, 74, 75,
                76, 77, 78, 91})
    want.insert(c);
  EXPECT_EQ(seen, want);
}

TEST_F(MainMenu, EveryCodeReachesItsTableEntry) {
  std::vector<std::pair<int, int>> handled;
  for (int c = 10; c < 100; ++c)
    program->set_command(c, [c, &handled](Program&, int o) { handled.emplace_back(c, o); });
  program->build_menu();
  auto codes = build_main_menu(program->screen.LMENU(&program->screen.LWindowMain()), program->g,
                               [&](int c, int o) { program->MENUSELECT(c, o); });
  for (auto [n, co] : codes) {
    if (co.first == 0) continue;
    handled.clear();
    ASSERT_TRUE(menu().event(n)) << n;
    ASSERT_EQ(handled.size(), 1u) << n;
    EXPECT_EQ(handled[0], co) << n;
    EXPECT_EQ(program->g.OPCAO_1, co.first);
    EXPECT_EQ(program->g.last_command, co.first);
  }
}

TEST_F(MainMenu, TextsFollowTheSettingsWhenBuilt) {
  program->g.TEMP_SAL = 5;
  program->g.XDRIVE = "E";
  program->g.QUERSEN = true;
  program->g.NOMEIMP = "NAO DOS";
  apply_selection(program->g);
  program->build_menu();
  auto& m = menu();
  const auto& opc = m.aItem[1]->items;
  ASSERT_TRUE(child(opc, "Senha"));
  EXPECT_EQ(child(opc, "Senha")->items[0]->label(), "Retira a senha na entrada");
  ASSERT_TRUE(child(opc, "Gravar os dados"));
  EXPECT_EQ(child(opc, "Gravar os dados")->items[0]->label(), from_utf8("Automático a cada  5 minutos"));
  const auto& sel = m.aItem[2]->items;
  ASSERT_TRUE(child(sel, "5 - Qual Impressora"));
  EXPECT_EQ(child(sel, "5 - Qual Impressora")->items.size(), 1u);
  EXPECT_TRUE(child(sel, "7- Nro de Vias 1"));
  EXPECT_TRUE(child(m.aItem[5]->items, "Compacta todos no E:"));
  program->g.NOMEIMP = "EPSON";
  program->g.QUERSEN = false;
  program->build_menu();
  EXPECT_EQ(child(menu().aItem[2]->items, "5 - Qual Impressora")->items.size(), 2u);
  EXPECT_EQ(child(menu().aItem[1]->items, "Senha")->items[0]->label(), "Coloca a senha na entrada");
  // Headings are shown but never run.
  const MenuItem* sheet = child(menu().aItem[2]->items, "2 - Tipo de Folha");
  ASSERT_TRUE(sheet);
  EXPECT_FALSE(sheet->items[0]->lEnable);
}

TEST_F(MainMenu, CommandWithoutItsPartSaysSoHonestly) {
  for (int c : {11, 51, 71}) {
    SCOPED_TRACE(c);
    platform::HeadlessConsole box("");
    Program p(box, env);
    p.MENUSELECT(c);
    EXPECT_NE(box.exhausted_message().find("Função ainda não disponível nesta versão"), std::string::npos)
        << box.exhausted_message();
  }
}

TEST(PrintSelection, LimitsOfEachKind) {
  struct Step { int command, option; int queimp, quemod, quepag; };
  struct Case { const char* name; std::vector<Step> steps; };
  const Case cases[] = {
      {"darf sheet 3 kept, register cuts to 2", {{41, 5, 5, 1, 1}, {42, 3, 5, 3, 1}, {41, 12, 12, 2, 1}}},
      {"rural pages cut to 3", {{41, 3, 3, 1, 1}, {43, 11, 3, 1, 3}}},
      {"declaration pages up to 11", {{41, 1, 1, 1, 1}, {43, 11, 1, 1, 11}, {41, 3, 3, 1, 3}}},
      {"CD labels 4 sheets, 1 page", {{41, 14, 14, 1, 1}, {42, 4, 14, 4, 1}, {43, 2, 14, 4, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Globals g;
    apply_selection(g);
    for (const auto& s : c.steps) {
      EXPECT_TRUE(choose_selection(g, s.command, s.option));
      EXPECT_EQ(g.QUEIMP, s.queimp);
      EXPECT_EQ(g.QUEMOD, s.quemod);
      EXPECT_EQ(g.QUEPAG, s.quepag);
    }
  }
  Globals g;
  EXPECT_FALSE(choose_selection(g, 41, 16));
  EXPECT_FALSE(choose_selection(g, 44, 0));
  choose_selection(g, 41, 5);
  choose_selection(g, 42, 2);
  choose_selection(g, 44, 4);
  EXPECT_EQ(g.ITEM1, "1-Darfes             ");
  EXPECT_EQ(g.ITEM2, from_utf8("2-Formulário Contínuo"));
  EXPECT_EQ(g.ITEM3, from_utf8("3-Folha única"));
  EXPECT_EQ(g.ITEM4, "4-todas Pastas");
  EXPECT_EQ(g.ITEM7, "7- Nro de Vias 1");
}

TEST_F(StartupTest, SelectionReachesTheRecordAtOnce) {
  no_update_check();
  // Selecão > 1 > Darfes; Selecão > 2 > third Darf sheet (hot letters are not
  // unique there, so arrows); then the script runs out.
  auto r = run(answer("{Alt-S}") + "1" + "{Down*4}{Enter}");
  EXPECT_EQ(r.g.QUEIMP, 5) << r.where;
  EXPECT_EQ(config_text("00", "queimp"), "5");
}

TEST_F(MainMenu, NoInTheEndOptionKeepsSendingByStatus) {
  program->g.OPTTRAN = 2;
  program->MENUSELECT(65, 2);
  EXPECT_EQ(program->g.OPTTRAN, 2);
  EXPECT_NE(con->exhausted_message().find("A partir de agora somente as declarações com o Status"),
            std::string::npos)
      << con->exhausted_message();
}

TEST_F(MainMenu, TransferOptionsSetTheMode) {
  struct Case { int from, command, option, want; };
  const Case cases[] = {{0, 65, 1, 1}, {1, 64, 2, 0}, {1, 65, 2, 0}, {2, 64, 2, 0}};
  for (const auto& c : cases) {
    platform::HeadlessConsole box("{Tick*2}{Enter}");
    Program p(box, env);
    p.g.OPTTRAN = c.from;
    p.MENUSELECT(c.command, c.option);
    EXPECT_EQ(p.g.OPTTRAN, c.want) << c.command << "," << c.option;
  }
}

}  // namespace
}  // namespace tx::shell::testing

namespace tx::shell::testing {
namespace {

// Only a backup that ran moves the reminder: without the backup part the
// command changes nothing; with it, a "compress all" that did not complete
// does not count.
TEST_F(StartupTest, BackupCommandsMoveTheReminderOnlyWhenTheyRan) {
  no_update_check();
  const Date d = Date::ymd(2014, 4, 10);
  auto r = run(answer("{Alt-B}") + "{Enter}" + answer("{Enter}") + answer("{Esc}") + answer("S"), d);
  ASSERT_EQ(r.status, 0) << r.where;
  EXPECT_EQ(config_date("00", "ULTBACK"), d);
  struct Case { int command; bool completes; Date want; };
  const Case cases[] = {{73, false, d}, {73, true, d + 4}, {71, false, d + 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    config("00", d, [&](storage::WorkArea& wa) { wa.replace_date("ULTBACK", d); });
    auto prepare = [&](Program& p) {
      p.set_command(c.command, [&](Program& q, int) {
        q.g.XDRIVE = "F";
        q.completed = c.completes;
      });
    };
    std::string keys = c.command == 73 ? "{Down}{Enter}" : "{Enter}";
    r = run(answer("{Alt-B}") + keys + answer("{Esc}") + answer("S"), d, prepare);
    ASSERT_EQ(r.status, 0) << r.where;
    EXPECT_EQ(config_date("00", "ULTBACK"), c.want);
  }
}

}  // namespace
}  // namespace tx::shell::testing
