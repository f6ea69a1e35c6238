// The item list editor's row operations: insert after and before, n lines,
// delete, renumbering, sort, and the cell and row clipboards.
#include "items_fixture.hpp"

#include "base/codepage.hpp"
#include "platform/keys.hpp"

using namespace tx;
using namespace tx::items;
using namespace tx::items::test;

namespace {

using Rows = std::vector<std::string>;

struct RowsTest : ItemsFixture {
  storage::WorkArea& wa = open(5, numbered_fields());
  ListDescriptor list = numbered_list();
  std::string seen;  // every screen shown while waiting, as text
  RowsTest() {
    screen.on_wait = [this] { seen += con->screen_text(); };
  }
  // Every record in physical order, hidden ones too.
  Rows physical(const char* field) {
    Rows out;
    for (std::uint32_t r = 1; r <= wa.reccount(); ++r) {
      wa.go(r);
      auto f = wa.table().field(wa.table().field_index(field));
      out.push_back(f.type == 'N' ? std::to_string(wa.get_number(field).to_long()) : wa.trimmed(field));
    }
    return out;
  }
};

}  // namespace

TEST_F(RowsTest, InsertAfterNumbersTheNewLineAndMovesTheFollowingOnes) {
  add(wa, 1, "A", 10);
  add(wa, 2, "B", 30);
  add(wa, 3, "C", 40);
  add(wa, 4, "D", 50);
  add_probe(list);
  run(list, "{Down}{Ins}{Tick}s{Tick}{Alt-Q}{Esc}");
  EXPECT_EQ(physical("LINHA"), (Rows{"10", "30", "41", "51", "31"}));
  EXPECT_EQ(physical("CPF").back(), kCpf);
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_EQ(probes[0].current, "");  // the cursor is on the new row
  EXPECT_EQ(probes[0].pontvert, 3);
  EXPECT_NE(seen.find("Insere uma linha após esse Item?"), std::string::npos);

  run(list, "{Ins}{Tick}n{Tick}{Esc}");
  EXPECT_EQ(wa.reccount(), 5u);
}

TEST_F(RowsTest, InsertBeforeMovesTheVisibleRowsDownAndLeavesHiddenOnesAlone) {
  list.caps.insert = InsertStyle::Before;
  list.keep_on_insert = {"ITEM"};
  add(wa, 1, "A", 10);
  add(wa, 9, "X", 90, "22222222222");  // another taxpayer's row
  add(wa, 2, "B", 20);                  // deleted
  add(wa, 3, "C", 30);
  add(wa, 4, "D", 40);
  wa.go(3);
  ASSERT_TRUE(wa.delete_record());
  add_probe(list);
  run(list, "{Down}{Ins}{Tick}s{Tick}{Alt-Q}{Esc}");
  ASSERT_TRUE(wa.set_filter(list.filter));
  EXPECT_EQ(column(wa, "DESCR"), (Rows{"A", "", "C", "D"}));
  EXPECT_EQ(column(wa, "ITEM"), (Rows{"1", "3", "3", "4"}));   // the freed row keeps ITEM
  EXPECT_EQ(column(wa, "LINHA"), (Rows{"10", "0", "30", "40"}));
  // Physically: the hidden rows kept their data and their deletion mark.
  wa.clear_filter();
  EXPECT_EQ(physical("DESCR"), (Rows{"A", "X", "B", "", "C", "D"}));
  wa.go(3);
  EXPECT_TRUE(wa.deleted());
  wa.go(2);
  EXPECT_EQ(wa.trimmed("CPF"), "22222222222");
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_EQ(probes[0].pontvert, 2);
  EXPECT_EQ(probes[0].current, "");
}

TEST_F(RowsTest, InsertLinesAppendsNumberedRows) {
  add(wa, 1, "A", 10);
  add(wa, 2, "B", 30);
  run(list, "{Alt-L}3{Esc}");
  EXPECT_EQ(physical("LINHA"), (Rows{"10", "30", "11", "12", "13"}));
  run(list, "{Alt-L}0{Esc}");
  EXPECT_EQ(wa.reccount(), 5u);
}

