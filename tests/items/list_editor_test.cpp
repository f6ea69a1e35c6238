// The item list editor over a table: the append row, cell edits and where
// the cursor goes after them, the leaving keys, the mouse.
#include "items_fixture.hpp"

#include "platform/keys.hpp"

using namespace tx;
using namespace tx::items;
using namespace tx::items::test;

namespace {

struct ListEditorTest : ItemsFixture {
  storage::WorkArea& wa = open(5, numbered_fields());
  ListDescriptor list = numbered_list();
};

}  // namespace

TEST_F(ListEditorTest, EmptyListOpensOnTheAppendRowAndEscCreatesNothing) {
  add_probe(list);
  run(list, "{Alt-Q}{Esc}");
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_TRUE(probes[0].lappend);
  EXPECT_EQ(probes[0].opc, 5);
  EXPECT_EQ(wa.reccount(), 0u);
  EXPECT_EQ(ed.ULTTECLA, key::kEsc);
  EXPECT_TRUE(ed.TECLAMUDA);
  EXPECT_FALSE(ed.LAPPEND);  // the state before the list came back
  EXPECT_EQ(ed.OPC, 0);
}

TEST_F(ListEditorTest, TypingOnTheAppendRowCreatesTheRecordWithItsDefaults) {
  list.defaults = {{"LINHA", Decimal(99)}};
  add_probe(list);
  run(list, "{Right}Ana{Alt-Q}{Enter}{Alt-Q}{Esc}");
  EXPECT_EQ(column(wa, "DESCR"), (std::vector<std::string>{"Ana"}));
  EXPECT_EQ(column(wa, "LINHA"), (std::vector<std::string>{"99"}));
  EXPECT_EQ(column(wa, "CPF"), (std::vector<std::string>{kCpf}));
  ASSERT_EQ(probes.size(), 1u);  // Alt-Q while typing belongs to the cell
  EXPECT_FALSE(probes[0].lappend);
  EXPECT_EQ(probes[0].ponteiro, 3);  // Enter moved one column right
  EXPECT_EQ(probes[0].campo, "VALOR");
}

TEST_F(ListEditorTest, NewRecordsOfANumberedListGetTheirRecordNumberTimesTenAsLine) {
  list.recno_line_field = "LINHA";
  add(wa, 1, "A", 0);
  add(wa, 2, "B", 0);
  run(list, "{Down*2}{Right}C{Enter}{Esc}");
  EXPECT_EQ(column(wa, "LINHA"), (std::vector<std::string>{"0", "0", "30"}));
}

