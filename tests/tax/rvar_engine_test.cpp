// Variable-income monthly sheets: recomputation, typing rules, records of
// table 07 and the annual totals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "tax/rvar_engine.hpp"
#include "tax/rvar_parameters.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax::rvar;
using tx::tax::testing::D;

namespace {

struct Cell {
  int row;
  int month;
  const char* value;
};

// A sheet of the kind and person with the typed cells written, recomputed.
Planilha sheet_with(char kind, std::vector<Cell> typed, const std::string& person = "") {
  Planilha p = nova_planilha(kind, person);
  for (const auto& c : typed) p.cel(c.row, c.month) = D(c.value);
  EXPECT_TRUE(recalcula(p).ok);
  return p;
}

std::vector<Registro07> records_of(char kind, std::vector<Cell> typed, const std::string& person = "") {
  return registros_da_planilha(sheet_with(kind, std::move(typed), person), "11111111111");
}

Registro07 rec(const char* kind, int row, int month, const char* value, const std::string& person = "",
               int tipo = kTipoBemRendaVariavel) {
  Registro07 r;
  r.CPF = "11111111111";
  r.RVAR_NRO = row;
  r.DAY_TRADE = kind;
  r.TIPO_BEM = tipo;
  r.CPF_DEPE = person;
  r.REC_MES[month - 1] = D(value);
  return r;
}

std::vector<int> rows_of(const std::vector<Registro07>& rs) {
  std::vector<int> out;
  for (const auto& r : rs) out.push_back(r.RVAR_NRO);
  return out;
}

const std::string kDep = "22222222222";

}  // namespace

TEST(RvarParameters, Rates) {
  EXPECT_EQ(kTaxaOperacaoComum, D("0.15"));
  EXPECT_EQ(kTaxaDayTrade, D("0.20"));
  EXPECT_EQ(kTaxaFundos, D("0.20"));
}

TEST(RvarCell, KeptThroughThePicture) {
  struct Case { const char* in; bool fits; const char* kept; };
  const Case cases[] = {
      {"0", true, "0"},
      {"1.005", true, "1.01"},          // half away from zero
      {"-1.005", true, "-1.01"},
      {"1.0049", true, "1.00"},
      {"999999999.99", true, "999999999.99"},   // nine integer digits
      {"999999999.995", false, "0"},            // rounds to 1 000 000 000.00
      {"1000000000", false, "0"},
      {"-99999999.99", true, "-99999999.99"},   // the sign takes a digit place
      {"-100000000", false, "0"},
  };
  for (const auto& c : cases) {
    auto got = guarda_celula(D(c.in));
    ASSERT_EQ(got.has_value(), c.fits) << c.in;
    if (c.fits) {
      EXPECT_EQ(*got, D(c.kept)) << c.in;
    }
  }
}

