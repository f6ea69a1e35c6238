// The pick-list grid on small tables: typed jumps, order keys, leaving keys,
// write-back, the re-entry guard, details and pending notes.
#include <gtest/gtest.h>

#include "base/codepage.hpp"
#include "picklist_fixture.hpp"
#include "platform/keys.hpp"
#include "base/xbase.hpp"

namespace tx::screen {
namespace {

using test::PickOffice;

struct Pick {
  std::string script;
  int mode;
  bool chosen;
  std::string cpf;  // put into M->CPF
};

TEST(PickListGrid, TaxpayerListKeys) {
  const std::vector<Pick> cases = {
      {"{Tick}J{Enter}", 0, true, "11144477735"},        // a letter: first name with J
      {"{Tick}j{Enter}", 0, true, "11144477735"},
      {"{Tick}0{Enter}", 0, true, "01234567890"},        // a digit: first CPF with 0
      {"{Tick}5{Enter}", 0, true, "52998224725"},
      {"{Tick}K{Enter}", 0, true, "22233344405"},        // no K: the nearest (LUIZ)
      {"{Tick}Z{Enter}", 0, true, "52998224725"},        // past the end: the last (MARIA)
      {"{Tick}3{Enter}", 0, true, "52998224725"},        // nearest CPF after 3
      {"{Tick}{Enter}", 0, true, "01234567890"},         // opens on the current taxpayer
      {"{Tick}{Ctrl-PgUp}{Enter}", 0, true, "98765432100"},  // name order: ANTONIO first
      {"{Tick}{Ctrl-PgDn}{Enter}", 0, true, "52998224725"},
      {"{Tick}{Down*2}{Up}{Enter}", 0, true, "11144477735"},  // BEATRIZ, JOSE, LUIZ, back
      {"{Tick}{F2}{Ctrl-PgUp}{Down}{Enter}", 0, true, "11144477735"},  // CPF order
      {"{Tick}{F2}{F1}{Ctrl-PgUp}{Down}{Enter}", 0, true, "01234567890"},
      {"{Tick}{F3}{Ctrl-PgUp}{Enter}", 0, true, "01234567890"},        // status order
      {"{Tick}{F3}{Ctrl-PgDn}{Enter}", 0, true, "22233344405"},
      {"{Tick}J{Esc}", 0, false, ""},
      {"{Tick}J{Ctrl-Enter}", 0, false, ""},
      {"{Tick}M{Enter}", 1, true, "52998224725"},        // the taxpayer choice's list
  };
  for (const auto& c : cases) {
    PickOffice o(c.script);
    o.pick->QUALHLP = "M->CPF";
    o.pick->TEMHLP = true;
    PickResult r = o.pick->GERAL(c.mode);
    EXPECT_EQ(r.chosen, c.chosen) << c.script;
    EXPECT_EQ(o.put_text("M->CPF"), c.cpf) << c.script;
    EXPECT_EQ(o.rig.con->events_left(), 0u) << c.script;
    // The register's order comes back; the area selected before is selected.
    EXPECT_EQ(o.tables->area(9).order(), 1) << c.script;
    EXPECT_EQ(o.tables->selected(), 9) << c.script;
  }
}

TEST(PickListGrid, PutsFollowTheField) {
  struct F { std::string field; std::vector<std::pair<std::string, std::string>> puts; };
  for (const auto& f : std::vector<F>{
           {"M->CPF1", {{"M->CPF1", "11144477735"}}},
           {"M->NOMECONTR", {{"M->CPF", "11144477735"}}},
           {"M->DIRCONJU", {{"M->CPFCONJU", "11144477735"}}},
           {"M->CPFSAC", {{"M->CPFSAC", "11144477735"}, {"M->NOMESAC", "JOSE DA SILVA"}}},
       }) {
    PickOffice o("{Tick}J{Enter}");
    o.pick->QUALHLP = f.field;
    o.pick->TEMHLP = true;
    ASSERT_TRUE(o.pick->GERAL().chosen) << f.field;
    for (const auto& [target, text] : f.puts) EXPECT_EQ(RTRIM(o.put_text(target)), text) << f.field << " " << target;
  }
}

TEST(PickListGrid, ReferenceListIsClosedAfterwards) {
  PickOffice o("{Tick}P{Enter}");
  o.reference(58, {{"CDPRO", 'C', 3}, {"OCUPACAO", 'C', 69}},
              {{"212", "MEDICO"}, {"110", "ADVOGADO"}, {"301", "PROFESSOR"}, {"410", "PEDREIRO"}});
  o.pick->QUALHLP = "M->OCUPACAO";
  o.pick->TEMHLP = true;
  PickResult r = o.pick->GERAL();
  ASSERT_TRUE(r.chosen);
  EXPECT_EQ(o.put_text("M->CDPRO"), "410");  // name order: PEDREIRO before PROFESSOR
  EXPECT_EQ(RTRIM(o.put_text("M->OCUPACAO")), "PEDREIRO");
  EXPECT_FALSE(o.tables->area(58).used());
  EXPECT_EQ(o.tables->selected(), 9);
}

TEST(PickListGrid, ScanJumpWithoutIndex) {
  struct J { std::string script, town, code; };
  for (const auto& j : std::vector<J>{
           {"{Tick}C{Enter}", "CURITIBA", "7535"},
           {"{Tick}d{Enter}", "FLORIANOPOLIS", "8105"},  // nearest after D
           {"{Tick}Z{Enter}", "SAO PAULO", "7107"},      // none after: the last
       }) {
    PickOffice o(j.script);
    o.reference(64, {{"NOMEMUNI", 'C', 40}, {"NROMUNI", 'C', 4}},
                {{"BELO HORIZONTE", "4123"}, {"CURITIBA", "7535"}, {"FLORIANOPOLIS", "8105"}, {"SAO PAULO", "7107"}});
    o.pick->QUALHLP = "M->MUNICIPIO";
    o.pick->TEMHLP = true;
    ASSERT_TRUE(o.pick->GERAL().chosen) << j.script;
    EXPECT_EQ(RTRIM(o.put_text("M->MUNICIPIO")), j.town) << j.script;
    EXPECT_EQ(o.put_text("M->CODMUNI"), j.code) << j.script;
  }
}

TEST(PickListGrid, StateModeShowsOnlyStateLines) {
  PickOffice o("{Tick}{Down}{Enter}");
  o.reference(64, {{"NOMEMUNI", 'C', 40}, {"NROMUNI", 'C', 4}},
              {{"CURITIBA", "7535"}, {"PR - PARANA", ""}, {"SANTOS", "7071"}, {"SP - SAO PAULO", ""}});
  o.pick->QUALHLP = "M->UF";
  o.pick->TEMHLP = true;
  ASSERT_TRUE(o.pick->GERAL().chosen);
  EXPECT_EQ(o.put_text("M->UF"), "SP");
}

TEST(PickListGrid, ChoiceGoesIntoTheFieldBeingEdited) {
  PickOffice o("{F9}{Tick}A{Enter}{Tick}{Enter}{Enter}");
  o.reference(58, {{"CDPRO", 'C', 3}, {"OCUPACAO", 'C', 69}}, {{"212", "MEDICO"}, {"110", "ADVOGADO"}});
  std::string code(3, ' '), other(5, ' ');
  GetField f1;
  f1.row = 3;
  f1.col = 10;
  f1.name = "M->CDPRO";
  f1.value = bind(code);
  GetField f2 = f1;
  f2.col = 20;
  f2.name = "OUTRO";
  f2.value = bind(other);
  FieldEditor fe(o.rig.screen.console(), {f1, f2});
  o.pick->editor = &fe;
  fe.bind_key(key::F(9), [&](FieldEditor&) {
    o.pick->GERAL();
    return KeyAction::Stay;
  });
  ASSERT_TRUE(fe.read());
  EXPECT_EQ(code, "110");
  EXPECT_EQ(RTRIM(o.put_text("M->OCUPACAO")), "ADVOGADO");  // the companion
  EXPECT_EQ(o.put_text("M->CDPRO"), "");                     // not through the hook
}

TEST(PickListGrid, NoListForOtherFieldsNorInsideAList) {
  PickOffice o("{Tick}{F11}{Tick}{Tick}{Enter}");
  o.pick->QUALHLP = "M->NADA";
  o.pick->TEMHLP = true;
  EXPECT_FALSE(o.pick->GERAL().chosen);

  // Pending notes of the taxpayer under the cursor; the hook tries to open
  // another list meanwhile.
  ASSERT_TRUE(o.tables->ABERTURA(11));
  storage::WorkArea& notes = o.tables->area(11);
  for (const auto& [cpf, text] : std::vector<std::pair<std::string, std::string>>{
           {"01234567890", "FALTA RECIBO"}, {"11144477735", "OUTRO"}, {"01234567890", "CONFERIR BANCO"}}) {
    notes.append_blank();
    notes.replace_text("CPF", cpf);
    notes.replace_text("OBSERV", text);
  }
  notes.commit();
  notes.close();
  o.tables->SELECT(9);

  int seen = -1;
  bool inner = true;
  o.pick->hooks.pending = [&](storage::Tables& t) {
    storage::WorkArea& copy = t.area(31);
    seen = 0;
    for (copy.go_top(); !copy.eof(); copy.skip()) {
      EXPECT_EQ(copy.trimmed("CPF"), "01234567890");
      ++seen;
    }
    o.pick->QUALHLP = "M->CPF";
    o.pick->TEMHLP = true;
    inner = o.pick->GERAL().chosen || o.pick->open() == false;
  };
  o.pick->QUALHLP = "M->CPF";
  o.pick->TEMHLP = true;
  PickResult r = o.pick->GERAL();
  EXPECT_TRUE(r.chosen);
  EXPECT_EQ(seen, 2);
  EXPECT_FALSE(inner);
  EXPECT_FALSE(o.pick->open());
  EXPECT_EQ(o.put_text("M->CPF"), "01234567890");
}

TEST(PickListGrid, DetailsMaskThePassword) {
  PickOffice o("{Tick}M{F6}");  // the script runs out while the details show
  o.pick->QUALHLP = "M->CPF";
  o.pick->TEMHLP = true;
  o.pick->GERAL();
  const std::string& seen = o.rig.con->exhausted_message();
  EXPECT_NE(seen.find("Detalhes"), std::string::npos) << seen;
  EXPECT_NE(seen.find("MARIA SOUZA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("529.982.247-25"), std::string::npos) << seen;
  EXPECT_NE(seen.find("********"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("segredo1"), std::string::npos) << seen;
}

TEST(PickListGrid, GridHeadingsAndFootings) {
  PickOffice o("{Tick}");  // runs out with the list open
  o.pick->QUALHLP = "M->CPF";
  o.pick->TEMHLP = true;
  o.pick->GERAL();
  const std::string& seen = o.rig.con->exhausted_message();
  EXPECT_NE(seen.find("Nome do Contribuinte"), std::string::npos) << seen;
  EXPECT_NE(seen.find("5 Declaraçöes"), std::string::npos) << seen;
  EXPECT_NE(seen.find("═"), std::string::npos) << seen;
  EXPECT_NE(seen.find("│"), std::string::npos) << seen;
}

}  // namespace
}  // namespace tx::screen
