// Capital gains: worked sales computed by hand.
//
// Conventions of the hand computations below: "cut" is the cut to the cent;
// FR1 = 1 - 1/1.006^m1 and FR2 = 1 - 1/1.0035^m2 rounded to 8 decimals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tax/gain_engine.hpp"
#include "tax_test_support.hpp"

namespace tx::tax::gain {
namespace {

using tx::tax::testing::D;
using tx::tax::testing::dt;

Ganho imovel(Date aquisicao, Date venda, const char* valor, const char* custo) {
  Ganho g;
  g.CPF = g.CPFALIEN = "11111111111";
  g.TIPO_BEM = 1;
  g.DATA_ADQ = aquisicao;
  g.DATA_ALI = venda;
  g.VAL_ALI = D(valor);
  g.CUS_ATUAL = D(custo);
  return g;
}

CustoGanho linha(const char* valor, Date data) {
  CustoGanho c;
  c.VALOR_CUST = D(valor);
  c.DATA_CUST = data;
  return c;
}

CustoGanho acoes(int oper, long qtd, const char* valor, Date data = Date()) {
  CustoGanho c;
  c.TIPO_OPER = oper;
  c.MOV_ACAO = qtd;
  c.VALOR_CUST = D(valor);
  c.DATA_CUST = data;
  return c;
}

// ---------------------------------------------------------------- reductions

TEST(GainReduction, PercentByYearOfAcquisition) {
  struct Caso { int ano; int esperado; } casos[] = {
      {1950, 100}, {1969, 100},  // before 1970: all of it
      {1970, 95},                // (1989 - 1970) x 5
      {1980, 45},                // (1989 - 1980) x 5
      {1988, 5},                 // (1989 - 1988) x 5
      {1989, 0}, {2005, 0},      // after 1988: none
  };
  ContextoGanho ctx;
  for (const auto& c : casos) {
    Ganho g = imovel(dt(1, 6, c.ano), dt(1, 6, 2013), "1", "1");
    EXPECT_EQ(FPER_RED(g, Date(), ctx), c.esperado) << c.ano;
  }
}

TEST(GainReduction, NoneAbroadForEarlierSalesAndForLinesBeforeTheAcquisition) {
  Ganho g = imovel(dt(1, 6, 1980), dt(1, 6, 2013), "1", "1");
  ContextoGanho fora{true};
  EXPECT_EQ(FPER_RED(g, Date(), fora), 0);
  std::vector<std::string> avisos;
  EXPECT_EQ(FPER_RED(g, dt(31, 5, 1980), ContextoGanho{}, &avisos), 0);
  ASSERT_EQ(avisos.size(), 1u);
  EXPECT_EQ(avisos[0], "Data informada errada. Menor que a lançada como aquisição!");
  g.VENDAANT = "S";
  EXPECT_EQ(FPER_RED(g, Date(), ContextoGanho{}), 0);
}

TEST(GainReduction, MonthsCounted) {
  struct Caso { Date depois, antes; int meses; } casos[] = {
      // 01/1996 .. 11/2005: 12 x 9 + (11 - 1 + 1)
      {dt(30, 11, 2005), dt(1, 6, 1980), 119},
      // 31/12/1995 itself counts from 01/01/1996 too (else it would be 120)
      {dt(30, 11, 2005), dt(31, 12, 1995), 119},
      {dt(30, 11, 2005), dt(1, 1, 1996), 119},
      // 12/2005 .. 06/2013: 12 x 8 + (6 - 12 + 1)
      {dt(15, 6, 2013), dt(1, 12, 2005), 91},
      // same month: 1
      {dt(30, 4, 2013), dt(1, 4, 2013), 1},
      // the later date before the earlier one: negative (-12 + 6 - 1 + 1)
      {dt(1, 6, 2013), dt(1, 1, 2014), -6},
  };
  for (const auto& c : casos) EXPECT_EQ(DIF_MESES(c.depois, c.antes), c.meses) << DTOC(c.antes);
}

TEST(GainReduction, FactorsByPeriodOfSale) {
  struct Caso { Date aq, venda; const char* fr1; const char* fr2; bool invalida; } casos[] = {
      // 1980 -> 06/2013: FR1 over 119 months, FR2 over 91 months
      {dt(1, 6, 1980), dt(15, 6, 2013), "0.50927262", "0.27235641", false},
      // 03/2008 -> 09/2013 (after 2005): FR1 0, FR2 over 12 x 5 + 7 = 67 months
      {dt(10, 3, 2008), dt(10, 9, 2013), "0", "0.20870986", false},
      // sale between 14/10/2005 and 30/11/2005: FR1 only over 60 + 11 = 71 months, cut to 6
      {dt(1, 1, 2000), dt(1, 11, 2005), "0.346051", "0", false},
      // sale 02/10/2005, before 14/10/2005: FR2 only over 60 + 10 = 70 months, cut to 6
      {dt(1, 1, 2000), dt(1, 11, 2005) - 30, "0", "0.216960", false},
      // acquired after the sale: negative months, negative factor -> both 0
      {dt(10, 10, 2013), dt(1, 6, 2013), "0", "0", true},
      {dt(1, 1, 2014), dt(1, 6, 2013), "0", "0", true},
  };
  for (const auto& c : casos) {
    Fatores f = CALC_RED(c.aq, c.venda, false);
    EXPECT_EQ(f.FR1, D(c.fr1)) << DTOC(c.venda);
    EXPECT_EQ(f.FR2, D(c.fr2)) << DTOC(c.venda);
    EXPECT_EQ(f.data_invalida, c.invalida) << DTOC(c.venda);
  }
  Fatores fora = CALC_RED(dt(1, 6, 1980), dt(15, 6, 2013), true);
  EXPECT_TRUE(fora.FR1.is_zero());
  EXPECT_TRUE(fora.FR2.is_zero());
}

// ------------------------------------------------------- real-estate sales

struct CasoImovel {
  const char* nome;
  Date aq, venda;
  const char* valor;
  const char* custo;
  const char* corretagem;
  const char* reducao;
  const char* fator1;
  const char* fator2;
  const char* tributavel;
  const char* imposto;
  const char* isento;
};

TEST(GainRealEstate, WorkedSales) {
  const CasoImovel casos[] = {
      // 1980, 500,000.00 - 100,000.00: G = 400,000.00; reduction 45 % = 180,000.00
      // FR1 0.50927262: a = cut(400,000 x FR1) = 203,709.04, x 55 % = 112,039.97
      // R2 = 220,000.00, R3 = 107,960.03, FATOR2 = R3 x 0.27235641 = 29,403.61
      // R4 = 78,556.42, tax = cut(x 15 %) = 11,783.46, exempt = G - R4
      {"1980", dt(1, 6, 1980), dt(15, 6, 2013), "500000", "100000", "0",
       "180000", "112039.97", "29403.61", "78556.42", "11783.46", "321443.58"},
      // 03/2008 -> 09/2013, 250,000.00 - 200,000.00: G = 50,000.00
      // FATOR2 = 50,000 x 0.20870986 = 10,435.49; R4 = 39,564.51; tax 5,934.67
      {"2008", dt(10, 3, 2008), dt(10, 9, 2013), "250000", "200000", "0",
       "0", "0", "10435.49", "39564.51", "5934.67", "10435.49"},
      // 1969: 100 % reduction -> no tax, all exempt
      {"1969", dt(1, 6, 1969), dt(15, 6, 2013), "300000", "1000", "0",
       "299000", "0", "0", "0", "0", "299000"},
      // sold at a loss: nothing taxable
      {"loss", dt(10, 3, 2010), dt(10, 9, 2013), "90000", "100000", "1000",
       "0", "0", "0", "0", "0", "0"},
  };
  for (const auto& c : casos) {
    Ganho g = imovel(c.aq, c.venda, c.valor, c.custo);
    g.VAL_CORR = D(c.corretagem);
    ResultadoGanho r = FCALGAN(g, ContextoGanho{});
    EXPECT_EQ(g.REDUCAO, D(c.reducao)) << c.nome;
    EXPECT_EQ(g.FATOR1, D(c.fator1)) << c.nome;
    EXPECT_EQ(g.FATOR2, D(c.fator2)) << c.nome;
    EXPECT_EQ(g.GAN_TRIV, D(c.tributavel)) << c.nome;
    EXPECT_EQ(g.VAL_IMPOSV, D(c.imposto)) << c.nome;
    EXPECT_EQ(g.VAL_NAOTRI, D(c.isento)) << c.nome;
    EXPECT_TRUE(r.reinvestido.is_zero()) << c.nome;
  }
}

TEST(GainRealEstate, ResultLinesOf1980Sale) {
  // the 1980 sale above: R2 = 400,000 - 180,000, R3 = R2 - 112,039.97,
  // R4 = R3 - 29,403.61; the factors are kept in the sale and its line
  Ganho g = imovel(dt(1, 6, 1980), dt(15, 6, 2013), "500000", "100000");
  ResultadoGanho r = FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(r.ganho, D("400000"));
  EXPECT_EQ(r.R2, D("220000"));
  EXPECT_EQ(r.R3, D("107960.03"));
  EXPECT_EQ(r.R4, D("78556.42"));
  EXPECT_EQ(g.FR1, D("0.50927262"));
  EXPECT_EQ(g.FR2, D("0.27235641"));
  ASSERT_EQ(g.custos.size(), 1u);
  EXPECT_EQ(g.custos[0].PER_RED, 45);
  EXPECT_EQ(g.custos[0].VALOR_CUST, D("100000"));
  EXPECT_EQ(g.custos[0].DATA_CUST, dt(1, 6, 1980));
  EXPECT_EQ(g.PER_TRI, D("15.711284"));  // 78,556.42 / 500,000 x 100
}

TEST(GainRealEstate, AcquisitionInPaymentsSharesTheCost) {
  // Lines 60,000.00 (03/1985) and 40,000.00 (07/2000): shares 60 % and 40 %.
  // Sale 20/08/2013 for 300,000.00, brokerage 5,000.00: G = 195,000.00.
  // FR2 over 12/2005 .. 08/2013 = 93 months = 0.27742330 for both lines.
  // Line 1: 1985 -> 20 %; reduction 0.6 x 195,000 x 20 % = 23,400.00;
  //   g = 117,000.00, FR1 (119 months) 0.50927262: a = 59,584.89,
  //   b = cut((117,000 - a) x FR2) = 15,928.28; x 80 %: 47,667.91 and 12,742.62.
  // Line 2: 2000 -> 0 %; g = 78,000.00, FR1 over 60 + 5 = 65 months 0.32215366:
  //   a = 25,127.98, b = 14,667.93.
  // REDUCAO 23,400.00, FATOR1 72,795.89, FATOR2 27,410.55;
  // taxable = 195,000 - all = 71,393.56, tax 10,709.03.
  Ganho g = imovel(dt(10, 3, 1985), dt(20, 8, 2013), "300000", "0");
  g.PARCOMPRA = "S";
  g.VAL_CORR = D("5000");
  g.custos = {linha("60000", dt(10, 3, 1985)), linha("40000", dt(1, 7, 2000))};
  ResultadoGanho r = FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(g.CUS_ATUAL, D("100000"));
  EXPECT_EQ(g.custos[0].PER_CUST, D("60"));
  EXPECT_EQ(g.custos[1].PER_CUST, D("40"));
  EXPECT_EQ(g.custos[0].PER_RED, 20);
  EXPECT_EQ(g.custos[1].PER_RED, 0);
  EXPECT_EQ(g.custos[1].PER_RED1, D("0.32215366"));
  EXPECT_EQ(g.custos[0].RESUL_2, D("47667.91"));
  EXPECT_EQ(g.custos[0].RESUL_3, D("12742.62"));
  EXPECT_EQ(r.ganho, D("195000"));
  EXPECT_EQ(g.REDUCAO, D("23400"));
  EXPECT_EQ(g.FATOR1, D("72795.89"));
  EXPECT_EQ(g.FATOR2, D("27410.55"));
  EXPECT_EQ(g.GAN_TRIV, D("71393.56"));
  EXPECT_EQ(g.VAL_IMPOSV, D("10709.03"));
  EXPECT_EQ(g.VAL_NAOTRI, D("123606.44"));
}

TEST(GainRealEstate, ZeroTotalCostGivesEachLineAllOfIt) {
  Ganho g = imovel(dt(1, 1, 2010), dt(1, 6, 2013), "1000", "0");
  g.PARCOMPRA = "S";
  g.custos = {linha("0", dt(1, 1, 2010))};
  FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(g.custos[0].PER_CUST, D("100"));
}

TEST(GainRealEstate, ExchangeWithCashComplement) {
  // Cost 200,000.00, complement 50,000.00: share 50/250 = 0.2, cost of the
  // complement 40,000.00, G = 10,000.00; 05/2010 -> 05/2013 = 37 months,
  // FR2 0.12126675: FATOR2 1,212.67, taxable 8,787.33, tax 1,318.09.
  Ganho g = imovel(dt(5, 5, 2010), dt(5, 5, 2013), "50000", "200000");
  g.NATUOPER = kPermutaTorna;
  ResultadoGanho r = FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(r.custo, D("40000"));
  EXPECT_EQ(r.ganho, D("10000"));
  EXPECT_EQ(g.FATOR2, D("1212.67"));
  EXPECT_EQ(g.GAN_TRIV, D("8787.33"));
  EXPECT_EQ(g.VAL_IMPOSV, D("1318.09"));
}

TEST(GainRealEstate, ReinvestmentInAnotherHome) {
  // 01/2010 -> 03/2013 = 39 months, FR2 0.12738574; G = 100,000.00;
  // FATOR2 12,738.57, R4 87,261.43; 50 % reinvested: cut(R4 / 2) = 43,630.71;
  // taxable 43,630.72, tax 6,544.60, exempt 100,000 - 43,630.72 = 56,369.28.
  Ganho g = imovel(dt(15, 1, 2010), dt(15, 3, 2013), "400000", "300000");
  g.USA_ART31 = "S";
  g.PERART31 = D("50");
  ResultadoGanho r = FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(r.reinvestido, D("43630.71"));
  EXPECT_EQ(g.GAN_TRIV, D("43630.72"));
  EXPECT_EQ(g.VAL_IMPOSV, D("6544.60"));
  EXPECT_EQ(g.VAL_NAOTRI, D("56369.28"));
  // all of it reinvested: nothing taxable
  g.PERART31 = D("100");
  FCALGAN(g, ContextoGanho{});
  EXPECT_TRUE(g.GAN_TRIV.is_zero());
  EXPECT_TRUE(g.VAL_IMPOSV.is_zero());
  EXPECT_EQ(g.VAL_NAOTRI, D("100000"));
}

TEST(GainRealEstate, SinglePropertyExemption) {
  // 400,000.00 - 300,000.00 = 100,000.00, all exempt when no other sale in 5 years
  Ganho g = imovel(dt(1, 1, 2000), dt(1, 6, 2013), "400000", "300000");
  EXPECT_EQ(CHECA_UNICO_IMOVEL(g, true, Date()), Unico::Perguntar);
  g.USU_440 = "N";
  FCALGAN(g, ContextoGanho{});
  EXPECT_TRUE(g.GAN_TRIV.is_zero());
  EXPECT_TRUE(g.VAL_IMPOSV.is_zero());
  EXPECT_EQ(g.VAL_NAOTRI, D("100000"));
  // an exemption used in 2010 blocks it: stays taxable
  EXPECT_EQ(CHECA_UNICO_IMOVEL(g, true, dt(1, 2, 2010)), Unico::Bloqueado);
  EXPECT_EQ(g.USU_440, "S");
  // used in 2008: 5 calendar years, allowed again
  EXPECT_EQ(CHECA_UNICO_IMOVEL(g, true, dt(1, 2, 2008)), Unico::Perguntar);
  // above 440,000.00 never
  Ganho caro = imovel(dt(1, 1, 2000), dt(1, 6, 2013), "440000.01", "300000");
  caro.USU_440 = "N";
  EXPECT_EQ(CHECA_UNICO_IMOVEL(caro, true, Date()), Unico::NaoSeAplica);
  EXPECT_EQ(caro.USU_440, "S");
}

TEST(GainRealEstate, ReinvestmentBlockedWithinFiveYears) {
  Ganho g = imovel(dt(1, 1, 2000), dt(1, 6, 2013), "500000", "300000");
  Art31Decisao d = PODE_31(g, ContextoGanho{}, dt(10, 3, 2011), D("1"));
  EXPECT_EQ(d.estado, Art31::Bloqueado);
  ASSERT_EQ(d.mensagem.size(), 6u);
  EXPECT_EQ(d.mensagem[3], "até " + DTOC(dt(10, 3, 2011) + 180) + " pois consta venda em 10/03/2011");
  EXPECT_EQ(d.mensagem[4], "Só poderá ser usado novamente no ano de 2016");
  // within 180 days of the recorded sale it may still be used
  EXPECT_EQ(PODE_31(g, ContextoGanho{}, dt(1, 2, 2013), D("1")).estado, Art31::Perguntar);
  EXPECT_EQ(PODE_31(g, ContextoGanho{true}, Date(), D("1")).estado, Art31::Indisponivel);
}

// ------------------------------------------------- other assets and shares

TEST(GainOtherAssets, SmallValueQuestionAndExemption) {
  struct Caso { const char* valor; const char* resposta; bool pergunta; const char* trib; const char* imposto; const char* isento; }
  casos[] = {
      // 30,000.00 - 10,000.00, "N": the set of the month is not above 35,000 -> exempt
      {"30000", "N", true, "0", "0", "20000"},
      // "S": the set is above the limit -> 20,000.00 at 15 %
      {"30000", "S", true, "20000", "3000", "0"},
      // 36,000.00: above the limit, no question; 26,000.00 at 15 %
      {"36000", "N", false, "26000", "3900", "0"},
  };
  for (const auto& c : casos) {
    Ganho g;
    g.TIPO_BEM = 2;
    g.DATA_ADQ = dt(1, 1, 2010);
    g.DATA_ALI = dt(1, 7, 2013);
    g.VAL_ALI = D(c.valor);
    g.CUS_ATUAL = D("10000");
    EXPECT_EQ(PERGUNTA_PEQ_VALOR(g), c.pergunta) << c.valor;
    RESPOSTA_PEQ_VALOR(g, c.resposta);
    FCALGAN(g, ContextoGanho{});
    EXPECT_EQ(g.GAN_TRIV, D(c.trib)) << c.valor << c.resposta;
    EXPECT_EQ(g.VAL_IMPOSV, D(c.imposto)) << c.valor << c.resposta;
    EXPECT_EQ(g.VAL_NAOTRI, D(c.isento)) << c.valor << c.resposta;
  }
}

TEST(GainShares, WeightedCostAndRates) {
  struct Caso { int tipopart; const char* valor; const char* custo; const char* trib; const char* imposto; }
  casos[] = {
      // 100 for 1,000.00 + 100 for 3,000.00, sell 50: 4,000 / 200 x 50 = 1,000.00
      // sold for 25,000.00: 24,000.00 at 15 % = 3,600.00
      {1, "25000", "1000", "24000", "3600"},
      // quotas: same gain at 15 %
      {2, "25000", "1000", "24000", "3600"},
      // investment fund: 20 % = 4,800.00
      {3, "25000", "1000", "24000", "4800"},
  };
  for (const auto& c : casos) {
    Ganho g;
    g.TIPO_BEM = 3;
    g.TIPOPART = c.tipopart;
    g.VAL_ALI = D(c.valor);
    g.custos = {acoes(1, 100, "1000", dt(1, 1, 2012)), acoes(2, 100, "3000", dt(1, 2, 2013)),
                acoes(3, 50, "0", dt(20, 5, 2013))};
    ResultadoGanho r = FCALGAN(g, ContextoGanho{});
    EXPECT_EQ(r.custo, D(c.custo)) << c.tipopart;
    EXPECT_EQ(g.DATA_ALI, dt(20, 5, 2013));
    EXPECT_EQ(g.custos[1].CM_PONDER, D("30"));
    EXPECT_EQ(g.custos[2].CM_PONDER, D("20"));
    EXPECT_EQ(g.GAN_TRIV, D(c.trib)) << c.tipopart;
    EXPECT_EQ(g.VAL_IMPOSV, D(c.imposto)) << c.tipopart;
    EXPECT_EQ(g.PARCOMPRA, "S");
  }
}

TEST(GainShares, PurchaseAfterASaleDoesNotChangeItsCost) {
  // 100 for 1,000.00, sell 50 (cost 500.00), then 100 more for 3,000.00
  Ganho g;
  g.TIPO_BEM = 3;
  g.TIPOPART = 1;
  g.VAL_ALI = D("30000");
  g.custos = {acoes(1, 100, "1000"), acoes(3, 50, "0", dt(1, 3, 2013)), acoes(2, 100, "3000")};
  ResultadoGanho r = FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(r.custo, D("500"));
  EXPECT_EQ(g.custos[2].SALDO_ACAO, 150);
}

TEST(GainShares, SmallValueLimitIsTwentyThousand) {
  Ganho g;
  g.TIPO_BEM = 3;
  g.TIPOPART = 1;
  EXPECT_EQ(LIMITE_PEQ_VALOR(g), D("20000"));
  g.TIPOPART = 2;
  EXPECT_EQ(LIMITE_PEQ_VALOR(g), D("35000"));
  Ganho casa = imovel(dt(1, 1, 2000), dt(1, 6, 2013), "30000", "1");
  EXPECT_EQ(LIMITE_PEQ_VALOR(casa), D("35000"));
}

// ------------------------------------------------------ receipts on credit

TEST(GainReceipts, SaleOnCreditMonthByMonth) {
  // Other assets 100,000.00 - 60,000.00 = 40,000.00, tax 6,000.00: 40 % taxable.
  // March 50,000.00 -> 20,000.00 taxable, 3,000.00 tax; July 20,000.00 ->
  // 8,000.00, 1,200.00. Received 70,000.00; 30,000.00 still to come.
  Ganho g;
  g.TIPO_BEM = 2;
  g.DATA_ADQ = dt(1, 1, 2010);
  g.DATA_ALI = dt(1, 3, 2013);
  g.VAL_ALI = D("100000");
  g.CUS_ATUAL = D("60000");
  g.VEN_PRAZO = "S";
  FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(g.PER_TRI, D("40"));
  g.meses[2].REC_MES = D("50000");
  g.meses[6].REC_MES = D("20000");
  g.meses[6].IMP_PAG = D("1200");
  FX_GANHO(g, 3);
  FX_GANHO(g, 7);
  EXPECT_EQ(g.meses[2].VAL_TRI, D("20000"));
  EXPECT_EQ(g.meses[2].IMP_DEV, D("3000"));
  EXPECT_EQ(g.meses[6].IMP_DEV, D("1200"));
  EXPECT_TRUE(FECHA_RECEBIMENTOS(g, ContextoGanho{}).empty());
  EXPECT_EQ(g.VAL_RECOL, D("70000"));
  EXPECT_EQ(g.VAL_TRIBU, D("28000"));
  EXPECT_EQ(g.VAL_IMPOSP, D("4200"));
  EXPECT_EQ(g.IMPPAGO, D("1200"));
  auto m = MATRIZ_RECEBIMENTOS(g);
  EXPECT_EQ(m[0].rotulo, "01-Janeiro  ");
  EXPECT_EQ(m[12].rotulo, "<- Totais ->");
  EXPECT_EQ(m[12].REC_MES, D("70000"));
  EXPECT_EQ(m[12].IMP_DEV, D("4200"));
  // more received than sold: warning
  g.meses[11].REC_MES = D("40000");
  auto avisos = FECHA_RECEBIMENTOS(g, ContextoGanho{});
  ASSERT_EQ(avisos.size(), 4u);
  EXPECT_EQ(avisos[0], "Atenção! O Valor recebido nas parcelas foi maior que ");

  SomaSaida s = SOMA_NTRIB({[] {
    Ganho x;
    x.TIPO_BEM = 2;
    x.DATA_ALI = dt(1, 3, 2013);
    x.VAL_ALI = D("100000");
    x.VAL_RECOL = D("70000");
    return x;
  }()}, SomaEntrada{});
  EXPECT_EQ(s.VALFUTUR, D("30000"));
  EXPECT_EQ(s.ENTRADGP, D("70000"));
}

TEST(GainReceipts, CashSaleGoesIntoItsMonth) {
  Ganho g;
  g.TIPO_BEM = 2;
  g.DATA_ADQ = dt(1, 1, 2010);
  g.DATA_ALI = dt(12, 9, 2013);
  g.VAL_ALI = D("100000");
  g.CUS_ATUAL = D("60000");
  g.IMPPAGO = D("6000");
  g.meses[0].REC_MES = D("5");  // stale, cleared
  FCALGAN(g, ContextoGanho{});
  FECHA_RECEBIMENTOS(g, ContextoGanho{});
  EXPECT_TRUE(g.meses[0].REC_MES.is_zero());
  EXPECT_EQ(g.meses[8].REC_MES, D("100000"));
  EXPECT_EQ(g.meses[8].VAL_TRI, D("40000"));
  EXPECT_EQ(g.meses[8].IMP_DEV, D("6000"));
  EXPECT_EQ(g.VAL_RECOL, D("100000"));
  EXPECT_EQ(g.VAL_TRIBU, D("40000"));
  EXPECT_EQ(g.PER_TRI, D("40"));
}

TEST(GainReceipts, EarlierYearSaleInstalments) {
  // Sold in 2011, 30 % taxable; 10,000.00 in April and in May 2013:
  // 3,000.00 taxable and 450.00 tax each month; then the sale becomes
  // received 20,000.00, cost 70 % = 14,000.00, gain 6,000.00, tax 900.00.
  Ganho g = imovel(dt(1, 1, 2000), dt(1, 8, 2011), "0", "0");
  g.VENDAANT = "S";
  g.VEN_PRAZO = "S";
  g.FOIDIFE = "S";
  g.VAL_DIFE = D("50000");
  g.PER_TRI = D("30");
  g.meses[3].REC_MES = D("10000");
  g.meses[4].REC_MES = D("10000");
  FX_GANHO(g, 4);
  FX_GANHO(g, 5);
  EXPECT_EQ(g.meses[3].VAL_TRI, D("3000"));
  EXPECT_EQ(g.meses[4].IMP_DEV, D("450"));
  EXPECT_TRUE(FECHA_RECEBIMENTOS(g, ContextoGanho{}).empty());
  EXPECT_EQ(g.VAL_ALI, D("20000"));
  EXPECT_EQ(g.CUS_ATUAL, D("14000"));
  EXPECT_EQ(g.GAN_TRIV, D("6000"));
  EXPECT_EQ(g.VAL_IMPOSV, D("900"));
  EXPECT_TRUE(g.REDUCAO.is_zero());
  SomaSaida s = SOMA_NTRIB({g}, SomaEntrada{});
  EXPECT_EQ(s.VALFUTUR, D("30000"));  // 50,000.00 deferred - 20,000.00 received
  EXPECT_EQ(s.CUSTOANT, D("20000"));
}

TEST(GainReceipts, DayOfPayment) {
  struct Caso { int mes, dia; bool ok; } casos[] = {
      {2, 28, true}, {2, 29, true}, {2, 30, false}, {2, 31, false},
      {4, 30, true}, {4, 31, false}, {1, 31, true}, {12, 31, true}, {6, 32, false},
  };
  for (const auto& c : casos) {
    std::string aviso;
    EXPECT_EQ(CONF_DIA(c.mes, c.dia, &aviso), c.ok) << c.mes << "/" << c.dia;
    EXPECT_EQ(aviso.empty(), c.ok);
    if (!c.ok) {
      EXPECT_EQ(aviso, "Atenção. Dia errado para pagamento");
    }
  }
}

TEST(GainReceipts, DeferralTable) {
  // earlier sale: 80,000.00 in the year of sale, 50,000.00 deferred, 30 %:
  // tax cut(80,000 x 0.3 x 0.15) = 3,600.00, deferred cut(50,000 x 0.3 x 0.15)
  // = 2,250.00; 20,000.00 received and 600.00 paid in 2013
  Ganho g = imovel(dt(1, 1, 2000), dt(1, 8, 2011), "0", "0");
  g.VENDAANT = "S";
  g.PER_TRI = D("30");
  g.VAL_ANTE = D("80000");
  g.VAL_DIFE = D("50000");
  g.VAL_RECOL = D("20000");
  g.IMPPAGO = D("600");
  Diferimento d = SOMADIFE(g);
  EXPECT_EQ(d.imposto, D("3600"));
  EXPECT_EQ(d.imposto_diferido, D("2250"));
  EXPECT_EQ(d.valor_a_receber, D("30000"));
  EXPECT_EQ(d.imposto_a_pagar, D("1650"));
  // shares on credit: tax less the tax withheld
  Ganho s;
  s.TIPO_BEM = 3;
  s.TIPOPART = 1;
  s.VEN_PRAZO = "S";
  s.VAL_ALI = D("25000");
  s.VAL_IMPOSV = D("3600");
  s.VAL_PARTE = D("100");
  s.VAL_RECOL = D("10000");
  Diferimento e = SOMADIFE(s);
  EXPECT_EQ(e.imposto, D("3500"));
  EXPECT_EQ(e.valor_a_receber, D("15000"));
}

TEST(GainTotals, SharesOnCreditWithheldTax) {
  // 25,000.00 on credit, cost 50 x 20 = 1,000.00: gain 24,000.00 = 96 %;
  // May 10,000.00 received -> 9,600.00 taxable, 1,440.00 due, 5.00 withheld
  Ganho g;
  g.TIPO_BEM = 3;
  g.TIPOPART = 1;
  g.VEN_PRAZO = "S";
  g.VAL_ALI = D("25000");
  g.custos = {acoes(1, 200, "4000", dt(1, 2, 2012)), acoes(3, 50, "0", dt(20, 5, 2013))};
  FCALGAN(g, ContextoGanho{});
  EXPECT_EQ(g.PER_TRI, D("96"));
  g.meses[4].REC_MES = D("10000");
  g.meses[4].IMP_LEI = D("5");
  g.meses[4].IMP_PAG = D("1435");
  FX_GANHO(g, 5);
  EXPECT_EQ(g.meses[4].VAL_TRI, D("9600"));
  EXPECT_EQ(g.meses[4].IMP_DEV, D("1440"));
  FECHA_RECEBIMENTOS(g, ContextoGanho{});
  EXPECT_EQ(g.VAL_PARTE, D("5"));
  SomaSaida s = SOMA_NTRIB({g}, SomaEntrada{});
  EXPECT_EQ(s.I13_48, D("5"));
  EXPECT_EQ(s.I13_46, D("1435"));
  EXPECT_EQ(s.I4_02, D("8165"));      // 9,600 - 1,435
  EXPECT_EQ(s.VALFUTUR, D("15000"));
  EXPECT_EQ(s.ISENTNAO, D("22565"));  // 0 + 24,000 - 1,435
  auto m = MATRIZ_RECEBIMENTOS(g);
  EXPECT_TRUE(m[4].mostra_retido);
  EXPECT_EQ(m[12].IMP_LEI, D("5"));
}

// ------------------------------------------------------------ the totals

TEST(GainTotals, ExemptPartsTaxAndCosts) {
  ContextoGanho ctx;
  // 1) other assets, small value: 30,000.00 - 10,000.00 exempt
  Ganho a;
  a.TIPO_BEM = 2;
  a.DATA_ADQ = dt(1, 1, 2010);
  a.DATA_ALI = dt(1, 7, 2013);
  a.VAL_ALI = D("30000");
  a.CUS_ATUAL = D("10000");
  a.PEQ_VALOR = "S";
  a.VAL_CORR = D("500");  // gain 19,500.00
  FCALGAN(a, ctx);
  FECHA_RECEBIMENTOS(a, ctx);
  // 2) shares, small value: 15,000.00 - 5,000.00 = 10,000.00 exempt
  Ganho b;
  b.TIPO_BEM = 3;
  b.TIPOPART = 1;
  b.VAL_ALI = D("15000");
  b.PEQ_VALOR = "S";
  b.custos = {acoes(1, 10, "5000"), acoes(3, 10, "0", dt(1, 4, 2013))};
  FCALGAN(b, ctx);
  FECHA_RECEBIMENTOS(b, ctx);
  // 3) and 4) two single-property exemptions of 100,000.00 and 50,000.00
  Ganho c = imovel(dt(1, 1, 2000), dt(1, 6, 2013), "400000", "300000");
  c.USU_440 = "N";
  Ganho d = imovel(dt(1, 1, 2000), dt(1, 8, 2013), "150000", "100000");
  d.USU_440 = "N";
  d.CPFALIEN = "22222222222";
  for (Ganho* x : {&c, &d}) { FCALGAN(*x, ctx); FECHA_RECEBIMENTOS(*x, ctx); }
  // 5) shares for cash, 24,000.00 taxable, 3,600.00 tax: paid 3,000.00 and
  //    600.00 withheld -> I4_02 24,000 - 3,600 = 20,400.00, I13_46 3,600.00 once
  Ganho e;
  e.TIPO_BEM = 3;
  e.TIPOPART = 1;
  e.VAL_ALI = D("25000");
  e.IMPPAGO = D("3000");
  e.VAL_PARTE = D("600");
  e.custos = {acoes(1, 200, "4000", dt(1, 2, 2013)), acoes(3, 50, "0", dt(20, 5, 2013))};
  FCALGAN(e, ctx);
  FECHA_RECEBIMENTOS(e, ctx);
  // 6) the 1980 property: taxable 78,556.42, tax paid 11,783.46;
  //    the exempt 321,443.58 is the reduction
  Ganho f = imovel(dt(1, 6, 1980), dt(15, 6, 2013), "500000", "100000");
  f.IMPPAGO = D("11783.46");
  FCALGAN(f, ctx);
  FECHA_RECEBIMENTOS(f, ctx);

  SomaEntrada in;
  in.I3_04D = D("1000");
  in.retido_rv_linha24 = D("7");
  SomaSaida s = SOMA_NTRIB({a, b, c, d, e, f}, in);
  EXPECT_EQ(s.I3_04GCPVC, D("29500"));   // 19,500 + 10,000
  EXPECT_EQ(s.I3_04UNICC, D("150000"));  // 100,000 + 50,000 summed
  EXPECT_EQ(s.I3_04REDUC, D("321443.58"));
  EXPECT_EQ(s.I3_04C, D("500943.58"));
  EXPECT_EQ(s.I3_04, D("501943.58"));
  // 20,400.00 (shares) + 78,556.42 - 11,783.46 (property)
  EXPECT_EQ(s.I4_02, D("87172.96"));
  EXPECT_EQ(s.I13_46, D("15383.46"));    // 3,600.00 + 11,783.46
  EXPECT_EQ(s.I13_48, D("7"));
  EXPECT_EQ(s.ENTRADGP, D("1120000"));   // all received in cash
  EXPECT_TRUE(s.VALFUTUR.is_zero());
  EXPECT_EQ(s.TOTCORRET, D("500"));
  // 2013 cost: 4,000.00 bought (shares bought are not counted), shares sold
  // 50 x 20 = 1,000.00 and 10 x 500 = 5,000.00 (dated 2013), + brokerage
  EXPECT_EQ(s.CUSTOANO, D("6500"));
  // earlier costs: 10,000 + 300,000 + 100,000 + 100,000
  EXPECT_EQ(s.CUSTOANT, D("510000"));
  EXPECT_EQ(s.ULTIMOV, dt(1, 6, 2013));
}

TEST(GainTotals, FiveYearDates) {
  Ganho g = imovel(dt(1, 1, 2000), dt(1, 6, 2013), "400000", "300000");
  g.USA_ART31 = "S";
  g.PERART31 = D("100");
  FCALGAN(g, ContextoGanho{});
  SomaEntrada in;
  in.ULTRESI = dt(1, 1, 2010);  // less than 5 years: kept
  EXPECT_EQ(SOMA_NTRIB({g}, in).ULTRESI, dt(1, 1, 2010));
  in.ULTRESI = dt(1, 1, 2007);  // older: this sale
  EXPECT_EQ(SOMA_NTRIB({g}, in).ULTRESI, dt(1, 6, 2013));
  in.ULTRESI = Date();
  EXPECT_EQ(SOMA_NTRIB({g}, in).ULTRESI, dt(1, 6, 2013));
}

}  // namespace
}  // namespace tx::tax::gain