// Common (kind 1) and day-trade (kind 2) sheets. Figures by hand:
//  r14 = rows 1..13; r = r14 + r15; r15(m+1) = r if r < 0; r16 = r > 0; r17 = r < 0;
//  r18 = r16 x 15 % (kind 1), r19 = r16 x 20 % (kind 2), each to the cent;
//  r20 = r18 + r19; d = r20 - r21 - r22; r23 = -d if d < 0;
//  w = r24 + r25; d < 0: r26 = w, r27 = 0; else t = d - w: t > 0 -> r27 = t, else r26 = -t;
//  r22(m+1) = r23(m), r25(m+1) = r26(m).
TEST(RvarSheet, CommonAndDayTradeRows) {
  struct Case {
    const char* why;
    char kind;
    std::vector<Cell> typed;
    std::vector<Cell> expected;
  };
  const Case cases[] = {
      {"Jan 10000 - 2000 = 8000, tax 1200, less 0.40 withheld: 1199.60", kComum,
       {{1, 1, "10000.00"}, {4, 1, "-2000.00"}, {24, 1, "0.40"}},
       {{14, 1, "8000"}, {16, 1, "8000"}, {17, 1, "0"}, {18, 1, "1200"}, {19, 1, "0"}, {20, 1, "1200"},
        {23, 1, "0"}, {26, 1, "0"}, {27, 1, "1199.60"}, {15, 2, "0"}, {27, 2, "0"}}},
      {"Jan loss 5000, Feb gain 3000: 2000 still open in Feb, carried to Mar; Apr 2500 leaves 500", kComum,
       {{1, 1, "-5000"}, {1, 2, "3000"}, {1, 4, "2500"}},
       {{17, 1, "-5000"}, {16, 1, "0"}, {15, 2, "-5000"}, {16, 2, "0"}, {17, 2, "-2000"}, {18, 2, "0"},
        {27, 2, "0"}, {15, 3, "-2000"}, {17, 3, "-2000"}, {15, 4, "-2000"}, {16, 4, "500"}, {17, 4, "0"},
        {18, 4, "75"}, {27, 4, "75"}, {15, 5, "0"}}},
      {"a positive loss typed in Jan row 15 is made negative: 1500 - 1000 = 500, tax 75", kComum,
       {{15, 1, "1000"}, {1, 1, "1500"}},
       {{15, 1, "-1000"}, {16, 1, "500"}, {18, 1, "75"}, {27, 1, "75"}}},
      {"several markets summed: 100.10 + 200.20 - 50.05 + 0.01 = 250.26; x 15 % = 37.539 -> 37.54", kComum,
       {{1, 3, "100.10"}, {2, 3, "200.20"}, {8, 3, "-50.05"}, {13, 3, "0.01"}},
       {{14, 3, "250.26"}, {16, 3, "250.26"}, {18, 3, "37.54"}, {20, 3, "37.54"}, {27, 3, "37.54"}}},
      {"tax rounded to the cent: 333.33 x 15 % = 49.9995 -> 50.00", kComum,
       {{1, 1, "333.33"}},
       {{18, 1, "50.00"}, {27, 1, "50.00"}}},
      {"Lei 11.033 withheld 20 above the tax 15: 5 to carry, taken from Feb's 15 -> pay 10", kComum,
       {{1, 1, "100"}, {24, 1, "20"}, {1, 2, "100"}},
       {{18, 1, "15"}, {26, 1, "5"}, {27, 1, "0"}, {25, 2, "5"}, {26, 2, "0"}, {27, 2, "10"}, {25, 3, "0"}}},
      {"day trade: base 1000, tax 200, withheld 250: 50 carried into Feb row 22; Jan row 25 = 3 kept in "
       "row 26; Feb 1000: 200 - 50 = 150, less 3 -> 147",
       kDayTrade,
       {{1, 1, "1000"}, {21, 1, "250"}, {25, 1, "3"}, {1, 2, "1000"}},
       {{19, 1, "200"}, {18, 1, "0"}, {20, 1, "200"}, {23, 1, "50"}, {26, 1, "3"}, {27, 1, "0"},
        {22, 2, "50"}, {25, 2, "3"}, {19, 2, "200"}, {23, 2, "0"}, {26, 2, "0"}, {27, 2, "147"},
        {22, 3, "0"}, {25, 3, "0"}}},
      {"day trade tax to the cent: 0.03 x 20 % = 0.006 -> 0.01", kDayTrade,
       {{1, 5, "0.03"}},
       {{19, 5, "0.01"}, {27, 5, "0.01"}}},
      {"day trade: a common tax loaded in row 18 is kept and added", kDayTrade,
       {{18, 1, "12.00"}, {1, 1, "100"}},
       {{18, 1, "12"}, {19, 1, "20"}, {20, 1, "32"}, {27, 1, "32"}}},
      {"December's loss stays open in row 17", kComum,
       {{1, 12, "-100"}},
       {{17, 12, "-100"}, {16, 12, "0"}, {15, 12, "0"}}},
  };
  for (const auto& c : cases) {
    Planilha p = sheet_with(c.kind, c.typed);
    for (const auto& e : c.expected)
      EXPECT_EQ(p.cel(e.row, e.month), D(e.value)) << c.why << " row " << e.row << " month " << e.month;
  }
}

