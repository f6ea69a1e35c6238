// Variable income month by month: the sheets of one person (common
// operations, day trade, real-estate investment funds), their recomputation,
// the typing rules of their cells, their records in table 07 and the annual
// totals they give the declaration.
//
// Interface
//   Planilha                 one sheet: kind ('1' common, '2' day trade,
//                            '3' funds), person (blank = titular) and the
//                            month cells, row r month m at cel(r, m), r and m
//                            from 1. Kinds '1'/'2' use rows 1-28, kind '3'
//                            rows 1-6.
//   nova_planilha(kind, person)   all cells zero (ZER_RENVAR)
//   guarda_celula(v)         the value as the cell keeps it: rounded to the
//                            cent through the cell picture; none when it does
//                            not fit the picture (never read back as 0)
//   recalcula(sheet)         SOMA_RENVAR: every computed row of the sheet from
//                            the typed ones, month by month. A computed value
//                            too large for its cell stops it with the cell
//                            named in the result; the sheet is then left as
//                            it was before the call.
//   pode_digitar(sheet, r, m)    whether a cell may be typed, with the text
//                            to show when refused (may be empty)
//   digita(sheet, r, m, v)   writes a typed value and recomputes
//   carrega_planilha(records, kind, person)   PRENCHE_MAT over the records
//                            of table 07, then recomputed
//   grava_planilha(records, sheet, cpf)       GRAVA_RV: the records of table
//                            07 after the sheet is saved into them
//   registros_da_planilha(sheet, cpf)         the sheet's own records: one per
//                            row with a non-zero month
//   totais_anuais(records)   CALC_GRV: I3_20, I4_03, I13_47, LUCRRVA, PREJRVA.
//                            I3_20 is taken sheet by sheet (person and kind):
//                            the loss carried into January less the loss still
//                            open in December, and the sheets' amounts added,
//                            so the result does not depend on the order of the
//                            records.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/decimal.hpp"

namespace tx::tax::rvar {

inline constexpr int kLinhasRenvar = 28;  // MRENVAR, kinds '1' and '2'
inline constexpr int kLinhasRenfin = 6;   // MRENFIN, kind '3'
inline constexpr int kTipoBemRendaVariavel = 4;

inline constexpr char kComum = '1';
inline constexpr char kDayTrade = '2';
inline constexpr char kFundos = '3';

using Meses = std::array<Decimal, 12>;

struct Planilha {
  char DAY_TRADE = kComum;
  std::string CPF_DEPE;  // blank: the titular
  std::array<Meses, kLinhasRenvar> linhas{};

  int numero_linhas() const { return DAY_TRADE == kFundos ? kLinhasRenfin : kLinhasRenvar; }
  Decimal& cel(int row, int month) { return linhas[row - 1][month - 1]; }
  Decimal cel(int row, int month) const { return linhas[row - 1][month - 1]; }
};

// One record of table 07, the fields the sheets use.
struct Registro07 {
  std::string CPF;
  int BEM_NRO = 0;
  int RVAR_NRO = 0;
  std::string DAY_TRADE;  // "1", "2", "3"; blank on capital-gain records
  int TIPO_BEM = kTipoBemRendaVariavel;
  std::string CPF_DEPE;
  Meses REC_MES{};  // REC_MES01 .. REC_MES12

  friend bool operator==(const Registro07&, const Registro07&) = default;
};

// A cell whose value did not fit the cell picture.
struct CelulaEstourada {
  int linha = 0;
  int mes = 0;
  Decimal valor;  // the value that did not fit
};

struct Resultado {
  bool ok = true;
  CelulaEstourada estouro;  // when !ok
};

struct Carga {
  bool ok = true;
  Planilha planilha;
  CelulaEstourada estouro;  // when !ok
};

struct Digitacao {
  bool permitido = false;
  std::string mensagem;  // shown when refused; empty: refused silently
};

struct TotaisRendaVariavel {
  Decimal I3_20;
  Decimal I4_03;
  Decimal I13_47;
  Decimal LUCRRVA;
  Decimal PREJRVA;
  friend bool operator==(const TotaisRendaVariavel&, const TotaisRendaVariavel&) = default;
};

Planilha nova_planilha(char kind, const std::string& person = "");
std::optional<Decimal> guarda_celula(Decimal v);

Resultado recalcula(Planilha& sheet);

Digitacao pode_digitar(const Planilha& sheet, int row, int month);
Resultado digita(Planilha& sheet, int row, int month, Decimal value);

Carga carrega_planilha(const std::vector<Registro07>& records, char kind, const std::string& person);
std::vector<Registro07> registros_da_planilha(const Planilha& sheet, const std::string& cpf);
std::vector<Registro07> grava_planilha(const std::vector<Registro07>& records, const Planilha& sheet,
                                       const std::string& cpf);

TotaisRendaVariavel totais_anuais(const std::vector<Registro07>& records);

}  // namespace tx::tax::rvar
