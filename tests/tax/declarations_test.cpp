// Worked declarations through the whole calculation. Every expected value
// is computed by hand in the case's comment from the rules of the annual
// computation (annual table 7.5 % / 15 % / 22.5 % / 27.5 % with parcels
// 1539.70 / 3847.22 / 6923.95 / 9486.91; simplified discount 20 % up to
// 15197.02; dependant 2063.64; education 3230.46 per person; pension 12 %).
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tax/balanco.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

namespace {

// A computed value by its field name.
Decimal valor(const Totais& t, const std::string& name) {
  const std::map<std::string, Decimal> named = {
      {"DESPADRAO", t.DESPADRAO}, {"DESCON", t.DESCON}, {"LIMMAX", t.LIMMAX},
      {"IMPPGRE", t.IMPPGRE}, {"QTD_QUOTA", Decimal(t.QTD_QUOTA)},
      {"quota1", t.quotas.empty() ? Decimal() : t.quotas.front()},
      {"DOACAO_DIRETA", t.DOACAO_DIRETA}, {"LIMITE_EXTERIOR", t.LIMITE_EXTERIOR},
      {"IMPOSTO_SEM_EXTERIOR", t.IMPOSTO_SEM_EXTERIOR}, {"DESPDECLA", t.DESPDECLA},
      {"IMPOSTO_SIMPLIFICADO", t.IMPOSTO_SIMPLIFICADO}, {"IMPOSTO_COMPLETO", t.IMPOSTO_COMPLETO},
      {"I13_13T", t.I13_13T}, {"I13_14D", t.I13_14D}, {"I3_DEPEN", t.I3_DEPEN},
      {"I3_TITULAR", t.I3_TITULAR}, {"CARNEINSS", t.CARNEINSS}, {"CARNEDEPEN", t.CARNEDEPEN},
  };
  if (auto it = named.find(name); it != named.end()) return it->second;
  if (name.rfind("I13_", 0) == 0) return t.I13(std::stoi(name.substr(4)));
  if (name.rfind("I3_", 0) == 0) return t.I3[static_cast<std::size_t>(std::stoi(name.substr(3)))];
  if (name.rfind("I4_", 0) == 0) return t.I4[static_cast<std::size_t>(std::stoi(name.substr(3)))];
  if (name.rfind("I6_5#", 0) == 0) return t.I6_5.at(static_cast<std::size_t>(std::stoi(name.substr(5))));
  ADD_FAILURE() << "unknown name " << name;
  return Decimal();
}

ItemRendimento com_65(const char* taxable, const char* exempt, const std::string& dep_cpf = "") {
  ItemRendimento it = empresa(taxable);
  it.I1_17 = D(exempt);
  if (!dep_cpf.empty()) {
    it.I1_1 = "D";
    it.I1_11 = "N";
    it.I1_8 = dep_cpf;
  }
  return it;
}

struct Caso {
  const char* nome;
  std::function<Declaracao()> declaracao;
  Date hoje;
  std::vector<std::pair<const char*, const char*>> esperado;
  Conselho conselho;
  std::string USAPADRAO;
};

const Caso kCasos[] = {
    // Employee, simplified. Income 60000, withheld 5000, social security 4000,
    // 13th 5000. Discount 20 % = 12000 (under the cap); base 48000;
    // 48000 x 0.225 = 10800 - 6923.95 = 3876.05. Paid 5000: refund 1123.95.
    // The domestic employer (code 50) and the tax typed as paid abroad do not
    // count in this model. Complete would be 56000 x 0.275 - 9486.91 = 5913.09
    // less the domestic employer's 500 = 5413.09.
    {"employee, simplified",
     [] {
       Declaracao d;
       d.rendimentos = {empresa("60000", "5000", "4000", "5000")};
       d.pagamentos = {pagamento(50, "500")};
       d.I13_32 = D("300");
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_01", "60000"}, {"I13_08", "60000"}, {"I13_09", "4000"}, {"I13_19", "4000"},
      {"DESPADRAO", "12000"}, {"DESCON", "12000"}, {"LIMMAX", "56000"}, {"I13_20", "48000"},
      {"I13_21", "3876.05"}, {"I13_22", "0"}, {"I13_23", "3876.05"}, {"I13_24", "0"},
      {"I13_26", "3876.05"}, {"I13_27", "5000"}, {"I13_32", "0"}, {"I13_35", "5000"},
      {"IMPPGRE", "-1123.95"}, {"I13_36", "0"}, {"I13_38", "1123.95"}, {"I13_45", "5000"},
      {"QTD_QUOTA", "0"}, {"IMPOSTO_COMPLETO", "5413.09"}},
     Conselho::Nenhum, "S"},

    // The same employee in the complete model: base 60000 - 4000 = 56000,
    // tax 5913.09; domestic employer 500 (under 1078.08 and the tax);
    // due 5413.09, paid 5000, to pay 413.09. 413.09 / 50 -> 8 quotas;
    // 413.09 / 8 = 51.63625 cut 51.63; first 413.09 - 7 x 51.63 = 51.68.
    // Simplified 3876.05 is cheaper: the advice says so.
    {"employee, complete, advised to change",
     [] {
       Declaracao d;
       d.USAPADRAO = "N";
       d.rendimentos = {empresa("60000", "5000", "4000", "5000")};
       d.pagamentos = {pagamento(50, "500")};
       return d;
     },
     dt(20, 3, 2014),
     {{"DESCON", "4000"}, {"I13_20", "56000"}, {"I13_21", "5913.09"}, {"I13_24", "500"},
      {"I13_26", "5413.09"}, {"I13_36", "413.09"}, {"QTD_QUOTA", "8"}, {"I13_37", "51.63"},
      {"quota1", "51.68"}, {"IMPOSTO_SIMPLIFICADO", "3876.05"}},
     Conselho::UsarSimplificado, "N"},

    // Complete, two dependants, education, medical with a reimbursement,
    // private pension over 12 %.
    //   education: titular 2000; dependant 1: 2000 + 2000 -> 3230.46;
    //   dependant 2: 1000; person 5 is not on the list: 6230.46 (paid 7900)
    //   medical: 3000 - 500 reimbursed + 1200 = 3700
    //   pension 15000, 12 % of 100000 = 12000
    //   dependants 2 x 2063.64 = 4127.28; social security 5000
    //   deductions 5000 + 12000 + 4127.28 + 6230.46 + 3700 = 31057.74
    //   base 68942.26 x 0.275 = 18959.1215 - 9486.91 = 9472.2115 -> 9472.21
    //   paid 18000: refund 8527.79
    //   simplified: 100000 - 15197.02 = 84802.98 x 0.275 - 9486.91 = 13833.91
    {"complete with dependants, education, medical and pension",
     [] {
       Declaracao d;
       d.USAPADRAO = "N";
       d.rendimentos = {empresa("100000", "18000", "5000", "8000")};
       d.dependentes = {dependente(3, dt(1, 2, 2005), "1"), dependente(4, dt(1, 2, 2008), "2")};
       d.pagamentos = {pagamento(1, "2000", "0", 0), pagamento(1, "2000", "0", 1),
                       pagamento(2, "2000", "0", 1), pagamento(1, "1000", "0", 2),
                       pagamento(1, "900", "0", 5),  pagamento(10, "3000", "500", 0),
                       pagamento(9, "1200", "0", 1), pagamento(36, "15000")};
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_09", "5000"}, {"I13_11", "12000"}, {"I13_12", "4127.28"}, {"I13_13", "6230.46"},
      {"I13_13T", "7900"}, {"I13_14", "3700"}, {"I13_14D", "500"}, {"I13_19", "31057.74"},
      {"I13_20", "68942.26"}, {"I13_21", "9472.21"}, {"I13_26", "9472.21"}, {"I13_35", "18000"},
      {"I13_38", "8527.79"}, {"I13_45", "8000"}, {"IMPOSTO_SIMPLIFICADO", "13833.91"}},
     Conselho::Nenhum, "N"},

    // Complete, incentive pools with several codes, domestic employer, quotas.
    //   income 80000, no deductions: 80000 x 0.275 - 9486.91 = 12513.09
    //   6 % = 750.7854: 40 300 and 41 400 (700); left 50.7854 for 39: the
    //   first 39 row (200) keeps 149.2146 undeducted, the second (100) all;
    //   1 % = 125.1309: 45 (200) deducts 125.1309, 46 (50) all.
    //   incentives 700 + 50.7854 + 125.1309 + 50 = 925.9163
    //   tax 12513.09 - 925.9163 = 11587.1737; domestic min(1500, 1078.08)
    //   due 10509.0937; paid 5000; to pay 5509.0937 -> 5509.09 in 3 quotas:
    //   1836.36 cut, first 5509.09 - 2 x 1836.36 = 1836.37
    //   nothing left for a direct donation: 750.7854 - 700 - 50.7854 = 0
    //   balance: donations 1250 + domestic 1500 x 8.333335 + 1500 = 14000.0025
    //   simplified 80000 - 15197.02 = 64802.98 x 0.275 - 9486.91 = 8333.91
    {"complete with incentive pools and domestic employer",
     [] {
       Declaracao d;
       d.USAPADRAO = "N";
       d.QTD_QUOTA = 3;
       d.rendimentos = {empresa("80000", "5000")};
       d.pagamentos = {pagamento(40, "300"), pagamento(39, "200"), pagamento(41, "400"),
                       pagamento(45, "200"), pagamento(46, "50"),  pagamento(39, "100"),
                       pagamento(50, "1500")};
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_21", "12513.09"}, {"I13_22", "925.9163"}, {"I13_23", "11587.1737"},
      {"I13_24", "1078.08"}, {"I13_26", "10509.0937"}, {"IMPPGRE", "5509.0937"},
      {"QTD_QUOTA", "3"}, {"I13_37", "1836.36"}, {"quota1", "1836.37"}, {"I6_5#1", "149.2146"},
      {"I6_5#3", "74.8691"}, {"I6_5#5", "100"}, {"I6_5#6", "0"}, {"DOACAO_DIRETA", "0"},
      {"DESPDECLA", "15250.0025"}, {"IMPOSTO_SIMPLIFICADO", "8333.91"}},
     Conselho::UsarSimplificado, "N"},

    // Carnê-leão with one dependant (the sheets of the carnê-leão test):
    // individuals 8271.97 titular + 2000 dependant = 10271.97; social
    // security 400 + 100; dependant 2063.64; alimony 300;
    // deductions 2863.64, base 7408.33: no annual tax.
    // Monthly tax 499.63 (titular) + 14.19 (dependant) = 513.82 refunded.
    {"carnê-leão with the dependant amount",
     [] {
       Declaracao d;
       d.USAPADRAO = "N";
       d.dependentes = {dependente(3, dt(1, 5, 2004), "11111111111")};
       d.rendimentos = {
           mensal("F", {{1, "3000"}, {2, "100"}, {3, "171.97"}, {4, "5000"}}),
           mensal("P", {{1, "200"}, {4, "200"}}),
           mensal("I", {{1, "100"}, {4, "300"}}),
           mensal("F", {{6, "2000"}}, "11111111111"),
           mensal("P", {{6, "100"}}, "11111111111"),
       };
       Pagamento alimony = pagamento(30, "300");
       alimony.I6_4mm[3] = D("300");
       d.pagamentos = {alimony};
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_03", "8271.97"}, {"I13_04", "2000"}, {"I13_08", "10271.97"}, {"I13_09", "500"},
      {"CARNEINSS", "400"}, {"CARNEDEPEN", "100"}, {"I13_12", "2063.64"}, {"I13_15", "300"},
      {"I13_19", "2863.64"}, {"I13_20", "7408.33"}, {"I13_21", "0"}, {"I13_29", "499.63"},
      {"I13_30", "14.19"}, {"I13_35", "513.82"}, {"I13_38", "513.82"}},
     Conselho::Nenhum, "N"},

    // Final estate declaration, partition in June: 6 months, so the table is
    // halved (top bound 25629.54, parcel 4743.455). Income 40000:
    // 40000 x 0.275 = 11000 - 4743.455 = 6256.545 -> 6256.55.
    // Always complete; the 4 quotas chosen become one (with the notice); the
    // debit stays, being before 01/04/2014. No advice for an estate.
    {"final estate declaration",
     [] {
       Declaracao d;
       d.DECFINAL = "S";
       d.DATAPARTI = dt(20, 6, 2013);
       d.QTD_QUOTA = 4;
       d.DEBITAUT = "S";
       d.rendimentos = {empresa("40000")};
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_20", "40000"}, {"I13_21", "6256.55"}, {"I13_26", "6256.55"}, {"I13_36", "6256.55"},
      {"QTD_QUOTA", "1"}, {"I13_37", "6256.55"}},
     Conselho::Nenhum, "N"},

    // Departure in September, resident since March: 7 months. Income 20000
    // in the 15 % bracket of the reduced table (17947.37 to 23930.13):
    // 3000 - 3847.22 x 7 / 12 (2244.2116...) = 755.788 -> 755.79.
    // A single quota, and no automatic debit after 01/04/2014.
    {"departure declaration",
     [] {
       Declaracao d;
       d.DECSAIDA = "S";
       d.DATASAIDA = dt(15, 9, 2013);
       d.DATADECIS = dt(10, 3, 2013);
       d.QTD_QUOTA = 5;
       d.DEBITAUT = "S";
       d.rendimentos = {empresa("20000")};
       return d;
     },
     dt(10, 4, 2014),
     {{"I13_21", "755.79"}, {"I13_36", "755.79"}, {"QTD_QUOTA", "1"}, {"I13_37", "755.79"}},
     Conselho::Nenhum, "N"},

    // Over 65: the titular was born on 31/12/1948 (limit 1710.78 x 2 =
    // 3421.56) and typed 5000 exempt: 1578.44 more taxable. A dependant born
    // in 1940 typed 25000: limit 22240.14, 2759.86 taxable.
    //   exempt 3421.56 + 22240.14 = 25661.70
    //   taxable 31578.44 + 2759.86 = 34338.30; discount 6867.66
    //   base 27470.64 x 0.075 = 2060.298 - 1539.70 = 520.598 -> 520.60
    //   8 quotas: 65.075 cut 65.07, first 520.60 - 7 x 65.07 = 65.11
    {"retired over 65",
     [] {
       Declaracao d;
       d.NASCIMENTO = dt(31, 12, 1948);
       d.CODAT = "61";
       d.dependentes = {dependente(11, dt(2, 2, 1940), "3")};
       d.rendimentos = {com_65("30000", "5000"), com_65("0", "25000", "3")};
       return d;
     },
     dt(20, 3, 2014),
     {{"I3_06", "25661.70"}, {"I13_01", "31578.44"}, {"I13_02", "2759.86"},
      {"I13_08", "34338.30"}, {"I13_44", "25661.70"}, {"I3_DEPEN", "22240.14"},
      {"I3_TITULAR", "3421.56"}, {"DESPADRAO", "6867.66"}, {"I13_20", "27470.64"},
      {"I13_21", "520.60"}, {"QTD_QUOTA", "8"}, {"I13_37", "65.07"}, {"quota1", "65.11"}},
     Conselho::Nenhum, "S"},

    // Tax paid abroad, complete. Company 50000; abroad 10000 in January
    // (carnê-leão due 10000 x 0.275 - 790.58 = 1959.42); pension 7000;
    // alimony by deed 1000; donation (code 40) 1000.
    //   with: income 60000, pension 7000 (limit 7200), base 52000:
    //         14300 - 9486.91 = 4813.09; incentive 6 % = 288.7854;
    //         due 4524.3046
    //   without: income 50000, pension 6000, deductions 7000, base 43000:
    //         9675 - 6923.95 = 2751.05; incentive 165.063; due 2585.987
    //   limit 1938.3176: the 2500 typed is cut to it
    //   paid 1959.42 + 1938.3176 = 3897.7376; to pay 626.567 -> 626.57
    //   8 quotas: 78.32125 cut 78.32, first 626.57 - 7 x 78.32 = 78.33
    //   simplified: 48000 -> 3876.05, cheaper
    {"tax paid abroad, complete",
     [] {
       Declaracao d;
       d.USAPADRAO = "N";
       d.rendimentos = {empresa("50000"), mensal("E", {{1, "10000"}})};
       d.pagamentos = {pagamento(36, "7000"), pagamento(33, "1000"), pagamento(40, "1000")};
       d.I13_32 = D("2500");
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_49", "10000"}, {"I13_29", "1959.42"}, {"I13_08", "60000"}, {"I13_11", "7000"},
      {"I13_16", "1000"}, {"I13_20", "52000"}, {"I13_21", "4813.09"}, {"I13_22", "288.7854"},
      {"I13_26", "4524.3046"}, {"IMPOSTO_SEM_EXTERIOR", "2585.987"},
      {"LIMITE_EXTERIOR", "1938.3176"}, {"I13_32", "1938.3176"}, {"I13_35", "3897.7376"},
      {"IMPPGRE", "626.567"}, {"QTD_QUOTA", "8"}, {"I13_37", "78.32"}, {"quota1", "78.33"},
      {"I6_5#2", "711.2146"}},
     Conselho::UsarSimplificado, "N"},

    // The same in the simplified model: base 48000 -> 3876.05, no incentive
    // (the donation keeps all of its 1000 undeducted), no credit for tax
    // abroad. Paid 1959.42, to pay 1916.63; 8 quotas: 239.57875 cut 239.57,
    // first 1916.63 - 7 x 239.57 = 239.64.
    {"tax paid abroad, simplified",
     [] {
       Declaracao d;
       d.rendimentos = {empresa("50000"), mensal("E", {{1, "10000"}})};
       d.pagamentos = {pagamento(36, "7000"), pagamento(33, "1000"), pagamento(40, "1000")};
       d.I13_32 = D("2500");
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_21", "3876.05"}, {"I13_22", "0"}, {"I13_32", "0"}, {"I13_26", "3876.05"},
      {"I13_35", "1959.42"}, {"I13_36", "1916.63"}, {"I13_37", "239.57"}, {"quota1", "239.64"},
      {"I6_5#2", "1000"}},
     Conselho::Nenhum, "S"},

    // Income abroad that adds no annual tax: 10000 + 5000 = 15000 is exempt
    // with or without it, so the limit is 0 and the credit 0. The carnê-leão
    // of January (5000 x 0.275 - 790.58 = 584.42) is refunded.
    {"tax paid abroad without room for a credit",
     [] {
       Declaracao d;
       d.USAPADRAO = "N";
       d.rendimentos = {empresa("10000"), mensal("E", {{1, "5000"}})};
       d.I13_32 = D("100");
       return d;
     },
     dt(20, 3, 2014),
     {{"I13_21", "0"}, {"I13_32", "0"}, {"I13_35", "584.42"}, {"I13_38", "584.42"}},
     Conselho::Nenhum, "N"},

    // Accumulated income: taxed exclusively (20000 - 1000 withheld - 500
    // social security = 18500 exclusive; its tax 1500 due, 1000 paid) and in
    // the annual adjustment (10000, withheld 300, social security 200,
    // alimony 100). Simplified with company income 30000:
    //   taxable 40000, discount 8000, base 32000 x 0.15 - 3847.22 = 952.78
    //   due 952.78 + 1500 = 2452.78; paid 300 + 1000; to pay 1152.78
    //   8 quotas: 144.0975 cut 144.09, first 1152.78 - 7 x 144.09 = 144.15
    {"accumulated income",
     [] {
       Declaracao d;
       ItemRendimento excl;
       excl.I1_1 = "A";
       excl.I1_11 = "S";
       excl.TIPOCR = "N";
       excl.I1_4 = D("20000");
       excl.I1_5 = D("1000");
       excl.I1_6 = D("500");
       excl.I1_20 = D("1500");
       ItemRendimento adj = excl;
       adj.TIPOCR = "S";
       adj.I1_4 = D("10000");
       adj.I1_5 = D("300");
       adj.I1_6 = D("200");
       adj.I1_12 = D("100");
       adj.I1_20 = Decimal();
       d.rendimentos = {empresa("30000"), excl, adj};
       return d;
     },
     dt(20, 3, 2014),
     {{"I4_05", "18500"}, {"I13_45", "18500"}, {"I13_25", "1500"}, {"I13_34", "1000"},
      {"I13_05", "10000"}, {"I13_27", "300"}, {"I13_10", "200"}, {"I13_17", "100"},
      {"I13_08", "40000"}, {"I13_21", "952.78"}, {"I13_26", "2452.78"}, {"I13_35", "1300"},
      {"I13_36", "1152.78"}, {"I13_37", "144.09"}, {"quota1", "144.15"}},
     Conselho::Nenhum, "S"},
};

}  // namespace

