#include <gtest/gtest.h>

#include "platform/keys.hpp"
#include "screen/screen_storage_host.hpp"
#include "screen_rig.hpp"

namespace tx::screen {
namespace {

using test::Rig;

std::vector<int> freqs(const platform::HeadlessConsole& c) {
  std::vector<int> f;
  for (auto& t : c.tones()) f.push_back(t.freq);
  return f;
}

TEST(Mens, WaitingNoticesRestoreTheScreen) {
  struct Case { int code; const char* script; std::string answer; bool beeps; };
  const Case cases[] = {
      {1, "{Tick}x", "", true},
      {5, "{Tick}x", "", false},
      {71, "{Tick}{F5}", "", true},   // shadowed notice
      {19, "{Tick}{Enter}", "", false},
      {2, "{Tick}xyn", "N", false},   // only an allowed letter answers
  };
  for (const auto& c : cases) {
    Rig rig(c.script);
    rig.pattern();
    auto before = rig.all();
    MensOptions opt;
    opt.allowed = "SN";
    opt.item = 3;
    EXPECT_EQ(rig.screen.MENS(c.code, "Aguarde um momento", opt), c.answer) << c.code;
    EXPECT_EQ(rig.all(), before) << c.code;
    EXPECT_EQ(rig.con->events_left(), 0u) << c.code;
    std::vector<int> beep = {300, 499, 300, 499};
    EXPECT_EQ(freqs(*rig.con), c.beeps ? beep : std::vector<int>{}) << c.code;
  }
}

TEST(Mens, NoticePlacement) {
  struct Case { std::string column; int code; int left; int right; };
  // "Aguarde" is 7 wide: frame of 11 (box, blanks); the shadowed one 12 + 2.
  const Case cases[] = {
      {"", 3, 60, 70},   // ends at column 70
      {"E", 3, 2, 12},
      {"C", 3, 34, 44},
      {"15", 3, 15, 25},
      {"C", 73, 33, 46},
  };
  for (const auto& c : cases) {
    Rig rig;
    MensOptions opt;
    opt.column = c.column;
    opt.top = 5;
    rig.screen.MENS(c.code, "Aguarde", opt);
    const Panel& p = rig.screen.panel(10);
    EXPECT_TRUE(p.open);
    EXPECT_EQ(p.left, c.left) << c.column << c.code;
    EXPECT_EQ(p.right, c.right) << c.column << c.code;
    EXPECT_EQ(rig.row(6).substr(static_cast<std::size_t>(c.left + 2), 7), "Aguarde") << c.column << c.code;
  }
}

TEST(Mens, TextIsCutIntoRowsOfEqualWidth) {
  Rig rig;
  MensOptions opt;
  opt.lines = 2;
  opt.top = 5;
  opt.column = "E";
  rig.screen.MENS(3, "abcdefghij", opt);
  EXPECT_EQ(rig.row(6).substr(4, 5), "abcde");
  EXPECT_EQ(rig.row(7).substr(4, 5), "fghij");
  rig.screen.FECHAJAN(10);
  EXPECT_EQ(rig.row(6), std::string(80, ' '));
}

TEST(Mens, ItemNoticeIsTitledWithTheItem) {
  Rig rig("{Tick}{Enter}");
  std::string caption;
  rig.screen.on_wait = [&] { caption = rig.row(19); };  // the row above top 20
  MensOptions opt;
  opt.item = 3;
  rig.screen.MENS(29, "Valor obrigatorio", opt);
  EXPECT_NE(caption.find("Item 3 das Dividas e Onus"), std::string::npos) << caption;
}

TEST(Mens, OneFieldQuestion) {
  struct Case { Variable start; const char* script; Variable want; };
  const Case cases[] = {
      {Decimal(5), "{Tick}{Esc}", Decimal(0)},
      {Decimal(5), "{Tick}42{Enter}", Decimal(42)},
      {Decimal(5), "{Tick}{Enter}", Decimal(5)},
      {std::string("     "), "{Tick}abc{Enter}", std::string("abc  ")},
      {std::string("xy"), "{Tick}{Esc}", std::string("")},
      {Date::ymd(2014, 4, 30), "{Tick}{Esc}", Date::ymd(2014, 2, 3)},  // today
      {Date{}, "{Tick}01022014{Enter}", Date::ymd(2014, 2, 1)},
      {false, "{Tick}s{Enter}", true},
      {true, "{Tick}{Esc}", false},
  };
  for (const auto& c : cases) {
    Rig rig(c.script);
    rig.screen.today = [] { return Date::ymd(2014, 2, 3); };
    rig.pattern();
    auto before = rig.all();
    Variable v = c.start;
    MensOptions opt;
    opt.variable = &v;
    rig.screen.MENS(4, "Quantos?", opt);
    EXPECT_EQ(v, c.want) << c.script;
    EXPECT_EQ(rig.all(), before) << c.script;
  }
}

TEST(Mens, OneFieldQuestionKeepsAskingUntilValid) {
  Rig rig("{Tick}5{Enter}{Home}{Ctrl-Y}20{Enter}");
  Variable v = Decimal(0);
  MensOptions opt;
  opt.variable = &v;
  opt.valid = [](const Variable& x) { return std::get<Decimal>(x) > Decimal(10); };
  rig.screen.MENS(4, "Minimo 10:", opt);
  EXPECT_EQ(v, Variable(Decimal(20)));
  EXPECT_EQ(rig.con->tones().size(), 4u);  // one error sound for the refusal
}

TEST(Aviso, WritesInThePickListColour) {
  Rig rig;
  rig.screen.AVISO("Teste", 3, 10);
  EXPECT_EQ(rig.row(3).substr(10, 5), "Teste");
  EXPECT_EQ(rig.cell(3, 10).attr, ACHACOR("N/W"));
  rig.screen.AVISO("Baixo");
  EXPECT_EQ(rig.row(24).substr(0, 5), "Baixo");
}

class ChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s.REDEFJAN(3, 0x1E, 0x1F, 0x3F, 5, 10, 12, 40, 1);
    s.ABREJAN(3);
    s.ESCRJAN(3, "                              A - Abrir                     B - Baixar                    C - Copiar");
    s.choice.OPCOES = "ABC";
    s.choice.MENSMENU = {"abre", "baixa", "copia"};
  }
  int run(const char* script, int close = 0) {
    rig.con->append_script(script);
    return s.ESC_OPCAO(3, 3, 1, 10, 1, close, 1);
  }
  Rig rig;
  Screen& s = rig.screen;
};

