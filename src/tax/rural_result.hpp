// Rural activity: monthly receipts and expenses, the sums of the rural cash
// book, the result of the year (result I, the option for 20 % of the gross
// revenue, compensation of earlier losses, taxable and non-taxable result),
// the rural debt totals and the totals the activity hands to the declaration.
// Pure computation: plain records in, plain records out.
//
// Every monthly value and every result line is kept as its text in the cell
// picture and read back, so each is rounded to the cent before it is used
// again; a value too large for its cell stops the computation with the line
// named in the result (it is never read back as 0).
//
// Interface
//   texto_celula(v)      the cell text of v; none when it does not fit
//   guarda_celula(v)     v as its cell keeps it (rounded to the cent); none
//                        when it does not fit
//   valor_celula(text)   a cell text read back (blank -> 0)
//   rend_rural_de(rec)   PRENCHEAAR step 3: REND_RURAL from the monthly fields
//                        of a table 15 record (Brazil)
//   rend_rural_vazio()   the 24 texts of 0 of an activity not yet recorded
//   meses_de(rend)       the monthly fields I3_mmOR / I3_mmOD for saving
//   soma_rur(props, book)  SOMA_RUR: monthly receipts and expenses from the
//                        cash book, with the property shares; the rebuilt
//                        REND_RURAL and each property's VALITR
//   totais_mensais(rend) CALC2(13): I4R_01 and I4R_02
//   ve_despesas(rend)    VE_DESPESAS: MES_NEG and whether any month is marked
//   calucro(prop, dolar) a property abroad: RESUS, OPC20US, OPC20RS
//   soma_exterior(props) NTOTUS, NTOT20US, NTOT20RS
//   soma_div(debts)      SOMA_DIV: NTOTANT, NTOTBASE
//   calcula_resultado(in)  the lines of the result screen (steps 1 to 6)
//   calc_preju(master, activity, debts)  CALC_PREJU: the shown activity's
//                        results into the master values and the totals of
//                        the declaration
//   optou20(answer)      OPTOU20: whether the answer is accepted, and the
//                        text to show
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::tax::rural {

using Meses = std::array<Decimal, 12>;

// REND_RURAL: month m's receipts [m-1][0] and expenses [m-1][1] as cell texts.
using RendRural = std::array<std::array<std::string, 2>, 12>;

// The monthly fields of the main record (table 15): I3_01OR .. I3_12OR and
// I3_01OD .. I3_12OD, month m at index m-1.
struct MesesRurais {
  Meses I3_OR{};
  Meses I3_OD{};
  friend bool operator==(const MesesRurais&, const MesesRurais&) = default;
};

// A rural property (table 16), the fields the computation uses.
struct Imovel16 {
  Decimal I2R_04;  // participation in percent
  Decimal VALITR;  // expenses marked for the ITR
  Decimal RECEXT;  // abroad: revenue in the country's currency
  Decimal DESEXT;  // abroad: expenses in the country's currency
  Decimal VALUSE;  // abroad: US$ rate of that currency
  Decimal RESUS;   // abroad: result in US$
  Decimal OPC20US;  // abroad: 20 % of the revenue in US$
  Decimal OPC20RS;  // abroad: the same in R$
  friend bool operator==(const Imovel16&, const Imovel16&) = default;
};

// A rural cash-book entry (table 19).
struct Lancamento19 {
  Date DT_LC;       // empty: counts in no month
  Decimal VALOR;
  int NROIMO = 0;   // property number in list order; 0: the whole activity
  std::string TIPOCR;  // "C" receipt, "D" expense
  std::string TEMITR;  // "S": the expense counts for the ITR
};

// A rural debt (table 18).
struct Divida18 {
  Decimal I9R_2;  // balance at 31/12/2012
  Decimal I9R_3;  // balance at 31/12/2013
};

// A value that did not fit its cell.
struct Estouro {
  std::string campo;  // e.g. "I4R_03", "I3_05OD", "VALITR"
  Decimal valor;
};

struct SomaCaixa {
  bool ok = true;
  Estouro estouro;        // when !ok
  MesesRurais meses;      // every month rounded to the cent
  RendRural REND_RURAL{};
  std::vector<Decimal> VALITR;  // per property, list order
  // ITR-marked expenses of entries with property number 0 or beyond the
  // list: they belong to no property, so no VALITR receives them.
  Decimal ITR_SEM_IMOVEL;
};

struct TotaisMensais {
  bool ok = true;
  Estouro estouro;
  Decimal I4R_01;  // receipts of the year
  Decimal I4R_02;  // expenses of the year
};

struct MesesNegativos {
  std::array<char, 12> MES_NEG{};  // '*' or ' '
  bool algum = false;
};

struct TotaisExterior {
  bool ok = true;
  Estouro estouro;
  Decimal NTOTUS;
  Decimal NTOT20US;
  Decimal NTOT20RS;
};

struct TotaisDividas {
  Decimal NTOTANT;
  Decimal NTOTBASE;
  friend bool operator==(const TotaisDividas&, const TotaisDividas&) = default;
};

// What the result screen computes from.
struct EntradaResultado {
  std::string ATV_BRASIL = "S";  // "N": abroad; blank counts as "S"
  Decimal I4R_01;   // Brazil: gross revenue (from the monthly totals)
  Decimal I4R_02;   // Brazil: expenses
  Decimal I4R_04;   // loss balance of earlier years
  Decimal I5_09;    // advances received in the year for future delivery
  Decimal I5_10;    // revenue of products delivered against advances
  std::string OPT_20 = "N";   // Brazil
  std::string OPT_20E = "N";  // abroad
  Decimal NTOTUS;    // abroad
  Decimal NTOT20RS;  // abroad
  Decimal NVALDOLAR;  // abroad: the year's dollar rate
};

struct ResultadoRural {
  bool ok = true;
  Estouro estouro;
  Decimal I4R_01;
  Decimal I4R_02;
  Decimal I4R_03;  // result I (abroad: in R$)
  Decimal I4R_04;
  Decimal I4R_05;  // compensation of earlier losses
  Decimal I4R_06;  // 20 % of the gross revenue
  Decimal I4R_07;  // taxable result
  Decimal I5_08;   // loss balance to carry
  Decimal I5_09;
  Decimal I5_10;
  Decimal I6_10;   // non-taxable result
  bool opcao20 = false;
  bool brasil = true;
};

// The per-activity results of the taxpayer master record and the totals of
// the declaration.
struct Consolidacao {
  Decimal TRIB_BR, TRIB_EX;
  Decimal NTRIB_BR, NTRIB_EX;
  Decimal PREJU_BR, PREJU_EX;
  Decimal DIVAN_BR, DIVAN_EX;
  Decimal DIVAD_BR, DIVAD_EX;
  Decimal DIVPG_BR, DIVPG_EX;
  Decimal DIVAN, DIVAD;
  Decimal I13_07;
  Decimal I3_11;
  Decimal PREJRUR;
  Decimal AMORUR;
  Decimal EMPRUR;
  friend bool operator==(const Consolidacao&, const Consolidacao&) = default;
};

struct RespostaOpcao {
  bool aceita = false;
  std::vector<std::string> mensagem;  // box lines to show (may be empty)
};

std::optional<std::string> texto_celula(Decimal v);
std::optional<Decimal> guarda_celula(Decimal v);
Decimal valor_celula(const std::string& text);

struct CargaRend {
  bool ok = true;
  Estouro estouro;
  RendRural REND_RURAL{};
};
CargaRend rend_rural_de(const MesesRurais& rec);
RendRural rend_rural_vazio();
MesesRurais meses_de(const RendRural& rend);

SomaCaixa soma_rur(const std::vector<Imovel16>& imoveis, const std::vector<Lancamento19>& caixa);
TotaisMensais totais_mensais(const RendRural& rend);
MesesNegativos ve_despesas(const RendRural& rend);

struct ImovelCalculado {
  bool ok = true;
  Estouro estouro;
  Imovel16 imovel;
};
ImovelCalculado calucro(const Imovel16& imovel, Decimal dolar);
TotaisExterior soma_exterior(const std::vector<Imovel16>& imoveis);
TotaisDividas soma_div(const std::vector<Divida18>& dividas);

ResultadoRural calcula_resultado(const EntradaResultado& in);
Consolidacao calc_preju(const Consolidacao& antes, const ResultadoRural& r, const TotaisDividas& dividas);

RespostaOpcao optou20(const std::string& resposta);

}  // namespace tx::tax::rural
