// Rural activity: monthly values, cash-book sums, result of the year and the
// totals handed to the declaration.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "tax/rural_parameters.hpp"
#include "tax/rural_result.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax::rural;
using tx::tax::testing::D;
using tx::tax::testing::dt;

namespace {

const std::string kBlank(14, ' ');

// ---------------------------------------------------------------------------
// Result of the year, activity in Brazil. Computed by hand:
//   I4R_03 = receipts - expenses
//   no option: I4R_03 <  I4R_04 -> I5_08 = I4R_04 - I4R_03,
//                                  I4R_05 = max(I4R_04 - I5_08, 0)
//              I4R_03 >= I4R_04 -> I5_08 = 0, I4R_05 = I4R_04
//              I4R_07 = max(I4R_03 - I4R_05, 0)
//   option:    I4R_05 = I5_08 = 0, I4R_07 = I4R_06 = receipts x 0.20
//   I6_10 = max(I4R_03 + I5_09 - I5_10 - I4R_07, 0)
//   year's loss: option -> -I4R_03 when negative; else max(I5_08 - I4R_04, 0)
//
// case                     rec      exp    prior opt  I5_09 I5_10 | I4R_03  I4R_05  I4R_06  I4R_07  I5_08  I6_10  loss
// result below prior     14000    10000   10000  N      0     0  |   4000    4000    2800       0   6000   4000     0
// loss with prior         7000    10000   10000  N      0     0  |  -3000       0    1400       0  13000      0  3000
// prior fully used       15000    10000    2000  N      0     0  |   5000    2000    3000    3000      0   2000     0
// result equals prior    13000    10000    3000  N      0     0  |   3000    3000    2600       0      0   3000     0
// 20 % option           100000    30000   10000  S      0     0  |  70000       0   20000   20000      0  50000     0
// 20 % option, loss     100000   105000       0  S      0     0  |  -5000       0   20000   20000      0      0  5000
// advances               80000    30000       0  N  10000  4000  |  50000       0   16000   50000      0   6000     0
// advances, negative     80000    30000       0  N      0  4000  |  50000       0   16000   50000      0      0     0
// cents on the 20 %    1234.57        0       0  S      0     0  |1234.57       0  246.91  246.91      0 987.66     0
//   (1234.57 x 0.20 = 246.914 -> 246.91; I6_10 = 1234.57 - 246.91 = 987.66)
// ---------------------------------------------------------------------------
struct CaseBrasil {
  const char* name;
  const char *rec, *exp, *prior, *opt, *adv, *deliv;
  const char *i4r03, *i4r05, *i4r06, *i4r07, *i5_08, *i6_10, *loss;
};

const CaseBrasil kBrasil[] = {
    {"result below prior", "14000", "10000", "10000", "N", "0", "0", "4000", "4000", "2800", "0", "6000", "4000", "0"},
    {"loss with prior", "7000", "10000", "10000", "N", "0", "0", "-3000", "0", "1400", "0", "13000", "0", "3000"},
    {"prior fully used", "15000", "10000", "2000", "N", "0", "0", "5000", "2000", "3000", "3000", "0", "2000", "0"},
    {"result equals prior", "13000", "10000", "3000", "N", "0", "0", "3000", "3000", "2600", "0", "0", "3000", "0"},
    {"20 % option", "100000", "30000", "10000", "S", "0", "0", "70000", "0", "20000", "20000", "0", "50000", "0"},
    {"20 % option, loss", "100000", "105000", "0", "S", "0", "0", "-5000", "0", "20000", "20000", "0", "0", "5000"},
    {"advances", "80000", "30000", "0", "N", "10000", "4000", "50000", "0", "16000", "50000", "0", "6000", "0"},
    {"advances, negative", "80000", "30000", "0", "N", "0", "4000", "50000", "0", "16000", "50000", "0", "0", "0"},
    {"cents on the 20 %", "1234.57", "0", "0", "S", "0", "0", "1234.57", "0", "246.91", "246.91", "0", "987.66", "0"},
};

TEST(RuralResult, BrazilTable) {
  for (const auto& c : kBrasil) {
    SCOPED_TRACE(c.name);
    EntradaResultado in;
    in.ATV_BRASIL = "S";
    in.I4R_01 = D(c.rec);
    in.I4R_02 = D(c.exp);
    in.I4R_04 = D(c.prior);
    in.OPT_20 = c.opt;
    in.I5_09 = D(c.adv);
    in.I5_10 = D(c.deliv);
    const ResultadoRural r = calcula_resultado(in);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.brasil);
    EXPECT_EQ(r.I4R_03, D(c.i4r03));
    EXPECT_EQ(r.I4R_05, D(c.i4r05));
    EXPECT_EQ(r.I4R_06, D(c.i4r06));
    EXPECT_EQ(r.I4R_07, D(c.i4r07));
    EXPECT_EQ(r.I5_08, D(c.i5_08));
    EXPECT_EQ(r.I6_10, D(c.i6_10));
    const Consolidacao k = calc_preju({}, r, {});
    EXPECT_EQ(k.PREJU_BR, D(c.loss));
    EXPECT_EQ(k.TRIB_BR, D(c.i4r07));
    EXPECT_EQ(k.NTRIB_BR, D(c.i6_10));
    EXPECT_EQ(k.PREJU_EX, D("0"));
  }
}