TEST_F(ListEditorTest, EnterOnTheLastColumnOfTheLastRecordOpensTheAppendRow) {
  add(wa, 1, "A", 10);
  add_probe(list);
  run(list, "{End}{Enter}{Enter}{Alt-Q}{Right}B{Enter}{Esc}");
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_TRUE(probes[0].lappend);
  EXPECT_EQ(probes[0].ponteiro, 1);
  EXPECT_EQ(probes[0].pontvert, 2);
  EXPECT_EQ(column(wa, "DESCR"), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ListEditorTest, UpLeavesTheAppendRowAndDownOnlyOpensItWhenTheListAppends) {
  add(wa, 1, "A", 10);
  add(wa, 2, "B", 20);
  add_probe(list);
  run(list, "{Down*2}{Alt-Q}{Down}{Alt-Q}{Up}{Alt-Q}{Esc}");
  ASSERT_EQ(probes.size(), 3u);
  EXPECT_TRUE(probes[0].lappend);
  EXPECT_EQ(probes[0].current, "<eof>");
  EXPECT_TRUE(probes[1].lappend);  // Down keeps the cursor there
  EXPECT_FALSE(probes[2].lappend);
  EXPECT_EQ(probes[2].current, "B");
  EXPECT_EQ(probes[2].pontvert, 2);

  probes.clear();
  list.caps.append = false;
  run(list, "{Down*3}{Alt-Q}{Esc}");
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_FALSE(probes[0].lappend);
  EXPECT_EQ(probes[0].current, "B");
  EXPECT_EQ(wa.reccount(), 2u);
}

TEST_F(ListEditorTest, LeavingKeysEndTheListAndSayWhichKey) {
  add(wa, 1, "A", 10);
  struct Case { const char* script; int key; };
  const Case cases[] = {
      {"{Tab}", key::kTab}, {"{Shift-Tab}", key::kShiftTab}, {"{Esc}", key::kEsc},
      {"{F5}", key::F(5)},  {"{F6}{F2}{Esc}", key::kEsc},  // not leaving keys of this list
  };
  for (const auto& c : cases) {
    ed.ULTTECLA = 0;
    ed.TECLAMUDA = false;
    run(list, c.script);
    EXPECT_EQ(ed.ULTTECLA, c.key) << c.script;
    EXPECT_TRUE(ed.TECLAMUDA) << c.script;
  }
}

TEST_F(ListEditorTest, LsaiEndsTheListAtOnce) {
  add(wa, 1, "A", 10);
  ed.LSAI = true;
  ASSERT_TRUE(con->append_script("{Esc}"));
  ed.EDITA(list);
  EXPECT_EQ(con->events_left(), 1u);
  EXPECT_EQ(ed.ULTTECLA, 0);
  EXPECT_FALSE(ed.TECLAMUDA);
}

TEST_F(ListEditorTest, ArrowsEndACellEditAndMove) {
  add(wa, 1, "A", 10);
  add(wa, 2, "B", 20);
  add_probe(list);
  // Down after typing stores and moves down; Up likewise; Esc throws away.
  run(list, "{Right}X{Down}{Alt-Q}Y{Up}{Alt-Q}Z{Esc}{Alt-Q}{Esc}");
  EXPECT_EQ(column(wa, "DESCR"), (std::vector<std::string>{"X", "Y"}));
  ASSERT_EQ(probes.size(), 3u);
  EXPECT_EQ(probes[0].pontvert, 2);
  EXPECT_EQ(probes[1].pontvert, 1);
  EXPECT_EQ(probes[2].ponteiro, 2);
}

TEST_F(ListEditorTest, WhenAndValidChecksGuardTheCell) {
  add(wa, 1, "A", 10);
  ed.registry.add_check("never", [](EditContext&) { return false; });
  ed.registry.add_check("upper_only", [](EditContext& c) {
    auto& t = std::get<std::string>(c.value);
    return !t.empty() && t[0] >= 'A' && t[0] <= 'Z';
  });
  list.columns[0].when = "never";
  list.columns[1].valid = "upper_only";
  // The item cell cannot be opened: the typed 7 does nothing; a lower-case
  // description is refused until it is fixed.
  run(list, "7{Right}{Enter}{Ctrl-Y}abc{Enter}{Home}Q{Enter}{Esc}");
  EXPECT_EQ(column(wa, "ITEM"), (std::vector<std::string>{"1"}));
  EXPECT_EQ(column(wa, "DESCR"), (std::vector<std::string>{"Qbc"}));
}

TEST_F(ListEditorTest, ClickMovesTheCursorToTheRowAndColumn) {
  for (int i = 1; i <= 4; ++i) add(wa, i, ("R" + std::to_string(i)).c_str(), i * 10);
  add_probe(list);
  // Data rows start at program row 3; the description column at column 5.
  const int physical_row = 3 + 2 + platform::kScreenTop;
  run(list, "{Click " + std::to_string(physical_row) + ",8}{Alt-Q}{Esc}");
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_EQ(probes[0].pontvert, 3);
  EXPECT_EQ(probes[0].ponteiro, 2);
  EXPECT_EQ(probes[0].current, "R3");
}

TEST_F(ListEditorTest, DisplayOnlyCallDrawsAndReturns) {
  add(wa, 1, "Alfa", 10);
  ed.SO_MOS = false;
  ed.EDITA(list);
  EXPECT_NE(row(3).find("Alfa"), std::string::npos);
  EXPECT_EQ(con->events_left(), 0u);
  EXPECT_FALSE(con->script_exhausted());
}