TEST_F(RowsTest, DeleteAsksAndTheCursorStaysOnTheNextRow) {
  struct Case { const char* script; Rows left; const char* current; int row; bool lappend; };
  const Case cases[] = {
      {"{Down}{Del}{Tick}s{Tick}{Alt-Q}{Esc}", {"A", "C"}, "C", 2, false},
      {"{Down*2}{Del}{Tick}s{Tick}{Alt-Q}{Esc}", {"A", "B"}, "B", 2, false},
      {"{Del}{Tick}n{Tick}{Alt-Q}{Esc}", {"A", "B", "C"}, "A", 1, false},
      {"{Down*3}{Del}{Alt-Q}{Esc}", {"A", "B", "C"}, "<eof>", 4, true},  // nothing on the append row
      {"{Del}{Tick}s{Tick}{Del}{Tick}s{Tick}{Del}{Tick}s{Tick}{Alt-Q}{Esc}", {}, "<eof>", 1, true},
  };
  add_probe(list);
  for (const auto& c : cases) {
    wa.zap();
    add(wa, 1, "A", 10);
    add(wa, 2, "B", 20);
    add(wa, 3, "C", 30);
    probes.clear();
    run(list, c.script);
    EXPECT_EQ(column(wa, "DESCR"), c.left) << c.script;
    ASSERT_EQ(probes.size(), 1u) << c.script;
    EXPECT_EQ(probes[0].current, c.current) << c.script;
    EXPECT_EQ(probes[0].pontvert, c.row) << c.script;
    EXPECT_EQ(probes[0].lappend, c.lappend) << c.script;
  }
}

TEST_F(RowsTest, RenumberFromTheItemOrTheLineColumn) {
  struct Case { const char* script; Rows items, lines; const char* message; };
  const Case cases[] = {
      {"{Alt-R}{Tick}s{Tick}{Esc}", {"3", "0", "4", "5"}, {"10", "0", "35", "70"}, ""},
      {"{End}{Alt-R}{Tick}s{Tick}{Esc}", {"3", "0", "5", "9"}, {"10", "0", "20", "30"}, ""},
      {"{Alt-R}{Tick}n{Tick}{Esc}", {"3", "0", "5", "9"}, {"10", "0", "35", "70"}, ""},
      {"{Down}{Alt-R}{Tick}s{Tick}{Tick}{Enter}{Tick}{Esc}", {"3", "0", "5", "9"}, {"10", "0", "35", "70"},
       "Só é possível reorganizar a partir de um item diferente de Zero"},
      {"{Right}{Alt-R}{Tick}{Enter}{Tick}{Esc}", {"3", "0", "5", "9"}, {"10", "0", "35", "70"},
       "Posicione o cursor sobre a coluna Item ou Linha"},
  };
  for (const auto& c : cases) {
    wa.zap();
    add(wa, 3, "A", 10);
    add(wa, 0, "B", 0);
    add(wa, 5, "C", 35);
    add(wa, 9, "D", 70);
    seen.clear();
    run(list, c.script);
    EXPECT_EQ(column(wa, "ITEM"), c.items) << c.script;
    EXPECT_EQ(column(wa, "LINHA"), c.lines) << c.script;
    if (*c.message) {
      EXPECT_NE(seen.find(c.message), std::string::npos) << c.script;
    }
  }
}

TEST_F(RowsTest, SortByTheCurrentColumnWhileTheListRuns) {
  add(wa, 1, "banana", 30);
  add(wa, 2, "Caju", 10);
  add(wa, 3, "abacate", 20);
  add_probe(list);
  run(list, "{Right}{Alt-O}{Alt-Q}{Down}{Alt-Q}{End}{Alt-O}{Alt-Q}{Esc}");
  ASSERT_EQ(probes.size(), 3u);
  EXPECT_EQ(probes[0].current, "abacate");
  EXPECT_EQ(probes[1].current, "banana");
  EXPECT_EQ(probes[2].current, "Caju");   // by line: 10 first
  EXPECT_EQ(probes[2].pontvert, 1);
  // The list's own order comes back afterwards.
  EXPECT_EQ(wa.order(), 0);
  EXPECT_EQ(column(wa, "DESCR"), (Rows{"banana", "Caju", "abacate"}));
}