// In Brazil the option is OPT_20; OPT_20E belongs to the activity abroad.
// rec 100000, exp 30000, prior 10000, OPT_20 "N", OPT_20E "S":
//   no option -> I4R_05 10000, I4R_07 60000. A blank activity counts as Brazil.
TEST(RuralResult, BrazilReadsItsOwnOption) {
  EntradaResultado in;
  in.ATV_BRASIL = " ";
  in.I4R_01 = D("100000");
  in.I4R_02 = D("30000");
  in.I4R_04 = D("10000");
  in.OPT_20 = "N";
  in.OPT_20E = "S";
  const ResultadoRural r = calcula_resultado(in);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.brasil);
  EXPECT_FALSE(r.opcao20);
  EXPECT_EQ(r.I4R_05, D("10000"));
  EXPECT_EQ(r.I4R_07, D("60000"));
}

// A negative earlier-loss balance counts as none: result I 5000 stays taxable
// in full (it would otherwise "compensate" -1000 into 6000).
TEST(RuralResult, NegativePriorLossCountsAsNone) {
  EntradaResultado in;
  in.I4R_01 = D("5000");
  in.I4R_04 = D("-1000");
  const ResultadoRural r = calcula_resultado(in);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.I4R_05, D("0"));
  EXPECT_EQ(r.I4R_07, D("5000"));
  EXPECT_EQ(r.I5_08, D("0"));
}

// Leaving the complete model clears the earlier loss: case "loss with prior"
// with prior 0 -> I5_08 3000 (only the year's loss), year's loss 3000.
TEST(RuralResult, SimplifiedModelWithoutPriorLoss) {
  EntradaResultado in;
  in.I4R_01 = D("7000");
  in.I4R_02 = D("10000");
  in.I4R_04 = D("0");
  const ResultadoRural r = calcula_resultado(in);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.I5_08, D("3000"));
  EXPECT_EQ(calc_preju({}, r, {}).PREJU_BR, D("3000"));
}