// Funds sheet: r = r1 + r2; r < 0: r3 = 0, r4 = r, r2(m+1) = r; else r3 = r, r4 = 0;
// r5 = r3 x 20 %.
TEST(RvarSheet, FundsRows) {
  struct Case {
    const char* why;
    std::vector<Cell> typed;
    std::vector<Cell> expected;
  };
  const Case cases[] = {
      {"Jan -1000, Feb 3000: Feb row 2 = -1000, base 2000, tax 400",
       {{1, 1, "-1000"}, {1, 2, "3000"}},
       {{3, 1, "0"}, {4, 1, "-1000"}, {5, 1, "0"}, {2, 2, "-1000"}, {3, 2, "2000"}, {4, 2, "0"},
        {5, 2, "400"}, {2, 3, "0"}}},
      {"a positive carried loss in Jan row 2 is made negative: 800 - 500 = 300, tax 60",
       {{2, 1, "500"}, {1, 1, "800"}},
       {{2, 1, "-500"}, {3, 1, "300"}, {5, 1, "60"}}},
      {"tax to the cent: 0.03 x 20 % = 0.006 -> 0.01; paid row 6 kept",
       {{1, 5, "0.03"}, {6, 5, "0.01"}},
       {{3, 5, "0.03"}, {5, 5, "0.01"}, {6, 5, "0.01"}}},
  };
  for (const auto& c : cases) {
    Planilha p = sheet_with(kFundos, c.typed);
    for (const auto& e : c.expected)
      EXPECT_EQ(p.cel(e.row, e.month), D(e.value)) << c.why << " row " << e.row << " month " << e.month;
  }
}

TEST(RvarSheet, ValueTooLargeForItsCellIsRefused) {
  Planilha p = nova_planilha(kComum);
  p.cel(1, 3) = D("999999999.99");
  p.cel(2, 3) = D("0.01");
  const Planilha before = p;
  Resultado r = recalcula(p);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.estouro.linha, 14);
  EXPECT_EQ(r.estouro.mes, 3);
  EXPECT_EQ(r.estouro.valor, D("1000000000"));
  EXPECT_EQ(p.linhas, before.linhas);  // left as it was, not turned into 0

  Planilha q = sheet_with(kComum, {{1, 1, "10"}});
  const Planilha q_before = q;
  Resultado t = digita(q, 2, 1, D("2000000000"));
  EXPECT_FALSE(t.ok);
  EXPECT_EQ(t.estouro.linha, 2);
  EXPECT_EQ(q.linhas, q_before.linhas);
}

TEST(RvarTyping, WhichCellsMayBeTyped) {
  const std::string refused = "Não é permitido inserir valor nesse campo."_cp.str();
  const std::string common = "Lance o valor do imposto pago na operação comum"_cp.str();
  struct Case { char kind; int row; int month; bool allowed; std::string message; };
  const Case cases[] = {
      {kFundos, 1, 5, true, ""},      {kFundos, 6, 12, true, ""},     {kFundos, 2, 1, true, ""},
      {kFundos, 2, 2, false, refused}, {kFundos, 3, 1, false, refused}, {kFundos, 5, 1, false, refused},
      {kComum, 1, 1, true, ""},       {kComum, 13, 7, true, ""},      {kComum, 14, 1, true, ""},
      {kComum, 19, 1, false, ""},     {kComum, 24, 1, true, ""},      {kComum, 26, 3, true, ""},
      {kComum, 27, 1, false, refused}, {kComum, 28, 1, true, ""},
      {kDayTrade, 18, 1, true, ""},   {kDayTrade, 19, 2, false, ""},  {kDayTrade, 24, 1, false, common},
      {kDayTrade, 27, 4, false, refused}, {kDayTrade, 28, 1, false, common}, {kDayTrade, 21, 1, true, ""},
  };
  for (const auto& c : cases) {
    Digitacao d = pode_digitar(nova_planilha(c.kind), c.row, c.month);
    EXPECT_EQ(d.permitido, c.allowed) << c.kind << " row " << c.row << " month " << c.month;
    EXPECT_EQ(d.mensagem, c.message) << c.kind << " row " << c.row << " month " << c.month;
  }
}

TEST(RvarTyping, TypedCellIsRecomputed) {
  Planilha p = nova_planilha(kComum);
  ASSERT_TRUE(digita(p, 16, 1, D("999")).ok);  // a computed cell: replaced
  EXPECT_EQ(p.cel(16, 1), D("0"));
  ASSERT_TRUE(digita(p, 15, 1, D("400")).ok);  // a carried-in loss: negative
  EXPECT_EQ(p.cel(15, 1), D("-400"));
  EXPECT_EQ(p.cel(15, 2), D("-400"));
  ASSERT_TRUE(digita(p, 1, 2, D("1000.004")).ok);  // kept to the cent
  EXPECT_EQ(p.cel(1, 2), D("1000.00"));
  EXPECT_EQ(p.cel(16, 2), D("600"));
  EXPECT_EQ(p.cel(18, 2), D("90"));
}

