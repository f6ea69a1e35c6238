// The carnê-leão is computed month by month with the monthly table.
#include <gtest/gtest.h>

#include "tax/carne_leao.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

namespace {

const std::string kDep = "11111111111";

// Titular with one dependant, items by month (mode 1):
//   individuals: Jan 3000, Feb 100, Mar 171.97, Apr 5000
//   own social security: Jan 200, Apr 200; alimony (code 30): Apr 300
//   carnê-leão paid: Jan 100, Apr 300
// Dependant: individuals Jun 2000, social security Jun 100.
Declaracao titular_and_dependant() {
  Declaracao d;
  d.dependentes = {dependente(3, dt(1, 5, 2004), kDep)};
  d.rendimentos = {
      mensal("F", {{1, "3000"}, {2, "100"}, {3, "171.97"}, {4, "5000"}}),
      mensal("P", {{1, "200"}, {4, "200"}}),
      mensal("I", {{1, "100"}, {4, "300"}}),
      mensal("F", {{6, "2000"}}, kDep),
      mensal("P", {{6, "100"}}, kDep),
  };
  Pagamento alimony = pagamento(30, "300");
  alimony.I6_4mm[3] = D("300");
  d.pagamentos = {alimony};
  return d;
}

}  // namespace

TEST(CarneLeao, MonthByMonthWithTheDependantAmount) {
  const Declaracao d = titular_and_dependant();
  const CarneLeao r = FDE_LEAO(d, 1);
  ASSERT_EQ(r.linhas.size(), 2u);
  const LinhaMensal& tit = r.linhas[0];
  struct Month { int m; const char* deductions; const char* due; const char* why; };
  const Month months[] = {
      {1, "371.97", "73.60", "3000 - (200 + 171.97) = 2628.03; x 0.15 - 320.60 = 73.6045"},
      {2, "0", "0", "100 is below the dependant amount 171.97: no deduction"},
      {3, "171.97", "0", "income exactly 171.97 gets the amount; base 0"},
      {4, "671.97", "399.63", "5000 - (200 + 300 + 171.97) = 4328.03; x 0.275 - 790.58 = 399.62825"},
      {5, "0", "0", "nothing received"},
  };
  for (const auto& m : months) {
    const auto k = static_cast<std::size_t>(m.m - 1);
    EXPECT_EQ(tit.I2[DEDUCOES][k], D(m.deductions)) << m.why;
    EXPECT_EQ(tit.I2[LEAO_DEVIDO][k], D(m.due)) << m.why;
  }
  EXPECT_EQ(r.NTOTDEP, D("515.91"));   // 3 months x 171.97
  EXPECT_EQ(r.PENSAOM, D("300"));
  EXPECT_EQ(r.CARNEINSS, D("400"));    // the titular's social security, once
  EXPECT_EQ(r.CARNEDEPEN, D("100"));
  EXPECT_EQ(r.I13_03, D("8271.97"));   // 3000 + 100 + 171.97 + 5000
  EXPECT_EQ(r.I13_04, D("2000"));
  // The larger of paid and due: Jan 100 (due 73.60), Apr 399.63 (paid 300).
  EXPECT_EQ(r.I13_29, D("499.63"));
  // Dependant, June: 2000 - 100 = 1900; x 0.075 - 128.31 = 14.19
  EXPECT_EQ(r.I13_30, D("14.19"));
}

TEST(CarneLeao, OnlyTheTaxPaidCountsWhenChosen) {
  Declaracao d = titular_and_dependant();
  d.SO_REC = true;
  const CarneLeao r = FDE_LEAO(d, 1);
  EXPECT_EQ(r.I13_29, D("400"));  // 100 + 300 paid
  EXPECT_EQ(r.I13_30, D("0"));    // the dependant paid nothing
}

TEST(CarneLeao, DependantsSocialSecurityAddsUpOverAllDependants) {
  Declaracao d;
  d.dependentes = {dependente(3, dt(1, 1, 2000), "1"), dependente(4, dt(1, 1, 2002), "2")};
  d.rendimentos = {mensal("P", {{2, "150"}}, "1"), mensal("P", {{3, "250"}}, "2")};
  EXPECT_EQ(FDE_LEAO(d, 2).CARNEDEPEN, D("400"));
}

