// Deduction limits: education slots, private pension, domestic employer,
// medical reimbursements, incentive pools and the direct donation.
#include <gtest/gtest.h>

#include "tax/deductions.hpp"
#include "tax/incentives.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

TEST(Education, OneCappedSlotPerPerson) {
  struct Case { const char* what; std::vector<Pagamento> pays; const char* total; };
  const Case cases[] = {
      {"2000 + 2000 for one dependant: one slot, capped at 3230.46",
       {pagamento(1, "2000", "0", 1), pagamento(2, "2000", "0", 1)}, "3230.46"},
      {"2000 each for titular and dependant: two slots",
       {pagamento(1, "2000", "0", 0), pagamento(1, "2000", "0", 1)}, "4000"},
      {"a person beyond the list is ignored: 1000 + nothing",
       {pagamento(1, "1000", "0", 2), pagamento(1, "900", "0", 3)}, "1000"},
      {"codes 3 to 6 are not deducted", {pagamento(3, "1000"), pagamento(6, "500")}, "0"},
  };
  Declaracao d;
  d.dependentes = {dependente(3, dt(1, 1, 2005), "11111111111"),
                   dependente(98, dt(1, 1, 1970), "22222222222")};  // alimony receiver: slot 3
  for (const auto& c : cases) {
    d.pagamentos = c.pays;
    EXPECT_EQ(FI13_13(d), D(c.total)) << c.what;
  }
}

TEST(PrivatePension, HeldToTwelvePercentOfTaxableIncome) {
  struct Case { const char* paid; const char* income; const char* deducted; const char* why; };
  const Case cases[] = {
      {"10000", "50000", "6000", "12 % of 50000 = 6000"},
      {"5000", "50000", "5000", "below the limit"},
      {"1000", "5000.05", "600.006", "12 % of 5000.05, kept unrounded"},
  };
  for (const auto& c : cases) {
    Totais t;
    t.I13_11T = D(c.paid);
    t.I13(8) = D(c.income);
    EXPECT_EQ(FI13_11(t), D(c.deducted)) << c.why;
  }
}

TEST(DomesticEmployer, SmallestOfPaidTaxAndCap) {
  struct Case { const char* paid; const char* tax; bool complete; const char* deducted; };
  const Case cases[] = {
      {"1500", "5000", true, "1078.08"},  // the cap
      {"1500", "700", true, "700"},       // never more than the tax after incentives
      {"500", "5000", true, "500"},
      {"1500", "5000", false, "0"},       // not subtracted in the simplified model
  };
  for (const auto& c : cases) {
    Totais t;
    t.I13_24T = D(c.paid);
    t.I13(23) = D(c.tax);
    EXPECT_EQ(FI13_24(t, c.complete), D(c.deducted)) << c.paid << " " << c.tax;
  }
}

TEST(Payments, GatheredByCode) {
  Declaracao d;
  d.pagamentos = {
      pagamento(10, "3000", "500"),  // medical, 500 reimbursed
      pagamento(9, "1200"),          // medical
      pagamento(30, "400"), pagamento(34, "250"),
      pagamento(36, "700"), pagamento(38, "300"), pagamento(37, "90"),
      pagamento(50, "1000"),         // domestic: 1000 x 8.333335 + 1000 = 9333.335
      pagamento(72, "100"),          // brokerage already counted: subtracted
      pagamento(93, "5000"),         // ignored
  };
  Totais t;
  FDE_TUDO(d, t);
  EXPECT_EQ(t.I13(14), D("3700"));   // 2500 + 1200
  EXPECT_EQ(t.I13_14D, D("500"));
  EXPECT_EQ(t.I13(15), D("400"));
  EXPECT_EQ(t.I13(16), D("250"));
  EXPECT_EQ(t.I13_11T, D("1000"));
  EXPECT_EQ(t.NFUNPRESP, D("90"));
  EXPECT_EQ(t.I13_24T, D("1000"));
  EXPECT_EQ(t.NCORRETOR, D("100"));
  EXPECT_EQ(t.DESPSIMP, D("-100"));
  // 3000 + 1200 + 400 + 250 + 700 + 300 + 90 + 9333.335 - 100
  EXPECT_EQ(t.DESPDECLA, D("15173.335"));
}

TEST(Payments, DomesticEmployeeCostMultipliesTheEmployerPart) {
  // From the employer's part: 600 x 8.333335 + 600 = 5600.001; with only the
  // not-deducted part typed the same arithmetic applies to it.
  EXPECT_EQ(custo_domestico(pagamento(50, "600")), D("5600.001"));
  EXPECT_EQ(custo_domestico(pagamento(50, "0", "600")), D("5600.001"));
}

TEST(Payments, LimitsSetWhenTyped) {
  EXPECT_EQ(FDOAPAG(pagamento(1, "4000")), D("769.54"));   // 4000 - 3230.46
  EXPECT_EQ(FDOAPAG(pagamento(5, "3000")), D("0"));
  EXPECT_EQ(FDOAPAG(pagamento(50, "1500")), D("421.92"));  // 1500 - 1078.08
  EXPECT_EQ(FDOAPAG(pagamento(10, "900", "100")), D("100"));
}