TEST(RvarRecords, OneRecordPerNonZeroRow) {
  // Common: 10000 in Jan -> rows 1, 14, 16, 18 (1500), 20, 27.
  auto common = records_of(kComum, {{1, 1, "10000"}});
  EXPECT_EQ(rows_of(common), (std::vector<int>{1, 14, 16, 18, 20, 27}));
  for (const auto& r : common) {
    EXPECT_EQ(r.CPF, "11111111111");
    EXPECT_EQ(r.BEM_NRO, 0);
    EXPECT_EQ(r.DAY_TRADE, "1");
    EXPECT_EQ(r.TIPO_BEM, 4);
    EXPECT_EQ(r.CPF_DEPE, "");
  }
  EXPECT_EQ(common[3].REC_MES[0], D("1500"));
  // Day trade: rows 27 and 28 are not stored.
  auto dt = records_of(kDayTrade, {{1, 1, "1000"}}, kDep);
  EXPECT_EQ(rows_of(dt), (std::vector<int>{1, 14, 16, 19, 20}));
  EXPECT_EQ(dt[0].CPF_DEPE, kDep);
  EXPECT_EQ(dt[0].DAY_TRADE, "2");
  // Funds: Jan -1000, Feb 3000 -> rows 1, 2 (Feb), 3 (Feb), 4 (Jan), 5 (Feb).
  auto funds = records_of(kFundos, {{1, 1, "-1000"}, {1, 2, "3000"}});
  EXPECT_EQ(rows_of(funds), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(funds[1].REC_MES[1], D("-1000"));
  // An empty sheet has no records.
  EXPECT_TRUE(registros_da_planilha(nova_planilha(kComum), "1").empty());
}

TEST(RvarRecords, SaveThenLoadGivesTheSameSheet) {
  struct Case { char kind; std::vector<Cell> typed; };
  const Case cases[] = {
      {kComum, {{1, 1, "10000"}, {4, 1, "-2000"}, {24, 1, "0.40"}, {28, 2, "1199.60"}, {15, 1, "300"}}},
      {kDayTrade, {{1, 1, "1000"}, {21, 1, "250"}, {1, 3, "-70"}}},
      {kFundos, {{1, 1, "-1000"}, {1, 2, "3000"}, {6, 3, "400"}}},
  };
  for (const auto& c : cases) {
    Planilha p = sheet_with(c.kind, c.typed, kDep);
    auto stored = grava_planilha({}, p, "11111111111");
    Carga back = carrega_planilha(stored, c.kind, kDep);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.planilha.linhas, p.linhas) << c.kind;
    // Another person sees none of it.
    Carga other = carrega_planilha(stored, c.kind, "");
    EXPECT_EQ(other.planilha.linhas, nova_planilha(c.kind).linhas) << c.kind;
  }
}

TEST(RvarRecords, CommonSheetShowsTheDayTradeTax) {
  std::vector<Registro07> rs = grava_planilha({}, sheet_with(kComum, {{1, 1, "10000"}}), "11111111111");
  rs = grava_planilha(rs, sheet_with(kDayTrade, {{1, 1, "1000"}}), "11111111111");
  // Common: row 18 1500, row 19 from the day-trade record 200 -> 1700.
  Carga c = carrega_planilha(rs, kComum, "");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.planilha.cel(18, 1), D("1500"));
  EXPECT_EQ(c.planilha.cel(19, 1), D("200"));
  EXPECT_EQ(c.planilha.cel(20, 1), D("1700"));
  EXPECT_EQ(c.planilha.cel(1, 1), D("10000"));
  // Day trade: its own market rows only, row 18 as loaded from the common record.
  Carga d = carrega_planilha(rs, kDayTrade, "");
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.planilha.cel(1, 1), D("1000"));
  EXPECT_EQ(d.planilha.cel(18, 1), D("1500"));
  EXPECT_EQ(d.planilha.cel(19, 1), D("200"));
  EXPECT_EQ(d.planilha.cel(20, 1), D("1700"));
  // Rows 24 and 28 come only from records of the shown kind, never on the day-trade sheet.
  std::vector<Registro07> odd = {rec("2", 24, 1, "5"), rec("2", 28, 1, "6"), rec("1", 28, 1, "7")};
  EXPECT_EQ(carrega_planilha(odd, kDayTrade, "").planilha.cel(24, 1), D("0"));
  EXPECT_EQ(carrega_planilha(odd, kDayTrade, "").planilha.cel(28, 1), D("0"));
  EXPECT_EQ(carrega_planilha(odd, kComum, "").planilha.cel(24, 1), D("0"));
  EXPECT_EQ(carrega_planilha(odd, kComum, "").planilha.cel(28, 1), D("7"));
}

