// The declaration as the tax engine reads it: a plain copy of the single
// values and item lists of one taxpayer, with the field names of the tables
// (table 01/09 single values, table 02 income items, table 03 dependants,
// table 06 payments, table 12 monthly carnê-leão rows, tables 04/05 asset and
// debt values). The declaration layer fills it from the working copies field
// by field; the engine never touches a table or a screen.
//
// Interface
//   ItemRendimento   one table 02 row (kind I1_1, owner I1_11/I1_8, values
//                    I1_4..I1_34, monthly I1_4mm, TIPOCR, DT_LC)
//   Dependente       one table 03 row
//   Pagamento        one table 06 row (code I6_3, I6_4 paid, I6_5 not
//                    deductible, I6_6 person, monthly I6_4mm)
//   LinhaMensal      one table 12 row (I2_1..I2_7 per month), read only in
//                    the typed carnê-leão modes 2 and 4
//   Declaracao       everything together, plus the answers the computation
//                    would otherwise ask the operator for
//   sim(flag)        "S" (any case, leading blanks ignored) -> true
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::tax {

using Meses = std::array<Decimal, 12>;  // index 0 = January

bool sim(const std::string& flag);

struct ItemRendimento {
  std::string I1_1;   // "J" titular's company income, "D" a dependant's, "A" accumulated
                      // income, "P" own social security, "F" from individuals,
                      // "E" from abroad, "L" cash book, "I" carnê-leão paid
  std::string I1_3;   // paying source's CNPJ/CPF
  std::string I1_8;   // dependant's CPF
  std::string I1_11;  // "S" titular's item, "N" a dependant's
  std::string TIPOCR; // accumulated income: "N" taxed exclusively, else annual adjustment
  Date DT_LC;         // cash-book date (carnê-leão mode 3)
  Decimal I1_4, I1_5, I1_6, I1_7, I1_9, I1_10, I1_12, I1_13, I1_14, I1_15, I1_16, I1_17,
      I1_18, I1_19, I1_20, I1_23, I1_24, I1_25, I1_26, I1_27, I1_28, I1_29, I1_30, I1_31,
      I1_32, I1_33, I1_34;
  Meses I1_4mm{};     // I1_401 .. I1_412
};

struct Dependente {
  std::string NOMEDEPEN;
  int CODIDEPEN = 0;  // below 98 a dependant, 98/99 alimony receiver, above 99 an heir
  Date DATADEPEN;
  std::string CPFDEPEN;
  int NRODEPEN = 0;
};

struct Pagamento {
  int I6_3 = 0;       // payment code
  Decimal I6_4;       // paid
  Decimal I6_5;       // not deductible (reimbursed, or beyond a limit)
  int I6_6 = 0;       // 0 titular, k the k-th row of the dependants list
  std::string I6_7;
  Meses I6_4mm{};     // I6_401 .. I6_412
};

struct LinhaMensal {
  std::string CPFdepen;  // empty for the titular
  // I2_x mm, x = 1..7: individuals, abroad, cash book, deductions, paid, due, corrected
  std::array<Meses, 7> I2{};
};

// One month's SELIC rate, in percent.
struct TaxaSelic {
  int ano = 0, mes = 0;
  Decimal taxa;
};

struct Declaracao {
  // Identification and status.
  std::string USAPADRAO = "S";
  Date NASCIMENTO;
  std::string CODAT;
  std::string TEMRURAL;
  // Estate (espólio) and departure.
  std::string DECFINAL, DECJUDI, DECSAIDA;
  Date DATAPARTI, DATALAVRA, DATADECIS, DATASAIDA;

  // Carnê-leão filling mode (1 items, 2 typed totals, 3 cash book, 4 inverse).
  int CAL_AUTO = 1;
  bool SO_REC = false;
  // Official social security totals typed in modes 2 and 4.
  Decimal CARNEINSS, CARNEDEPEN;
  // Payment date of the months paid short, and the SELIC table for their
  // interest; without a date the corrected column is left at 0.
  Date DF_PAGTO;
  std::vector<TaxaSelic> selic;

  // Typed lines of the exempt (I3_nn) and exclusive (I4_nn) screens; index nn.
  // The lines gathered from the income items are recomputed and their typed
  // value here is not read.
  std::array<Decimal, 25> I3{};
  std::array<Decimal, 11> I4{};

  // Values that other parts compute or the calculation screen takes.
  Decimal I13_07;                  // rural result
  Decimal I13_31, I13_32, I13_33;  // complementary tax, tax paid abroad (as typed), law 11.003
  Decimal I13_46, I13_47, I13_48;  // capital gains, variable income, law 11.033
  Decimal I9_2;                    // spouse's result
  Decimal I4R_03, I4R_04, I4R_07, I5_08;  // rural: loss of the year, earlier loss used,
                                          // result, loss carried

  // Quotas.
  int QTD_QUOTA = 0;
  std::string DEBITAUT;

  // Item lists.
  std::vector<ItemRendimento> rendimentos;
  std::vector<Dependente> dependentes;
  std::vector<Pagamento> pagamentos;
  std::vector<LinhaMensal> mensal;          // modes 2 and 4 only
  std::vector<std::array<Decimal, 2>> bens;     // I7_3, I7_4
  std::vector<std::array<Decimal, 2>> dividas;  // I8_3, I8_4
};

}  // namespace tx::tax
