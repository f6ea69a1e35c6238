// The matrix editor and the monthly-values window: cell edits through the
// column picture, refused cells, totals, leaving keys, and the window
// opened from a list column.
#include "items_fixture.hpp"

#include "base/codepage.hpp"
#include "base/picture.hpp"
#include "items/monthly_window.hpp"
#include "platform/keys.hpp"

using namespace tx;
using namespace tx::items;
using namespace tx::items::test;

namespace {

std::array<Decimal, 12> months(std::initializer_list<const char*> values) {
  std::array<Decimal, 12> a{};
  std::size_t i = 0;
  for (auto v : values) a[i++] = Decimal::val(v);
  return a;
}

struct MatrixTest : ItemsFixture {
  std::string seen;
  MatrixTest() {
    screen.on_wait = [this] { seen += con->screen_text(); };
  }
  void run_matrix(Matrix& m, const MatrixDescriptor& d, const std::string& script) {
    ASSERT_TRUE(con->append_script(script));
    ed.MOSBROW(m, d);
    EXPECT_FALSE(con->script_exhausted()) << con->exhausted_message();
    EXPECT_EQ(con->events_left(), 0u);
  }
};

}  // namespace

TEST(MonthlyMatrix, DollarsAreCutToTwoDecimalsAndRowThirteenHoldsTheTotals) {
  struct Case { const char* jan; const char* feb; int rate; const char* usd_jan; const char* usd_feb; const char* total; const char* usd_total; };
  const Case cases[] = {
      {"10", "20", 4, "2.5", "5", "30", "7.5"},
      {"10", "20", 3, "3.33", "6.66", "30", "9.99"},   // cut, never rounded up
      {"10", "20", 0, "0", "0", "30", "0"},           // no rate known
      {"-7.5", "0", 2, "-3.75", "0", "-7.5", "-3.75"},
  };
  for (const auto& c : cases) {
    MonthRate rate = [r = c.rate](int) { return Decimal(r); };
    Matrix m = monthly_matrix(months({c.jan, c.feb}), rate);
    ASSERT_EQ(m.row_count(), 13);
    EXPECT_EQ(m.at(1, 1).substr(0, 7), "Janeiro");
    EXPECT_EQ(m.number(1, 3), Decimal::val(c.usd_jan)) << c.jan << "/" << c.rate;
    EXPECT_EQ(m.number(2, 3), Decimal::val(c.usd_feb)) << c.feb << "/" << c.rate;
    EXPECT_EQ(m.number(13, 2), Decimal::val(c.total));
    EXPECT_EQ(m.number(13, 3), Decimal::val(c.usd_total));
  }
}

TEST_F(MatrixTest, EditsGoThroughThePictureAndTheTotalRowIsRefused) {
  MonthRate rate = [](int) { return Decimal(4); };
  Matrix m = monthly_matrix(months({"10", "20"}), rate);
  run_matrix(m, monthly_descriptor(rate), "5{Enter}{Down*12}{Enter}{Tick}{Enter}{Tick}7{Tick}{Enter}{Tick}{Esc}");
  EXPECT_EQ(m.number(1, 2), Decimal(5));
  EXPECT_EQ(m.number(1, 3), Decimal::val("1.25"));
  EXPECT_EQ(m.number(13, 2), Decimal(25));
  EXPECT_EQ(m.number(13, 3), Decimal::val("6.25"));
  EXPECT_EQ(m.at(1, 2), TRANSFORM(Decimal(5), "@Ez 9999,999.99"));
  EXPECT_NE(seen.find("Não é permitido inserir valor nesse campo."), std::string::npos);
  EXPECT_EQ(ed.ULTTECLA, key::kEsc);
}

TEST_F(MatrixTest, LeavingKeysAndFrozenColumns) {
  MatrixDescriptor d = monthly_descriptor({});
  d.leave_keys = {key::F(3)};
  struct Case { const char* script; int key; };
  const Case cases[] = {{"{F1}", key::kF1}, {"{F4}{F3}", key::F(3)}, {"{Left}{Home}{Shift-Tab}", key::kShiftTab}};
  for (const auto& c : cases) {
    Matrix m = monthly_matrix({}, {});
    run_matrix(m, d, std::string("{Tick}") + c.script);
    EXPECT_EQ(ed.ULTTECLA, c.key) << c.script;
    EXPECT_TRUE(ed.TECLAMUDA);
  }
  // The month names are frozen: Left and Home never edit them.
  Matrix m = monthly_matrix({}, {});
  run_matrix(m, d, "{Tick}{Left}{Home}3{Enter}{Esc}");
  EXPECT_EQ(m.at(1, 1).substr(0, 7), "Janeiro");
  EXPECT_EQ(m.number(1, 2), Decimal(3));
}

TEST_F(MatrixTest, CellClipboardCopiesNumbers) {
  Matrix m = monthly_matrix(months({"12.5"}), {});
  run_matrix(m, monthly_descriptor({}), "{Alt-M}{Down}{Alt-C}{Esc}");
  EXPECT_EQ(m.number(2, 2), Decimal::val("12.5"));
  EXPECT_EQ(m.number(13, 2), Decimal(25));
}

TEST_F(MatrixTest, MonthlyWindowFromAListColumnWritesTheMonthsAndTheTotal) {
  storage::WorkArea& wa = open(5, numbered_fields());
  ListDescriptor list = numbered_list();
  add_probe(list);
  ed.dollar_rate = [](int) { return Decimal(2); };
  // The empty list: Alt-U on the value column creates the row first.
  ASSERT_TRUE(con->append_script("{Right*2}{Alt-U}100{Enter}{Down}{Left}50{Enter}{Esc}{Tick}{Alt-Q}{Esc}"));
  ed.EDITA(list);
  EXPECT_EQ(con->events_left(), 0u);
  ASSERT_EQ(wa.reccount(), 1u);
  wa.go(1);
  EXPECT_EQ(wa.get_number("VALOR"), Decimal(150));
  EXPECT_EQ(wa.get_number("VAL01"), Decimal(100));
  EXPECT_EQ(wa.get_number("VAL02"), Decimal(50));
  EXPECT_EQ(wa.get_number("VAL03"), Decimal(0));
  EXPECT_EQ(wa.trimmed("CPF"), kCpf);
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_EQ(probes[0].opc, 5);
  EXPECT_EQ(probes[0].ponteiro, 3);
  // Opened again it shows the months kept with the row; Alt-U elsewhere does nothing.
  ASSERT_TRUE(con->append_script("{Alt-U}{Right*2}{Alt-U}{Down}0{Enter}{Esc}{Tick}{Esc}"));
  ed.EDITA(list);
  wa.go(1);
  EXPECT_EQ(wa.get_number("VALOR"), Decimal(100));
  EXPECT_EQ(wa.get_number("VAL02"), Decimal(0));
  EXPECT_EQ(ed.ULTTECLA, key::kEsc);
}