TEST(RvarRecords, SavingReplacesOnlyThePersonsSheet) {
  Registro07 capital = rec("", 1, 1, "50");
  capital.TIPO_BEM = 1;
  capital.BEM_NRO = 3;
  const std::vector<Registro07> before = {rec("1", 5, 1, "99"), capital, rec("1", 1, 1, "70", kDep),
                                          rec("2", 1, 1, "40")};
  auto after = grava_planilha(before, sheet_with(kComum, {{1, 1, "100"}}), "11111111111");
  // Kept: the capital gain, the dependant's row, the day-trade row; the old
  // row 5 is gone; the new rows 1, 14, 16, 18, 20, 27 appended.
  ASSERT_EQ(after.size(), 9u);
  EXPECT_EQ(after[0], capital);
  EXPECT_EQ(after[1], before[2]);
  EXPECT_EQ(after[2], before[3]);
  EXPECT_EQ(rows_of({after.begin() + 3, after.end()}), (std::vector<int>{1, 14, 16, 18, 20, 27}));
}

TEST(RvarRecords, FundsRecordsAboveRowSixAreFoldedAndRemoved) {
  // Stored: row 1 Jan 1000, row 9 Jan -300 (shown in row 2), row 21 Mar 50 (row 6).
  const std::vector<Registro07> stored = {rec("3", 1, 1, "1000"), rec("3", 9, 1, "-300"),
                                          rec("3", 21, 3, "50"), rec("1", 1, 1, "10"),
                                          rec("3", 1, 1, "5", kDep)};
  Carga c = carrega_planilha(stored, kFundos, "");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.planilha.cel(2, 1), D("-300"));
  EXPECT_EQ(c.planilha.cel(3, 1), D("700"));
  EXPECT_EQ(c.planilha.cel(5, 1), D("140"));
  EXPECT_EQ(c.planilha.cel(6, 3), D("50"));
  EXPECT_EQ(c.planilha.cel(1, 1), D("1000"));

  auto after = grava_planilha(stored, c.planilha, "11111111111");
  // Row 1 updated in place; rows 9 and 21 gone; rows 2, 3, 5, 6 appended.
  ASSERT_EQ(after.size(), 7u);
  EXPECT_EQ(after[0].RVAR_NRO, 1);
  EXPECT_EQ(after[0].REC_MES[0], D("1000"));
  EXPECT_EQ(after[1], stored[3]);
  EXPECT_EQ(after[2], stored[4]);
  EXPECT_EQ(rows_of({after.begin() + 3, after.end()}), (std::vector<int>{2, 3, 5, 6}));
  for (const auto& r : after) EXPECT_LE(r.RVAR_NRO, 6);

  // A cleared row loses its record.
  Planilha cleared = c.planilha;
  for (auto& v : cleared.linhas[5]) v = Decimal(0);
  auto again = grava_planilha(after, cleared, "11111111111");
  EXPECT_EQ(rows_of({again.begin() + 3, again.end()}), (std::vector<int>{2, 3, 5}));
}

TEST(RvarRecords, StoredValueTooLargeForTheCellIsRefused) {
  Carga c = carrega_planilha({rec("1", 1, 4, "5000000000")}, kComum, "");
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.estouro.linha, 1);
  EXPECT_EQ(c.estouro.mes, 4);
}