TEST(Payments, NonDeductiblePartWhenTyped) {
  struct Case { int code; const char* paid; const char* typed; const char* stored; NaoDedutivel why; };
  const Case cases[] = {
      {10, "900", "100", "100", NaoDedutivel::Aceito},
      {10, "900", "900", "900", NaoDedutivel::Aceito},
      {27, "900", "901", "0", NaoDedutivel::MaiorQuePago},
      {30, "900", "100", "0", NaoDedutivel::SoConvenios},
      {1, "900", "100", "100", NaoDedutivel::Aceito},
  };
  for (const auto& c : cases) {
    auto r = FCONFNDEDU(pagamento(c.code, c.paid), D(c.typed));
    EXPECT_EQ(r.valor, D(c.stored)) << c.code << " " << c.typed;
    EXPECT_EQ(r.motivo, c.why) << c.code << " " << c.typed;
  }
}

TEST(Incentives, PoolsInListOrder) {
  struct Case {
    const char* what;
    const char* tax;
    std::vector<Pagamento> pays;
    const char* deducted;
    std::vector<const char*> excess;
  };
  const Case cases[] = {
      {"pool 600: 40 takes 500, 39 the 100 left", "10000",
       {pagamento(40, "500"), pagamento(39, "300")}, "600", {"0", "200"}},
      {"40 takes the whole 600, nothing for 39", "10000",
       {pagamento(40, "700"), pagamento(39, "300")}, "600", {"100", "300"}},
      {"39 alone: at most 3 % = 300", "10000", {pagamento(39, "450")}, "300", {"150"}},
      {"45 and 46 each have their own 1 %", "10000",
       {pagamento(45, "150"), pagamento(46, "80"), pagamento(46, "30")}, "200",
       {"50", "0", "10"}},
      {"rows of other codes keep their part", "10000",
       {pagamento(10, "900", "100"), pagamento(41, "100")}, "100", {"100", "0"}},
      // tax 12513.09: 6 % = 750.7854, 1 % = 125.1309.
      // 40: 300 (left 450.7854), 41: 400 (left 50.7854); 39 gets 50.7854 of
      // 200 (149.2146 over) and nothing of 100; 45 gets 125.1309 of 200;
      // 46 all of 50. 700 + 50.7854 + 125.1309 + 50 = 925.9163
      {"every code together", "12513.09",
       {pagamento(40, "300"), pagamento(39, "200"), pagamento(41, "400"), pagamento(45, "200"),
        pagamento(46, "50"), pagamento(39, "100")},
       "925.9163", {"0", "149.2146", "0", "74.8691", "0", "100"}},
      {"no tax, no pools", "0", {pagamento(40, "100")}, "0", {"100"}},
  };
  for (const auto& c : cases) {
    Incentivos r = FI13_22(c.pays, D(c.tax));
    EXPECT_EQ(r.I13_22, D(c.deducted)) << c.what;
    ASSERT_EQ(r.I6_5.size(), c.excess.size()) << c.what;
    for (std::size_t i = 0; i < c.excess.size(); ++i)
      EXPECT_EQ(r.I6_5[i], D(c.excess[i])) << c.what << " row " << i;
  }
}

TEST(Incentives, DirectDonationCountsWhatCode39TookFromTheSixPercentPool) {
  struct Case { const char* what; const char* tax; std::vector<Pagamento> pays; const char* available; };
  const Case cases[] = {
      // 6 %: 600 - 450 - 100 = 50; 3 %: 300 - 100 = 200 -> 50
      {"the 6 % pool is nearly spent", "10000", {pagamento(40, "450"), pagamento(39, "100")}, "50"},
      // 6 %: 600 - 200 - 100 = 300; 3 %: 300 - 100 = 200 -> 200
      {"the 3 % pool binds", "10000", {pagamento(40, "200"), pagamento(39, "100")}, "200"},
      // 3 % of 1234.57 = 37.0371, cut to 37.03
      {"cut to the cent", "1234.57", {}, "37.03"},
      {"nothing left", "10000", {pagamento(40, "600")}, "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DOACAO_DIRETA(FI13_22(c.pays, D(c.tax)), D(c.tax)), D(c.available)) << c.what;
}

TEST(Dependants, CountedByCode) {
  Declaracao d;
  d.dependentes = {dependente(3, dt(1, 1, 2005), "1"), dependente(11, dt(1, 1, 1940), "2"),
                   dependente(98, {}, "3"), dependente(99, {}, "4"), dependente(100, {}, "5")};
  Totais t;
  NRODP(d, t);
  EXPECT_EQ(t.N_DEPEN, 2);
  EXPECT_EQ(t.DESPALIM, 2);
  EXPECT_EQ(FI13_12(t), D("4127.28"));  // 2 x 2063.64
}