// ---------------------------------------------------------------------------
// Abroad: I4R_01 = NTOTUS, I4R_03 = NTOTUS x dollar rounded to the cent,
// I4R_06 = NTOT20RS, option OPT_20E.
//
// case               NTOTUS   rate    NTOT20RS opt prior | I4R_03    I4R_05  I4R_06  I4R_07   I5_08
// default rate       1000.00  2.0429   500.00  N     0   | 2042.90       0   500.00  2042.90      0
// December rate      1234.57  2.3426   600.00  N  1000   | 2892.10    1000   600.00  1892.10      0
//   (1234.57 x 2.3426 = 2892.103682 -> 2892.10)
// option             1000.00  2.0429   500.00  S  1000   | 2042.90       0   500.00   500.00      0
// one cent           0.01     2.0429     0.00  N     0   |    0.02       0     0.00     0.02      0
//   (0.020429 -> 0.02: result I is kept rounded, never 0.020429)
// loss               -200.00  2.0429     0.00  N     0   | -408.58       0     0.00     0.00   408.58
// ---------------------------------------------------------------------------
struct CaseExterior {
  const char* name;
  const char *us, *rate, *rs20, *opt, *prior;
  const char *i4r03, *i4r05, *i4r06, *i4r07, *i5_08;
};

const CaseExterior kExterior[] = {
    {"default rate", "1000", "2.0429", "500", "N", "0", "2042.90", "0", "500", "2042.90", "0"},
    {"December rate", "1234.57", "2.3426", "600", "N", "1000", "2892.10", "1000", "600", "1892.10", "0"},
    {"option", "1000", "2.0429", "500", "S", "1000", "2042.90", "0", "500", "500", "0"},
    {"one cent", "0.01", "2.0429", "0", "N", "0", "0.02", "0", "0", "0.02", "0"},
    {"loss", "-200", "2.0429", "0", "N", "0", "-408.58", "0", "0", "0", "408.58"},
};

TEST(RuralResult, AbroadTable) {
  for (const auto& c : kExterior) {
    SCOPED_TRACE(c.name);
    EntradaResultado in;
    in.ATV_BRASIL = "N";
    in.NTOTUS = D(c.us);
    in.NVALDOLAR = D(c.rate);
    in.NTOT20RS = D(c.rs20);
    in.OPT_20 = "N";
    in.OPT_20E = c.opt;
    in.I4R_04 = D(c.prior);
    const ResultadoRural r = calcula_resultado(in);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.brasil);
    EXPECT_EQ(r.I4R_01, D(c.us));
    EXPECT_EQ(r.I4R_03, D(c.i4r03));
    EXPECT_EQ(r.I4R_05, D(c.i4r05));
    EXPECT_EQ(r.I4R_06, D(c.i4r06));
    EXPECT_EQ(r.I4R_07, D(c.i4r07));
    EXPECT_EQ(r.I5_08, D(c.i5_08));
    const Consolidacao k = calc_preju({}, r, {});
    EXPECT_EQ(k.TRIB_EX, D(c.i4r07));
    EXPECT_EQ(k.TRIB_BR, D("0"));
  }
}

TEST(RuralResult, DefaultDollarRateOfTheSettings) { EXPECT_EQ(kDolarAnoPadrao, D("2.0429")); }

// A property abroad (rate VALUSE of its currency per US$):
//   RECEXT 10000, DESEXT 4000, VALUSE 3.00:
//     RESUS   = 6000 / 3            = 2000.00
//     OPC20US = 10000 / 3 x 0.20    = 666.666... -> 666.67
//     OPC20RS = 666.67 x 2.0429     = 1361.940143 -> 1361.94
//   rate 0 -> all three 0.
TEST(RuralResult, PropertyAbroad) {
  Imovel16 p;
  p.RECEXT = D("10000");
  p.DESEXT = D("4000");
  p.VALUSE = D("3");
  ImovelCalculado c = calucro(p, D("2.0429"));
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.imovel.RESUS, D("2000"));
  EXPECT_EQ(c.imovel.OPC20US, D("666.67"));
  EXPECT_EQ(c.imovel.OPC20RS, D("1361.94"));

  p.VALUSE = D("0");
  p.RESUS = D("5");
  c = calucro(p, D("2.0429"));
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.imovel.RESUS, D("0"));
  EXPECT_EQ(c.imovel.OPC20US, D("0"));
  EXPECT_EQ(c.imovel.OPC20RS, D("0"));
}

