// The simplified discount, the cheaper-model advice and the simulators.
#include <gtest/gtest.h>

#include "tax/balanco.hpp"
#include "tax/model_choice.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

TEST(Model, SimplifiedDiscountAndItsCap) {
  EXPECT_EQ(FDESPADRAO(D("50000")), D("10000"));
  EXPECT_EQ(FDESPADRAO(D("100000")), D("15197.02"));
  EXPECT_EQ(FDESPADRAO(D("0")), D("0"));
}

TEST(Model, EstateAndDepartureAreAlwaysComplete) {
  Declaracao d;
  EXPECT_FALSE(modelo_completo(d));
  d.DECFINAL = "S";
  EXPECT_TRUE(modelo_completo(d));
  d.DECFINAL = "N";
  d.DECSAIDA = "S";
  EXPECT_TRUE(modelo_completo(d));
}

TEST(Model, AdviceFromThisPassFigures) {
  struct Case {
    const char* what;
    std::string USAPADRAO, TEMRURAL;
    const char* I4R_04;
    const char* I4R_07;
    const char* income;
    const char* complete;
    const char* simplified;
    Conselho advice;
  };
  const Case cases[] = {
      {"complete, simplified cheaper", "N", "", "0", "0", "1000", "900", "800",
       Conselho::UsarSimplificado},
      {"complete, complete cheaper", "N", "", "0", "0", "1000", "700", "800", Conselho::Nenhum},
      {"complete, rural loss being compensated", "N", "S", "100", "0", "1000", "900", "800",
       Conselho::Nenhum},
      {"complete, negative rural result", "N", "S", "0", "-5", "1000", "900", "800",
       Conselho::Nenhum},
      {"complete, rural without losses", "N", "S", "0", "10", "1000", "900", "800",
       Conselho::UsarSimplificado},
      {"simplified, complete cheaper", "S", "", "0", "0", "1000", "700", "800",
       Conselho::UsarCompleto},
      {"simplified, no income", "S", "", "0", "0", "0", "-1", "0", Conselho::Nenhum},
  };
  for (const auto& c : cases) {
    Declaracao d;
    d.USAPADRAO = c.USAPADRAO;
    d.TEMRURAL = c.TEMRURAL;
    d.I4R_04 = D(c.I4R_04);
    d.I4R_07 = D(c.I4R_07);
    Totais t;
    t.I13(8) = D(c.income);
    t.IMPOSTO_COMPLETO = D(c.complete);
    t.IMPOSTO_SIMPLIFICADO = D(c.simplified);
    EXPECT_EQ(CONSELHO(d, t), c.advice) << c.what;
  }
}

TEST(Model, RuralLossWarnsTheSimplifiedModel) {
  Declaracao d;
  d.rendimentos = {empresa("30000")};
  EXPECT_FALSE(BALANCO(d, dt(20, 3, 2014)).totais.aviso_prejuizo_rural);
  d.I5_08 = D("100");
  EXPECT_TRUE(BALANCO(d, dt(20, 3, 2014)).totais.aviso_prejuizo_rural);
}

TEST(Simulator, IncomeForASimplifiedTax) {
  struct Case { const char* tax; const char* income; const char* why; };
  const Case cases[] = {
      // the discount is at its cap: (7229.81 + 9486.91 + 15197.02 x 0.275) / 0.275
      {"7229.81", "75985.09", "(7229.81 + 9486.91 + 4179.1805) / 0.275 = 75985.0927"},
      // 15 %: (1000 + 3847.22) / (0.8 x 0.15) = 40393.50; 80 % = 32314.80 -> 1000.00
      {"1000", "40393.50", "the 15 % bracket matches"},
      // 23666.0905 / 0.275 = 86058.51; check: 86058.51 - 15197.02 = 70861.49,
      // x 0.275 = 19486.90975 - 9486.91 = 9999.99975 -> 10000.00
      {"10000", "86058.51", "(10000 + 9486.91 + 4179.1805) / 0.275"},
  };
  for (const auto& c : cases) {
    auto income = SIMULA_SIMPLES(D(c.tax), D("0"));
    ASSERT_TRUE(income.has_value()) << c.why;
    EXPECT_EQ(ROUND(*income, 2), D(c.income)) << c.why;
  }
  EXPECT_FALSE(SIMULA_SIMPLES(D("-2000"), D("1500")).has_value());  // refund above the tax paid
}