TEST_F(RowsTest, CellClipboardCopiesAndPastesOnlyMatchingTypes) {
  add(wa, 7, "A", 10);
  add(wa, 0, "B", 20);
  // Item 7 copied, pasted into the next item, then the item refused by the
  // description and accepted by a new row.
  run(list, "{Alt-M}{Down}{Alt-C}{Right}{Alt-C}{Left}{Down}{Alt-C}{Esc}");
  EXPECT_EQ(column(wa, "ITEM"), (Rows{"7", "7", "7"}));
  EXPECT_EQ(column(wa, "DESCR"), (Rows{"A", "B", ""}));
  EXPECT_EQ(std::get<Decimal>(ed.CLIPTEX), Decimal(7));
}

TEST_F(RowsTest, RowClipboardCollectsCellsAndHandsThemToTheSystemClipboard) {
  add(wa, 1, "Casa  ", 10);
  add(wa, 2, "Carro", 20);
  wa.go(1);
  wa.replace_number("VALOR", Decimal::val("1234.5"));
  wa.commit();
  run(list, "{Right}{Key 408}{Down}{Key 408}{Right}{Up}{Key 408}{Esc}");
  EXPECT_EQ(std::get<std::string>(ed.CLIPTEX), "Casa\r\nCarro\r\n     1234.50\r\n");
  run(list, "{Key 415}{Esc}");
  EXPECT_EQ(con->clipboard, "Casa\r\nCarro\r\n     1234.50\r\n");
  EXPECT_EQ(std::get<std::string>(ed.CLIPTEX), "");
}

TEST_F(RowsTest, PastedLinesBecomeRowsCutAtTheFieldWidth) {
  list.paste_defaults = {{"ITEM", Decimal(9)}};
  const std::string long_line = std::string(20, 'a') + std::string(20, 'b') + "ccccc";
  struct Case { std::string clip; Rows descr; };
  const Case cases[] = {
      {"X", {"X"}},                          // no break: into the current row
      {"P\r\nQ", {"A", "P", "Q"}},
      {"P\r\nQ\r\n", {"A", "P", "Q"}},
      {"P\nQ", {"A", "P", "Q"}},
      {long_line + "\r\n", {"A", std::string(20, 'a'), std::string(20, 'b'), "ccccc"}},
      {long_line, {"A", std::string(20, 'a'), std::string(20, 'b'), "ccccc"}},
  };
  for (const auto& c : cases) {
    wa.zap();
    add(wa, 1, "A", 10);
    con->clipboard = c.clip;
    run(list, "{Key 416}{Esc}");
    EXPECT_EQ(column(wa, "DESCR"), c.descr) << c.clip;
    Rows items(c.descr.size(), "9");
    items[0] = "1";
    EXPECT_EQ(column(wa, "ITEM"), items) << c.clip;
    EXPECT_EQ(column(wa, "CPF"), Rows(c.descr.size(), kCpf)) << c.clip;
  }
}

TEST_F(RowsTest, PasteOnTheAppendRowOfAnEmptyListMakesTheRow) {
  con->clipboard = "Nova";
  run(list, "{Key 416}{Esc}");
  EXPECT_EQ(column(wa, "DESCR"), (Rows{"Nova"}));
}

TEST_F(RowsTest, TemporarySortOrdersGoAwayAndTheListsOwnOrderStays) {
  const std::string own = (dir / "T5.CDX").string();
  ASSERT_TRUE(wa.add_order(own, "STR(LINHA,4)"));
  ASSERT_TRUE(wa.set_order(1));
  add(wa, 1, "b", 20);
  add(wa, 2, "a", 30);
  add(wa, 3, "c", 10);
  add_probe(list);
  run(list, "{Right}{Alt-O}{Alt-Q}{Esc}");
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_EQ(probes[0].current, "a");
  EXPECT_EQ(wa.order_count(), 1);
  EXPECT_EQ(wa.order(), 1);
  EXPECT_EQ(wa.order_at(1)->path, own);
  EXPECT_EQ(column(wa, "DESCR"), (Rows{"c", "b", "a"}));
  for (const auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string().substr(0, 3), "SRT") << e.path();
  // The own order still follows changes.
  wa.go_top();
  wa.replace_number("LINHA", 99);
  wa.commit();
  EXPECT_EQ(column(wa, "DESCR"), (Rows{"b", "a", "c"}));
}
