// The annual and monthly tables, and the annual table reduced to the months
// of a final estate or departure declaration.
#include <gtest/gtest.h>

#include "tax/tax_table.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

TEST(TaxTable, AnnualBracketsAndHalfCents) {
  struct Case { const char* base; const char* tax; const char* why; };
  const Case cases[] = {
      {"20529.36", "0.00", "top of the exempt bracket"},
      {"20529.37", "0.00", "20529.37 x 0.075 - 1539.70 = 0.00275 -> 0.00"},
      {"30766.92", "767.82", "30766.92 x 0.075 = 2307.519 - 1539.70 = 767.819"},
      {"41023.08", "2306.24", "41023.08 x 0.15 = 6153.462 - 3847.22 = 2306.242"},
      {"51259.08", "4609.34", "51259.08 x 0.225 = 11533.293 - 6923.95 = 4609.343"},
      {"60000", "7013.09", "60000 x 0.275 = 16500 - 9486.91"},
      {"25000.60", "335.35", "25000.60 x 0.075 = 1875.045 - 1539.70 = 335.345: half up, not to even"},
      {"-100", "0.00", "a negative base is exempt"},
  };
  for (const auto& c : cases) EXPECT_EQ(CALC_IMPOS(ANUAL, D(c.base)), D(c.tax)) << c.why;
}

TEST(TaxTable, MonthlyBrackets) {
  struct Case { const char* base; const char* tax; const char* why; };
  const Case cases[] = {
      {"1710.78", "0.00", "top of the exempt bracket"},
      {"2000", "21.69", "2000 x 0.075 = 150 - 128.31"},
      {"3000", "129.40", "3000 x 0.15 = 450 - 320.60"},
      {"5000", "584.42", "5000 x 0.275 = 1375 - 790.58"},
  };
  for (const auto& c : cases) EXPECT_EQ(CALC_IMPOS(MENSAL, D(c.base)), D(c.tax)) << c.why;
}

TEST(TaxTable, ReducedTableKeepsExactBoundsAndRoundsHalfCentsUp) {
  struct Case { int months; const char* base; const char* tax; const char* why; };
  const Case cases[] = {
      // 6 months: bounds 10264.68 / 15383.46 / 20511.54 / 25629.54,
      // parcels 769.85 / 1923.61 / 3461.975 / 4743.455.
      {6, "10264.68", "0.00", "the halved exempt bound"},
      {6, "10300.20", "2.67", "10300.20 x 0.075 = 772.515 - 769.85 = 2.665 -> 2.67"},
      {6, "22000", "1488.03", "22000 x 0.225 = 4950 - 3461.975 = 1488.025 -> 1488.03"},
      {6, "40000", "6256.55", "40000 x 0.275 = 11000 - 4743.455 = 6256.545 -> 6256.55"},
      // 7 months: bounds 11975.46 / 17947.37 / 23930.13 / 29901.13,
      // parcel 2 = 3847.22 x 7 / 12 = 2244.2116666...
      {7, "11975.46", "0.00", "20529.36 x 7 / 12 = 11975.46 exactly"},
      {7, "20000", "755.79", "20000 x 0.15 = 3000 - 2244.21166 = 755.788"},
  };
  for (const auto& c : cases) EXPECT_EQ(CALC_IMPOS(ANUAL, D(c.base), c.months), D(c.tax)) << c.why;
}

TEST(TaxTable, MonthsOfTheYearCovered) {
  struct Case {
    const char* what;
    std::string DECFINAL, DECSAIDA;
    Date DATAPARTI, DATALAVRA, DATASAIDA, DATADECIS;
    int months;
    bool notice;
  };
  const Case cases[] = {
      {"ordinary declaration", "", "", {}, {}, {}, {}, 12, false},
      {"estate, partition in June", "S", "", dt(20, 6, 2013), dt(5, 3, 2013), {}, {}, 6, false},
      {"estate, deed in April only", "S", "", {}, dt(5, 4, 2013), {}, {}, 4, false},
      {"estate, partition in 2014", "S", "", dt(10, 2, 2014), {}, {}, {}, 12, false},
      {"estate without its dates", "S", "", {}, {}, {}, {}, 12, true},
      {"departure in September, resident until March", "", "S", {}, {}, dt(15, 9, 2013),
       dt(10, 3, 2013), 7, false},
      {"departure in September alone", "", "S", {}, {}, dt(15, 9, 2013), {}, 9, false},
      {"departure in 2014", "", "S", {}, {}, dt(15, 1, 2014), {}, 12, false},
      {"departure, decision in 2012", "", "S", {}, {}, dt(15, 9, 2013), dt(1, 11, 2012), 9, false},
      {"departure without its date", "", "S", {}, {}, {}, dt(10, 3, 2013), 12, true},
  };
  for (const auto& c : cases) {
    Declaracao d;
    d.DECFINAL = c.DECFINAL;
    d.DECSAIDA = c.DECSAIDA;
    d.DATAPARTI = c.DATAPARTI;
    d.DATALAVRA = c.DATALAVRA;
    d.DATASAIDA = c.DATASAIDA;
    d.DATADECIS = c.DATADECIS;
    std::vector<Aviso> avisos;
    EXPECT_EQ(MESES_TABELA(d, &avisos), c.months) << c.what;
    EXPECT_EQ(!avisos.empty(), c.notice) << c.what;
  }
}