// Sums over the properties: RESUS 2000 + (-500.50) = 1499.50;
// OPC20US 666.67 + 10 = 676.67; OPC20RS 1361.94 + 20.43 = 1382.37.
// They feed the result: 1499.50 x 2.0429 = 3063.32855 -> 3063.33.
TEST(RuralResult, SumsAbroadFeedTheResult) {
  Imovel16 a, b;
  a.RESUS = D("2000");
  a.OPC20US = D("666.67");
  a.OPC20RS = D("1361.94");
  b.RESUS = D("-500.50");
  b.OPC20US = D("10");
  b.OPC20RS = D("20.43");
  const TotaisExterior t = soma_exterior({a, b});
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.NTOTUS, D("1499.50"));
  EXPECT_EQ(t.NTOT20US, D("676.67"));
  EXPECT_EQ(t.NTOT20RS, D("1382.37"));

  EntradaResultado in;
  in.ATV_BRASIL = "N";
  in.NTOTUS = t.NTOTUS;
  in.NTOT20RS = t.NTOT20RS;
  in.NVALDOLAR = kDolarAnoPadrao;
  const ResultadoRural r = calcula_resultado(in);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.I4R_03, D("3063.33"));
  EXPECT_EQ(r.I4R_06, D("1382.37"));
}

// ---------------------------------------------------------------------------
// Cash book. Properties: 1 with 50 %, 2 with 25 %.
//   date        kind  value    prop  ITR | counts as
//   10/01/2013  C     1000.00   0     -  | Jan receipts  1000.00 (whole activity)
//   15/01/2013  D     1000.00   1     S  | Jan expenses   500.00; VALITR[1] 500.00
//   03/02/2013  C      100.01   2     -  | Feb receipts    25.0025 -> 25.00
//   04/02/2013  D      300.00   3     S  | Feb expenses   300.00 (beyond the list: share 1);
//                                        |   ITR of no property 300.00
//   (no date)   D      999.00   1     S  | nowhere
//   05/03/2013  X       50.00   0     -  | nowhere
//   06/03/2013  D        0.005  0     -  | Mar expenses     0.005 -> 0.01
//   20/12/2013  D      200.00   2     N  | Dec expenses    50.00 (no ITR)
// Totals: receipts 1025.00, expenses 500 + 300 + 0.01 + 50 = 850.01.
// Months marked: Feb (300 > 25), Mar (0.01 > 0), Dec (50 > 0); Jan not.
// ---------------------------------------------------------------------------
std::vector<Imovel16> two_properties() {
  Imovel16 a, b;
  a.I2R_04 = D("50");
  b.I2R_04 = D("25");
  return {a, b};
}

std::vector<Lancamento19> book() {
  return {
      {dt(10, 1, 2013), D("1000"), 0, "C", "N"},  {dt(15, 1, 2013), D("1000"), 1, "D", "S"},
      {dt(3, 2, 2013), D("100.01"), 2, "C", "N"}, {dt(4, 2, 2013), D("300"), 3, "D", "S"},
      {Date(), D("999"), 1, "D", "S"},            {dt(5, 3, 2013), D("50"), 0, "X", "N"},
      {dt(6, 3, 2013), D("0.005"), 0, "D", "N"},  {dt(20, 12, 2013), D("200"), 2, "D", "N"},
  };
}