TEST_F(ChoiceTest, KeysChooseItems) {
  struct Case { const char* script; int pos; int result; };
  const Case cases[] = {
      {"b", 1, 2}, {"B", 1, 2}, {"{Esc}", 1, 0}, {"{Enter}", 2, 2},
      {"{Down*5}{Enter}", 1, 3}, {"{Up*5}{Enter}", 3, 1}, {"{End}{Up}{Enter}", 1, 2},
      {"{Home}{Enter}", 3, 1}, {"x{Enter}", 1, 1}, {"c", 1, 3},
  };
  for (const auto& c : cases) {
    s.choice.POSVER = c.pos;
    s.choice.ULTPOS = 9;
    EXPECT_EQ(run(c.script), c.result) << c.script;
    EXPECT_EQ(s.choice.ULTPOS, c.result ? c.result : 9) << c.script;
  }
}

TEST_F(ChoiceTest, CurrentItemIsHighlightedAndHinted) {
  s.choice.POSVER = 1;
  std::vector<int> attr_item2;
  std::vector<std::string> hint;
  s.on_wait = [&] {
    attr_item2.push_back(rig.cell(7, 10).attr);
    hint.push_back(rig.row(24));
  };
  // Item n is panel row n + 1 (row offset 1): screen row 5 + n.
  EXPECT_EQ(run("{Down}{Enter}"), 2);
  ASSERT_EQ(attr_item2.size(), 2u);
  EXPECT_EQ(attr_item2[0], s.colours.COR_TEL1);
  EXPECT_EQ(attr_item2[1], s.colours.COR_ESCOL);
  EXPECT_NE(hint[0].find("abre"), std::string::npos);
  EXPECT_NE(hint[1].find("baixa"), std::string::npos);
}

TEST_F(ChoiceTest, CloseFlagClosesTheChoicePanel) {
  EXPECT_TRUE(s.panel(3).open);
  run("{Esc}", 0);
  EXPECT_TRUE(s.panel(3).open);
  run("{Esc}", 1);
  EXPECT_FALSE(s.panel(3).open);
  EXPECT_EQ(rig.row(6), std::string(80, ' '));
}

TEST_F(ChoiceTest, ItemChoiceMarksWithAnAsterisk) {
  auto before = rig.all();
  std::vector<std::string> marks;
  s.on_wait = [&] { marks.push_back(rig.row(6).substr(10, 1) + rig.row(7).substr(10, 1)); };
  rig.con->append_script("{Down}{Down}{Up}{Enter}");
  EXPECT_EQ(s.ESC_ITEM(3, 3, 1, 0, 1), 2);
  // Item n on panel row n: screen row 4 + n.
  std::vector<std::string> want = {"  ", "* ", " *", "* "};
  EXPECT_EQ(marks, want);
  EXPECT_EQ(rig.row(5).substr(10, 1), " ");
  EXPECT_EQ(rig.all(), before);  // the asterisk is gone again
}

