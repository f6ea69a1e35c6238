// Registers of repeated data: a register opened over a list is a nested
// list with its own state; rows go to the register and come back from it.
#include "items_fixture.hpp"

#include "items/list_payees.hpp"
#include "platform/keys.hpp"
#include "storage/layout.hpp"

using namespace tx;
using namespace tx::items;
using namespace tx::items::test;

namespace {

using Rows = std::vector<std::string>;

struct RegisterTest : ItemsFixture {
  storage::WorkArea& payments = open(4, {{"CPF", 'C', 11, 0}, {"I6_1", 'C', 50, 0}, {"I6_2", 'C', 18, 0},
                                          {"I6_3", 'N', 2, 0}});
  storage::WorkArea& payees = open(kPayeesTable, *storage::table_layout(kPayeesTable));
  ListDescriptor list;
  RegisterTest() {
    list.code = 4;
    list.area = 4;
    list.window = {1, 0, 10, 79};
    list.defaults_cpf = true;
    list.columns = {{.heading = "Nome", .field = "I6_1", .picture = "@S30"},
                    {.heading = "CPF/CNPJ", .field = "I6_2", .picture = "@S18"},
                    {.heading = "Cod", .field = "I6_3", .picture = "@Z 99"}};
    list.caps.send = payees_send();
    list.caps.open_register = payees_open();
    ed.catalogue["payees"] = payees_list();
    for (auto [name, id, code] : {std::tuple{"ALFA", "111", 10}, {"BETA", "222", 20}, {"GAMA", "333", 30}}) {
      payees.append_blank();
      payees.replace_text("NOME", name);
      payees.replace_text("CGCCPF", id);
      payees.replace_number("CODIGO", code);
    }
    payees.commit();
  }
  void payment(const char* name, const char* id, int code) {
    payments.append_blank();
    payments.replace_text("CPF", kCpf);
    payments.replace_text("I6_1", name);
    payments.replace_text("I6_2", id);
    payments.replace_number("I6_3", code);
    payments.commit();
  }
};

}  // namespace

TEST_F(RegisterTest, RegisterOverAListTakesARowIntoItAndKeepsItsOwnState) {
  payment("ZETA", "999", 1);
  add_probe(list, "I6_1");
  add_probe(ed.catalogue["payees"], "NOME");
  run(list, "{Right}{Alt-F4}{Alt-Q}{Down}{Ctrl-Enter}{Right*2}{Alt-Q}{Esc}{Tick}{Alt-Q}{Tab}");
  EXPECT_EQ(column(payments, "I6_1"), (Rows{"ZETA", "BETA"}));
  EXPECT_EQ(column(payments, "I6_2"), (Rows{"999", "222"}));
  EXPECT_EQ(column(payments, "I6_3"), (Rows{"1", "20"}));
  EXPECT_EQ(column(payments, "CPF"), (Rows{kCpf, kCpf}));
  ASSERT_EQ(probes.size(), 3u);
  EXPECT_EQ(probes[0].opc, kPayeesListCode);
  EXPECT_EQ(probes[0].current, "ALFA");
  EXPECT_EQ(probes[0].ponteiro, 1);
  EXPECT_EQ(probes[1].ponteiro, 3);
  EXPECT_EQ(probes[1].campo, "CODIGO");
  // Back in the payments list: its own column, the new row under the cursor.
  EXPECT_EQ(probes[2].opc, 4);
  EXPECT_EQ(probes[2].ponteiro, 2);
  EXPECT_EQ(probes[2].campo, "I6_2");
  EXPECT_EQ(probes[2].current, "BETA");
  EXPECT_EQ(ed.ULTTECLA, key::kTab);
  EXPECT_EQ(ed.OPC, 0);
  EXPECT_EQ(ed.running(), nullptr);
}

TEST_F(RegisterTest, CtrlEnterSendsAPayeeOnlyWhenItsNameIsNew) {
  payment("DELTA", "444", 5);
  payment("ALFA", "555", 6);
  run(list, "{Ctrl-Enter}{Ctrl-Enter}{Down}{Ctrl-Enter}{Esc}");
  EXPECT_EQ(column(payees, "NOME"), (Rows{"ALFA", "BETA", "GAMA", "DELTA"}));
  EXPECT_EQ(column(payees, "CGCCPF"), (Rows{"111", "222", "333", "444"}));
  EXPECT_EQ(column(payees, "CODIGO"), (Rows{"10", "20", "30", "5"}));
}

TEST_F(RegisterTest, TheRegisterLeavesWithFunctionKeysAndTheProgramsAltUComesBack) {
  int global_u = 0;
  screen.set_key(key::Alt('U'), [&] { ++global_u; });
  ListDescriptor reg = payees_list();
  run(reg, "{Alt-U}{F5}");
  EXPECT_EQ(ed.ULTTECLA, key::F(5));
  EXPECT_EQ(global_u, 0);
  ASSERT_NE(screen.key_binding(key::Alt('U')), nullptr);
  (*screen.key_binding(key::Alt('U')))();
  EXPECT_EQ(global_u, 1);
  // Alt-F2 and F12 leave only when the declaration has rural activity.
  run(payees_list(true), "{Tick}{F12}");
  EXPECT_EQ(ed.ULTTECLA, key::F(12));
  run(payees_list(false), "{Tick}{F12}{Esc}");
  EXPECT_EQ(ed.ULTTECLA, key::kEsc);
}