TEST(RuralCashBook, MonthlySumsWithShares) {
  const SomaCaixa s = soma_rur(two_properties(), book());
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.meses.I3_OR[0], D("1000"));
  EXPECT_EQ(s.meses.I3_OD[0], D("500"));
  EXPECT_EQ(s.meses.I3_OR[1], D("25"));
  EXPECT_EQ(s.meses.I3_OD[1], D("300"));
  EXPECT_EQ(s.meses.I3_OR[2], D("0"));
  EXPECT_EQ(s.meses.I3_OD[2], D("0.01"));
  EXPECT_EQ(s.meses.I3_OD[11], D("50"));
  for (int m = 4; m <= 11; ++m) {
    EXPECT_EQ(s.meses.I3_OR[m - 1], D("0")) << m;
    EXPECT_EQ(s.meses.I3_OD[m - 1], D("0")) << m;
  }
  ASSERT_EQ(s.VALITR.size(), 2u);
  EXPECT_EQ(s.VALITR[0], D("500"));
  EXPECT_EQ(s.VALITR[1], D("0"));
  EXPECT_EQ(s.ITR_SEM_IMOVEL, D("300"));
  // The rebuilt cell texts.
  EXPECT_EQ(s.REND_RURAL[0][0], "      1.000,00");
  EXPECT_EQ(s.REND_RURAL[0][1], "        500,00");
  EXPECT_EQ(s.REND_RURAL[2][0], kBlank);
  EXPECT_EQ(s.REND_RURAL[2][1], "          0,01");
}

TEST(RuralCashBook, TotalsAndMarkedMonths) {
  const SomaCaixa s = soma_rur(two_properties(), book());
  ASSERT_TRUE(s.ok);
  const TotaisMensais t = totais_mensais(s.REND_RURAL);
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.I4R_01, D("1025"));
  EXPECT_EQ(t.I4R_02, D("850.01"));

  const MesesNegativos n = ve_despesas(s.REND_RURAL);
  EXPECT_TRUE(n.algum);
  const std::string marks(n.MES_NEG.begin(), n.MES_NEG.end());
  //                  J F M A M J J A S O N D
  EXPECT_EQ(marks, " **        *");
}

// Expense 1000.00 on a property with 50 % adds 500.00; with property 0 it adds
// 1000.00.
TEST(RuralCashBook, ShareOfOneEntry) {
  Imovel16 p;
  p.I2R_04 = D("50");
  EXPECT_EQ(soma_rur({p}, {{dt(1, 5, 2013), D("1000"), 1, "D", "N"}}).meses.I3_OD[4], D("500"));
  EXPECT_EQ(soma_rur({p}, {{dt(1, 5, 2013), D("1000"), 0, "D", "N"}}).meses.I3_OD[4], D("1000"));
}

// Equal receipts and expenses are not marked; an empty year has no mark.
TEST(RuralCashBook, MarksNeedExpensesAboveReceipts) {
  RendRural r = rend_rural_vazio();
  EXPECT_FALSE(ve_despesas(r).algum);
  r[3] = {"        100,00", "        100,00"};
  r[4] = {"        100,00", "        100,01"};
  const MesesNegativos n = ve_despesas(r);
  EXPECT_TRUE(n.algum);
  EXPECT_EQ(n.MES_NEG[3], ' ');
  EXPECT_EQ(n.MES_NEG[4], '*');
}

// Typed monthly values (Brazil), in the screen's totals:
//   Jan 1.234.567,89 / 0; Jun 10,50 / 20,25; Dec 0 / 1.000,00
//   receipts 1234578.39, expenses 1020.25 -> result I 1233558.14,
//   20 % 246915.678 -> 246915.68
TEST(RuralMonthly, TypedTotalsIntoTheResult) {
  MesesRurais m;
  m.I3_OR[0] = D("1234567.89");
  m.I3_OR[5] = D("10.50");
  m.I3_OD[5] = D("20.25");
  m.I3_OD[11] = D("1000");
  const CargaRend c = rend_rural_de(m);
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.REND_RURAL[0][0], "  1.234.567,89");
  EXPECT_EQ(c.REND_RURAL[0][1], kBlank);
  EXPECT_EQ(meses_de(c.REND_RURAL), m);
  const TotaisMensais t = totais_mensais(c.REND_RURAL);
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.I4R_01, D("1234578.39"));
  EXPECT_EQ(t.I4R_02, D("1020.25"));
  EntradaResultado in;
  in.I4R_01 = t.I4R_01;
  in.I4R_02 = t.I4R_02;
  const ResultadoRural r = calcula_resultado(in);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.I4R_03, D("1233558.14"));
  EXPECT_EQ(r.I4R_06, D("246915.68"));
  EXPECT_EQ(r.I4R_07, D("1233558.14"));
}