TEST(Declarations, WorkedCases) {
  for (const auto& c : kCasos) {
    const Calculo r = BALANCO(c.declaracao(), c.hoje);
    for (const auto& [name, expected] : c.esperado)
      EXPECT_EQ(valor(r.totais, name), D(expected)) << c.nome << ": " << name << " = "
                                                    << valor(r.totais, name).str(6);
    EXPECT_EQ(r.totais.conselho, c.conselho) << c.nome;
    EXPECT_EQ(r.totais.USAPADRAO, c.USAPADRAO) << c.nome;
  }
}

TEST(Declarations, EstateNoticesAndDebit) {
  Declaracao d = kCasos[5].declaracao();
  const Calculo before = BALANCO(d, dt(20, 3, 2014));
  EXPECT_EQ(before.totais.DEBITAUT, "S");
  ASSERT_EQ(before.totais.avisos.size(), 1u);
  EXPECT_EQ(before.totais.avisos[0], Aviso::ParcelamentoEspolio);
  EXPECT_EQ(BALANCO(d, dt(2, 4, 2014)).totais.DEBITAUT, "");
}

TEST(Declarations, StoredLimitedValuesAreNotTrusted) {
  // The typed credit for tax abroad is limited again on every pass, so a
  // value stored from an earlier pass with more income abroad shrinks.
  Declaracao d = kCasos[8].declaracao();
  d.I13_32 = D("1000");
  EXPECT_EQ(BALANCO(d, dt(20, 3, 2014)).totais.I13(32), D("1000"));
  d.rendimentos[1] = mensal("E", {{1, "2000"}});
  // with: income 52000, pension 6240, deductions 7240, base 44760:
  //   10071 - 6923.95 = 3147.05, incentive 188.823 -> 2958.227
  // without: 2585.987 (as before): limit 372.24
  EXPECT_EQ(BALANCO(d, dt(20, 3, 2014)).totais.I13(32), D("372.24"));
}