// Annual totals. Rules: row 14 (and funds row 3) < 0 -> PREJRVA, else LUCRRVA
// (funds row 3 also I4_03); row 16 -> I4_03; kind 2 row 21, kind 1 rows 24
// and 28, funds row 6 -> I13_47; per sheet: Jan row 15 (funds row 2) less
// Dec row 17 (funds row 4) while negative, then its opposite when negative;
// I4_03 -= I13_47, at least 0; PREJRVA made positive.
TEST(RvarAnnual, TotalsFromTheRecords) {
  struct Case {
    const char* why;
    std::vector<Registro07> records;
    const char* I3_20;
    const char* I4_03;
    const char* I13_47;
    const char* LUCRRVA;
    const char* PREJRVA;
  };
  auto join = [](std::vector<std::vector<Registro07>> parts) {
    std::vector<Registro07> out;
    for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  };
  const std::vector<Case> cases = {
      {"carried-in loss 5000, 2000 still open in Dec: 3000 recovered; Jun 3000 gain",
       records_of(kComum, {{15, 1, "5000"}, {1, 6, "3000"}}), "3000", "0", "0", "3000", "0"},
      {"no carried-in loss: Dec's open loss of 2000 recovers nothing", records_of(kComum, {{1, 3, "-2000"}}),
       "0", "0", "0", "0", "2000"},
      {"paid 500 above the base 100: I4_03 stays 0", records_of(kComum, {{1, 1, "100"}, {28, 1, "500"}}), "0",
       "0", "500", "100", "0"},
      {"common 8000 (paid 0.40 + 1199.60), day trade 1000 (withheld 250), funds 2000 (paid 400): "
       "bases 11000 - taxes 1850 = 9150",
       join({records_of(kComum, {{1, 1, "10000"}, {4, 1, "-2000"}, {24, 1, "0.40"}, {28, 2, "1199.60"}}),
             records_of(kDayTrade, {{1, 1, "1000"}, {21, 1, "250"}}),
             records_of(kFundos, {{1, 1, "-1000"}, {1, 2, "3000"}, {6, 3, "400"}})}),
       "0", "9150", "1850", "11000", "0"},
      {"rows of the other kind and other assets count nowhere: day-trade 28, common 21, TIPO_BEM 1",
       {rec("2", 28, 1, "50"), rec("1", 21, 1, "30"), rec("1", 16, 1, "999", "", 1), rec("2", 24, 1, "8")},
       "0", "0", "0", "0", "0"},
      {"funds carried-in loss 1000 in Jan row 2, none open in Dec: 1000 recovered; Mar base 500",
       records_of(kFundos, {{2, 1, "1000"}, {1, 3, "1500"}}), "1000", "500", "0", "500", "0"},
      {"funds loss open all year: nothing recovered, loss counted in row 4 only",
       records_of(kFundos, {{2, 1, "1000"}}), "0", "0", "0", "0", "0"},
  };
  for (const auto& c : cases) {
    TotaisRendaVariavel t = totais_anuais(c.records);
    EXPECT_EQ(t.I3_20, D(c.I3_20)) << c.why;
    EXPECT_EQ(t.I4_03, D(c.I4_03)) << c.why;
    EXPECT_EQ(t.I13_47, D(c.I13_47)) << c.why;
    EXPECT_EQ(t.LUCRRVA, D(c.LUCRRVA)) << c.why;
    EXPECT_EQ(t.PREJRVA, D(c.PREJRVA)) << c.why;
  }
}

// Titular common: carried-in 5000, 2000 open in Dec -> 3000; LUCRRVA 3000.
// Dependant common: no carried-in loss, Mar loss 4000 open in Dec -> 0; PREJRVA 4000.
// Dependant funds: carried-in 1000, Mar 1500 -> base 500, none open -> 1000;
//   LUCRRVA 500, I4_03 500, paid 100 in Apr.
// I3_20 = 3000 + 0 + 1000 = 4000 whatever the order of the records (one
// running sum over them would give 0 here: the dependant's open 4000 would
// cancel the titular's recovery).
TEST(RvarAnnual, SeveralSheetsGiveTheSameTotalsInAnyOrder) {
  std::vector<std::vector<Registro07>> sheets = {
      records_of(kComum, {{15, 1, "5000"}, {1, 6, "3000"}}),
      records_of(kComum, {{1, 3, "-4000"}}, kDep),
      records_of(kFundos, {{2, 1, "1000"}, {1, 3, "1500"}, {6, 4, "100"}}, kDep),
  };
  const TotaisRendaVariavel expected{D("4000"), D("400"), D("100"), D("3500"), D("4000")};
  std::vector<int> order = {0, 1, 2};
  int permutations = 0;
  do {
    std::vector<Registro07> all;
    for (int i : order) all.insert(all.end(), sheets[i].begin(), sheets[i].end());
    EXPECT_EQ(totais_anuais(all), expected) << order[0] << order[1] << order[2];
    std::reverse(all.begin(), all.end());
    EXPECT_EQ(totais_anuais(all), expected) << "reversed " << order[0] << order[1] << order[2];
    ++permutations;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(permutations, 6);
}