TEST(RuralMonthly, EmptyActivityIsAllBlank) {
  const RendRural r = rend_rural_vazio();
  for (const auto& m : r) {
    EXPECT_EQ(m[0], kBlank);
    EXPECT_EQ(m[1], kBlank);
  }
  const TotaisMensais t = totais_mensais(r);
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.I4R_01, D("0"));
  EXPECT_EQ(t.I4R_02, D("0"));
}

// ---------------------------------------------------------------------------
// Values too large for their cells (999.999.999,99 at most, the sign counts
// as a digit) are refused with the line named.
// ---------------------------------------------------------------------------
TEST(RuralOverflow, TooLargeValuesAreRefused) {
  EXPECT_FALSE(texto_celula(D("1000000000")).has_value());
  EXPECT_EQ(guarda_celula(D("999999999.994")), D("999999999.99"));
  EXPECT_FALSE(guarda_celula(D("999999999.995")).has_value());

  // Two months of 999.999.999,99: the year's receipts do not fit.
  RendRural r = rend_rural_vazio();
  r[0][0] = "999.999.999,99";
  r[1][0] = "999.999.999,99";
  TotaisMensais t = totais_mensais(r);
  EXPECT_FALSE(t.ok);
  EXPECT_EQ(t.estouro.campo, "I4R_01");

  // A cash-book month that does not fit.
  SomaCaixa s = soma_rur({}, {{dt(2, 3, 2013), D("600000000"), 0, "D", "N"},
                              {dt(9, 3, 2013), D("600000000"), 0, "D", "N"}});
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.estouro.campo, "I3_03OD");
  EXPECT_EQ(s.estouro.valor, D("1200000000"));

  // A stored month that does not fit.
  MesesRurais m;
  m.I3_OR[6] = D("1000000000");
  const CargaRend c = rend_rural_de(m);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.estouro.campo, "I3_07OR");

  // Result I below -999.999.999,99 ... or -999.999.999,99 itself (sign).
  EntradaResultado in;
  in.I4R_02 = D("999999999.99");
  ResultadoRural res = calcula_resultado(in);
  EXPECT_FALSE(res.ok);
  EXPECT_EQ(res.estouro.campo, "I4R_03");

  // Abroad: 500.000.000 US$ x 2.0429 does not fit in reais.
  EntradaResultado ex;
  ex.ATV_BRASIL = "N";
  ex.NTOTUS = D("500000000");
  ex.NVALDOLAR = kDolarAnoPadrao;
  res = calcula_resultado(ex);
  EXPECT_FALSE(res.ok);
  EXPECT_EQ(res.estouro.campo, "I4R_03");
  EXPECT_EQ(res.I4R_07, D("0"));
}

// ---------------------------------------------------------------------------
// Debts and the consolidation.
//   debts (I9R_2, I9R_3): (10000, 5000), (20000, 15000) -> NTOTANT 30000,
//   NTOTBASE 20000 -> AMORUR 10000, EMPRUR 0; the reverse gives EMPRUR 10000.
// ---------------------------------------------------------------------------
TEST(RuralDebts, Totals) {
  const TotaisDividas t = soma_div({{D("10000"), D("5000")}, {D("20000"), D("15000")}});
  EXPECT_EQ(t.NTOTANT, D("30000"));
  EXPECT_EQ(t.NTOTBASE, D("20000"));
}