TEST(Simulator, ExtraDeductionUsesTheComputationsIncentiveRule) {
  // The complete declaration with incentive pools of the worked cases:
  // income 80000, paid 5000, donations 40 300, 39 200, 41 400, 45 200,
  // 46 50, 39 100, domestic employer 1500.
  Declaracao d;
  d.USAPADRAO = "N";
  d.rendimentos = {empresa("80000", "5000")};
  d.pagamentos = {pagamento(40, "300"), pagamento(39, "200"), pagamento(41, "400"),
                  pagamento(45, "200"), pagamento(46, "50"),  pagamento(39, "100"),
                  pagamento(50, "1500")};
  const Totais t = BALANCO(d, dt(20, 3, 2014)).totais;
  // No extra deduction: the balance of the computation itself.
  EXPECT_EQ(SIMULA_DEDUCAO(d, t, D("0")), t.IMPPGRE);
  // 10000 more: base 70000 x 0.275 - 9486.91 = 9763.09; 6 % = 585.7854:
  // 40 300, 41 285.7854; nothing for 39; 1 % = 97.6309 to 45; 46 50.
  // incentives 733.4163; 9029.6737 - 1078.08 = 7951.5937; less 5000 paid.
  EXPECT_EQ(SIMULA_DEDUCAO(d, t, D("10000")), D("2951.5937"));
}

TEST(Simulator, InverseFindsTheSmallestIncomeForABalance) {
  {
    // The incentive-pool declaration: its balance 5509.0937 comes from
    // 80000, and 79999.99 gives the same table tax (21999.99725 - 9486.91 =
    // 12513.08725 -> 12513.09) while 79999.98 gives 12513.08 and a balance
    // of 5509.0844. So 5509.09 needs 79999.99.
    Declaracao d;
    d.USAPADRAO = "N";
    d.rendimentos = {empresa("80000", "5000")};
    d.pagamentos = {pagamento(40, "300"), pagamento(39, "200"), pagamento(41, "400"),
                    pagamento(45, "200"), pagamento(46, "50"),  pagamento(39, "100"),
                    pagamento(50, "1500")};
    const Totais t = BALANCO(d, dt(20, 3, 2014)).totais;
    EXPECT_EQ(SIMULA_INVERSO(d, t, D("5509.09")), D("79999.99"));
  }
  {
    // Employee with deductions 31057.74 of which pension 12000 (12 % of
    // 100000, 15000 paid), paid 18000. A refund of 8000 needs a table tax of
    // 10000: base >= (9999.995 + 9486.91) / 0.275 = 70861.4727. The pension
    // follows the income (12 % of it, under 15000): base = 0.88 G - 19057.74,
    // G >= 102180.9236 -> 102180.93 (with the pension held at 12000 it would
    // be 101919.22).
    Declaracao d;
    d.USAPADRAO = "N";
    d.rendimentos = {empresa("100000", "18000", "5000")};
    d.dependentes = {dependente(3, dt(1, 2, 2005), "1"), dependente(4, dt(1, 2, 2008), "2")};
    d.pagamentos = {pagamento(1, "2000", "0", 0), pagamento(1, "2000", "0", 1),
                    pagamento(2, "2000", "0", 1), pagamento(1, "1000", "0", 2),
                    pagamento(10, "3000", "500", 0), pagamento(9, "1200", "0", 1),
                    pagamento(36, "15000")};
    const Totais t = BALANCO(d, dt(20, 3, 2014)).totais;
    ASSERT_EQ(t.I13(19), D("31057.74"));
    EXPECT_EQ(SIMULA_INVERSO(d, t, D("-8000")), D("102180.93"));
    EXPECT_FALSE(SIMULA_INVERSO(d, t, D("-20000")).has_value());  // more than the 18000 paid
  }
}