TEST(Help, ShowsTheNamedText) {
  Rig rig("{Tick}{Esc}");
  MemoryHelpSource help;
  help.texts["GERAL     "] = "Primeira linha\nSegunda linha";
  rig.screen.help_source = &help;
  rig.pattern();
  auto before = rig.all();
  std::string caption, line1, line2;
  rig.screen.on_wait = [&] {
    caption = rig.row(0);
    line1 = rig.row(2).substr(1, 14);
    line2 = rig.row(3).substr(1, 13);
  };
  rig.screen.MOSTRA_HELP(1);
  EXPECT_NE(caption.find("Ajuda"), std::string::npos);
  EXPECT_EQ(line1, "Primeira linha");
  EXPECT_EQ(line2, "Segunda linha");
  EXPECT_EQ(rig.screen.panel(8).bottom, 4);  // two lines: rows 1 to 2 + 2
  EXPECT_EQ(rig.all(), before);
}

TEST(Help, NamesAndMissingTexts) {
  MemoryHelpSource help;
  help.texts["TELA07    "] = "tela sete";
  help.texts["NOME      "] = "o nome";
  struct Case { int option; std::string field; bool shown; };
  const Case cases[] = {
      {2, "", true},          // TELA + the screen number
      {3, "M->NOME", true},   // the field, without M->
      {3, "CPF", false},      // not in the table: nothing happens
      {4, "", false},
  };
  for (const auto& c : cases) {
    Rig rig("{Tick}{Esc}");
    rig.screen.help_source = &help;
    rig.screen.current_screen = [] { return 7; };
    rig.screen.current_field = [&] { return c.field; };
    bool waited = false;
    rig.screen.on_wait = [&] { waited = true; };
    rig.screen.MOSTRA_HELP(c.option);
    EXPECT_EQ(waited, c.shown) << c.option << " " << c.field;
  }
}

TEST(Help, NoSourceOrNoFieldCases) {
  Rig none("{Tick}{Esc}");
  bool waited = false;
  none.screen.on_wait = [&] { waited = true; };
  none.screen.MOS_HELP();
  EXPECT_FALSE(waited);  // no help table: nothing at all

  Rig nofield("{Tick}{Enter}");
  MemoryHelpSource help;
  nofield.screen.help_source = &help;
  std::string seen;
  nofield.screen.on_wait = [&] { seen = nofield.con->screen_text(); };
  nofield.screen.MOS_HELP();
  EXPECT_NE(seen.find("Ajuda não encontrada"), std::string::npos);
}

TEST(Help, LongTextsUseThirteenRowsAndScroll) {
  Rig rig("{PgDn}{Esc}");  // a help window keeps typed keys
  MemoryHelpSource help;
  std::string text;
  for (int i = 1; i <= 30; ++i) text += "linha " + std::to_string(i) + "\n";
  help.texts["FUNCOES   "] = text;
  rig.screen.help_source = &help;
  std::vector<std::string> top;
  rig.screen.on_wait = [&] { top.push_back(rig.row(2).substr(1, 8)); };
  rig.screen.MOSTRA_HELP(4);
  EXPECT_EQ(rig.screen.panel(8).bottom, 15);
  std::vector<std::string> want = {"linha 1 ", "linha 14"};
  EXPECT_EQ(top, want);
}

TEST(StorageHost, MessagesReachTheScreen) {
  Rig rig("{Tick}{Enter}");
  ScreenStorageHost host(rig.screen);
  host.status("Abrindo tabelas");
  EXPECT_NE(rig.row(24).find("Abrindo tabelas"), std::string::npos);
  auto before = rig.all();
  host.progress("Criando 02");
  EXPECT_TRUE(rig.screen.panel(10).open);
  EXPECT_NE(rig.con->screen_text().find("Criando 02"), std::string::npos);
  host.progress("Criando 03");  // replaces the first
  EXPECT_EQ(rig.con->screen_text().find("Criando 02"), std::string::npos);
  host.progress_close();
  EXPECT_EQ(rig.all(), before);
  std::string seen;
  rig.screen.on_wait = [&] { seen = rig.con->screen_text(); };
  host.alert("Tabela danificada");
  EXPECT_NE(seen.find("Tabela danificada"), std::string::npos);
  EXPECT_EQ(rig.con->events_left(), 0u);
}

TEST(StorageHost, EscWaitingTakesOnlyAnEsc) {
  Rig rig("x{Esc}");
  ScreenStorageHost host(rig.screen);
  EXPECT_FALSE(host.esc_waiting());
  EXPECT_EQ(rig.con->events_left(), 2u);  // the x stays queued
  rig.con->peek_key(true);
  EXPECT_TRUE(host.esc_waiting());
  EXPECT_EQ(rig.con->events_left(), 0u);
}

}  // namespace
}  // namespace tx::screen