TEST(CarneLeao, CashBookModeUsesTheDates) {
  Declaracao d;
  d.CAL_AUTO = 3;
  ItemRendimento dated;
  dated.I1_1 = "F";
  dated.I1_11 = "S";
  dated.I1_4 = D("3000");
  dated.DT_LC = dt(10, 5, 2013);
  ItemRendimento undated = dated;
  undated.DT_LC = Date();
  undated.I1_4 = D("9000");
  d.rendimentos = {dated, undated, mensal("P", {{6, "1000"}}), mensal("P", {{6, "500"}})};
  const CarneLeao r = FDE_LEAO(d, 0);
  EXPECT_EQ(r.I13_03, D("3000"));       // the undated item does not count
  EXPECT_EQ(r.CARNEINSS, D("1500"));
  EXPECT_EQ(r.I13_29, D("129.40"));     // May: 3000 x 0.15 - 320.60
}

TEST(CarneLeao, TypedTotalsMode) {
  Declaracao d;
  d.CAL_AUTO = 2;
  d.CARNEINSS = D("250");
  LinhaMensal row;
  row.I2[PES_FISICA][0] = D("3000");
  row.I2[LIVRO_CAIXA][1] = D("100");
  row.I2[PES_FISICA][1] = D("2100");
  d.mensal = {row};
  d.rendimentos = {mensal("F", {{1, "99999"}})};  // items are not read in this mode
  const CarneLeao r = FDE_LEAO(d, 0);
  EXPECT_EQ(r.CARNEINSS, D("250"));
  EXPECT_EQ(r.I13_03, D("5100"));
  EXPECT_EQ(r.I13_18, D("100"));
  // Jan 129.40; Feb 2100 - 100 = 2000 -> 21.69
  EXPECT_EQ(r.I13_29, D("151.09"));
}

TEST(CarneLeao, MonthsPaidShortAreCorrectedUpToThePaymentDate) {
  // SELIC 0.5 % a month from March 2013 to June 2014.
  std::vector<TaxaSelic> selic;
  for (int ym = 2013 * 12 + 2; ym <= 2014 * 12 + 5; ++ym) selic.push_back({ym / 12, ym % 12 + 1, D("0.5")});
  struct Case { const char* what; int month; Date paid; const char* corrected; };
  const Case cases[] = {
      // due Thu 28/02/2013, counted from Fri 01/03/2013: far over 60 days, fine
      // 20 %; interest 1 + SELIC of 03/2013 .. 03/2014 (13 x 0.5) = 7.5 %
      // (the months after the payment month do not count)
      {"January, paid in April 2014", 1, dt(30, 4, 2014), "127.50"},
      // due Fri 31/01/2014, counted from Mon 03/02/2014 to 10/02: 8 days,
      // fine 2.64 %; paid the month after the due month: interest 1 %
      {"December, paid a week late", 12, dt(10, 2, 2014), "103.64"},
      // due Tue 31/12/2013 moved back to Mon 30/12, counted from 31/12:
      // 1 day, 0.33 %; paid in the due month: 1 %
      {"November, paid the day after", 11, dt(31, 12, 2013), "101.33"},
      {"paid by the due date: the difference alone", 1, dt(28, 2, 2013), "100"},
  };
  for (const auto& c : cases) {
    LinhaMensal row;
    const auto k = static_cast<std::size_t>(c.month - 1);
    row.I2[LEAO_DEVIDO][k] = D("150");
    row.I2[LEAO_PAGO][k] = D("50");
    row.I2[LEAO_DEVIDO][5] = D("80");  // June paid in full: nothing to correct
    row.I2[LEAO_PAGO][5] = D("80");
    const Meses out = CORR_DARF(row, c.paid, selic);
    EXPECT_EQ(out[k], D(c.corrected)) << c.what;
    EXPECT_EQ(out[5], D("0")) << c.what;
  }
}