TEST(RuralConsolidation, AmortisationAndLoans) {
  const ResultadoRural r = calcula_resultado({});
  ASSERT_TRUE(r.ok);
  Consolidacao c = calc_preju({}, r, {D("30000"), D("20000")});
  EXPECT_EQ(c.DIVAN, D("30000"));
  EXPECT_EQ(c.DIVAD, D("20000"));
  EXPECT_EQ(c.AMORUR, D("10000"));
  EXPECT_EQ(c.EMPRUR, D("0"));
  c = calc_preju({}, r, {D("20000"), D("30000")});
  EXPECT_EQ(c.AMORUR, D("0"));
  EXPECT_EQ(c.EMPRUR, D("10000"));
  c = calc_preju({}, r, {D("20000"), D("20000")});
  EXPECT_EQ(c.AMORUR, D("0"));
  EXPECT_EQ(c.EMPRUR, D("0"));
}

// Both activities. Abroad was consolidated before: TRIB_EX 1000, NTRIB_EX 200,
// PREJU_EX 50, DIVAN_EX 0, DIVAD_EX 5000, DIVPG_EX 7 (written as 0).
// Brazil now: case "prior fully used" (taxable 3000, non-taxable 2000, no
// loss) with debts 30000 -> 20000.
//   I13_07 = 1000 + 3000 = 4000;   I3_11 = 200 + 2000 = 2200;  PREJRUR 50
//   DIVAN = 0 + 30000 = 30000;     DIVAD = 5000 + 20000 = 25000
//   AMORUR 5000, EMPRUR 0.
TEST(RuralConsolidation, BothActivities) {
  Consolidacao antes;
  antes.TRIB_EX = D("1000");
  antes.NTRIB_EX = D("200");
  antes.PREJU_EX = D("50");
  antes.DIVAD_EX = D("5000");
  antes.DIVPG_EX = D("7");
  EntradaResultado in;
  in.I4R_01 = D("15000");
  in.I4R_02 = D("10000");
  in.I4R_04 = D("2000");
  const ResultadoRural r = calcula_resultado(in);
  ASSERT_TRUE(r.ok);
  const Consolidacao c = calc_preju(antes, r, {D("30000"), D("20000")});
  EXPECT_EQ(c.TRIB_BR, D("3000"));
  EXPECT_EQ(c.NTRIB_BR, D("2000"));
  EXPECT_EQ(c.I13_07, D("4000"));
  EXPECT_EQ(c.I3_11, D("2200"));
  EXPECT_EQ(c.PREJRUR, D("50"));
  EXPECT_EQ(c.DIVAN, D("30000"));
  EXPECT_EQ(c.DIVAD, D("25000"));
  EXPECT_EQ(c.AMORUR, D("5000"));
  EXPECT_EQ(c.EMPRUR, D("0"));
  EXPECT_EQ(c.DIVPG_EX, D("0"));
  EXPECT_EQ(c.TRIB_EX, D("1000"));  // the other activity is kept
}

// ---------------------------------------------------------------------------
// Answer to the 20 % option.
// ---------------------------------------------------------------------------
TEST(RuralOption, Answers) {
  RespostaOpcao s = optou20("S");
  EXPECT_TRUE(s.aceita);
  ASSERT_EQ(s.mensagem.size(), 2u);
  EXPECT_EQ(s.mensagem[0], "A opção pelo limite dos 20% da receita bruta implica"_cp.str());
  EXPECT_EQ(s.mensagem[1], "a perda do direito a compensação total do prejuízo!"_cp.str());
  RespostaOpcao n = optou20("N");
  EXPECT_TRUE(n.aceita);
  EXPECT_TRUE(n.mensagem.empty());
  for (const char* bad : {"X", "", " "}) {
    RespostaOpcao x = optou20(bad);
    EXPECT_FALSE(x.aceita) << bad;
    ASSERT_EQ(x.mensagem.size(), 1u);
    EXPECT_EQ(x.mensagem[0], "Informe com 'S'(Sim) ou 'N'(Não) se optará pelos 20% da receita bruta."_cp.str());
  }
}

}  // namespace
