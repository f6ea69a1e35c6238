// Capital gains of a declaration: one sale (table 07 record) with its cost
// lines (table 08), the legal reductions, the exempt part, the taxable gain,
// the tax, the receipts month by month and the declaration totals.
//
// Interface
//   DIF_MESES(later, earlier)   months counted for the reduction factors
//   FPER_RED(sale, date, ctx)   reduction % by year of acquisition
//   CALC_RED(acq, sale, abroad) factors FR1 / FR2 (8 decimals)
//   FCUS_TOT(sale, ctx)         total cost and each line's share of it
//   FCALGAN(sale, ctx)          cost, reductions, gain and tax of one sale
//   CALC_LUCRO / VE_GAN         taxable gain, exempt part and tax
//   FX_GANHO(sale, month)       one month of the receipts of a sale on credit
//   CONF_DIA(month, day)        a day of payment that exists in the month
//   FECHA_RECEBIMENTOS(sale)    months summed into the sale (or, for a cash
//                               sale, the sale put into its month)
//   MATRIZ_RECEBIMENTOS(sale)   the 12 months and the totals row, as data
//   SOMADIFE(sale)              the deferral table of the sale
//   SOMA_NTRIB(sales, in)       declaration totals from all sales
//   LIMITE_PEQ_VALOR, PODE_31, CHECA_UNICO_IMOVEL: the decisions behind the
//   questions of the sale form.
//
// Every amount "cut" is DESPREZA (two decimals unless stated).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::tax::gain {

// One cost line (table 08, RVAR_NRO 0).
struct CustoGanho {
  int BEM_NRO = 0;
  int RVAR_NRO = 0;
  Decimal VALOR_CUST;
  Date DATA_CUST;
  int PER_RED = 0;
  Decimal PER_RED1, PER_RED2;  // FR1 and FR2 of the line
  Decimal PER_CUST;            // share of the total cost, %
  Decimal VALOR_REDU;          // reduction by year, amount
  Decimal CUST_UNI;            // line's share of the gain
  Decimal RESUL_2, RESUL_3;    // FR1 and FR2 amounts
  // shares
  int TIPO_OPER = 0;  // 1 balance, 2 acquisition or bonus, 3 sale
  int TIPO_ACAO = 0;
  std::string LOTE;
  long MOV_ACAO = 0;
  Decimal CM_PONDER;
  long SALDO_ACAO = 0;
  Decimal CMED_COEF;
};

// One month of the receipts of a sale.
struct MesGanho {
  Decimal REC_MES, VAL_TRI;
  int DIA_REC = 0;
  Decimal IMP_DEV, IMP_PAG, IMP_LEI;
};

inline constexpr const char* kPermutaTorna = "Permuta com recebimento torna";

// One sale (table 07 record, TIPO_BEM 1 to 3).
struct Ganho {
  std::string CPF, CPFALIEN;
  int BEM_NRO = 0;
  int TIPO_BEM = 1;  // 1 real estate, 2 other assets, 3 shares and quotas
  int NRO_ITEM = 0;
  std::string NATUOPER = "Venda";
  std::string MAISDE1 = "N", CPFNOME, CPFADQ, NOME_ADQ, ESPC_BEM;
  Date DATA_ADQ, DATA_ALI;
  Decimal VAL_ALI, VAL_CORR, CUS_ATUAL;
  std::string PARCOMPRA = "N", VEN_PRAZO = "N", VENDAANT = "N", FOIDIFE = "N";
  Decimal PER_TRI;
  Decimal VAL_ANTE, VAL_DIFE, IMP_ANTE, IMP_DIFE;
  std::string PEQ_VALOR = "N", USU_440 = "S";
  std::string USA_ART31 = "N";
  Decimal VAL_PARTE, PERART31;
  int TIPOPART = 0;  // shares: 1 shares, 2 quotas or others, 3 investment fund
  std::string SUJREG = "N";
  Decimal REDUCAO, FATOR1, FATOR2, FR1, FR2;
  Decimal GAN_TRIV, GAN_TRIP, VAL_NAOTRI, VAL_IMPOSV, VAL_IMPOSP, IMPPAGO;
  Decimal VAL_RECOL, VAL_TRIBU;
  std::array<MesGanho, 12> meses{};
  std::vector<CustoGanho> custos;

  bool anterior() const { return VENDAANT == "S"; }
  bool a_prazo() const { return VEN_PRAZO == "S"; }
  bool permuta() const { return TIPO_BEM == 1 && NATUOPER == kPermutaTorna; }
  bool fundo() const { return TIPO_BEM == 3 && TIPOPART == 3; }
  bool acoes() const { return TIPO_BEM == 3 && TIPOPART == 1; }
};

struct ContextoGanho {
  bool exterior = false;  // taxpayer resident abroad
};

// The result lines of the sale form.
struct ResultadoGanho {
  Decimal custo;         // cost used (the cost of the complement in an exchange)
  Decimal ganho;         // G
  Decimal R2, R3, R4;    // after the year reduction, FR1, FR2
  Decimal reinvestido;   // part exempt by reinvestment
  bool isento = false;   // small-value or single-property exemption
  std::vector<std::string> avisos;
};

int DIF_MESES(Date later, Date earlier);

// Reduction % by year for a cost line dated `data` (empty: the acquisition).
int FPER_RED(const Ganho& g, Date data, const ContextoGanho& ctx,
             std::vector<std::string>* avisos = nullptr);

struct Fatores {
  Decimal FR1, FR2;
  bool data_invalida = false;  // "Data invalida. Posterior ao mes da venda"
};
Fatores CALC_RED(Date aquisicao, Date venda, bool exterior);

// Gives a sale its base cost line when it has none and completes the line's
// empty date (and the cost of an earlier-year sale bought in payments).
void COMPLETA_CUSTOS(Ganho& g);

// Total cost of the sale, each line's PER_CUST; shares: the weighted cost of
// the quantity sold. Returns the cost used (for an exchange, the cost
// attributed to the cash complement).
Decimal FCUS_TOT(Ganho& g, const ContextoGanho& ctx);

// Recomputes one sale entirely: cost lines, reductions, gain, tax.
ResultadoGanho FCALGAN(Ganho& g, const ContextoGanho& ctx);

// Taxable gain, exempt part and tax from the already computed reductions.
void CALC_LUCRO(Ganho& g, ResultadoGanho& r);
// Gain of other assets and shares.
void VE_GAN(Ganho& g, ResultadoGanho& r);

bool isencao_pequeno_valor(const Ganho& g);
bool isencao_unico_imovel(const Ganho& g);
Decimal aliquota(const Ganho& g);

// --- receipts ---
void FX_GANHO(Ganho& g, int mes);                  // mes 1..12
bool CONF_DIA(int mes, int dia, std::string* aviso = nullptr);
// Returns the warning lines when the received total passes the value sold.
std::vector<std::string> FECHA_RECEBIMENTOS(Ganho& g, const ContextoGanho& ctx);

struct LinhaRecebimento {
  std::string rotulo;  // "01-Janeiro  " ... or "<- Totais ->"
  int mes = 0;         // 0 on the totals row
  Decimal VAL_TRI, IMP_DEV;
  int DIA_REC = 0;
  Decimal REC_MES, IMP_LEI, IMP_PAG;
  bool mostra_retido = false;  // shares: withheld-tax column shown
};
std::array<LinhaRecebimento, 13> MATRIZ_RECEBIMENTOS(const Ganho& g);

// The deferral table under the form: value and tax of the year of sale, the
// deferred value and tax, what was received and paid in 2013 and what is
// carried to later years.
struct Diferimento {
  Decimal valor, imposto;              // year of sale
  Decimal valor_diferido, imposto_diferido;
  Decimal recebido, pago;              // 2013
  Decimal valor_a_receber, imposto_a_pagar;
};
Diferimento SOMADIFE(const Ganho& g);

// --- form decisions ---
Decimal LIMITE_PEQ_VALOR(const Ganho& g);
// True when the small-value question is to be asked (sale value up to the limit).
bool PERGUNTA_PEQ_VALOR(const Ganho& g);
// The operator's answer to "... é superior a R$ ...?": "S" not exempt.
void RESPOSTA_PEQ_VALOR(Ganho& g, const std::string& resposta);

enum class Unico { NaoSeAplica, Bloqueado, Perguntar };
// Real-estate sale of the holder up to 440,000.00 with at most one property
// listed; ULTIMOV is the last sale that used the exemption.
Unico CHECA_UNICO_IMOVEL(Ganho& g, bool unico_imovel, Date ULTIMOV);

enum class Art31 { Indisponivel, Bloqueado, Perguntar, Respondido };
struct Art31Decisao {
  Art31 estado = Art31::Perguntar;
  std::vector<std::string> mensagem;
};
Art31Decisao PODE_31(const Ganho& g, const ContextoGanho& ctx, Date ULTRESI, Decimal ganho);

// --- declaration totals ---
struct SomaEntrada {
  Decimal I3_04D;           // exempt amounts keyed directly
  Decimal retido_rv_linha24;  // variable income, line 24 outside day trade
  Date ULTRESI, ULTIMOV;
};
struct SomaSaida {
  Decimal CUSTOANO, CUSTOANT, TOTCORRET;
  Decimal I3_04GCPVC, I3_04UNICC, I3_04REDUC, I3_04C, I3_04;
  Decimal ENTRADGP, I4_02, I13_46, I13_48, VALFUTUR, ISENTNAO;
  Date ULTRESI, ULTIMOV;
};
SomaSaida SOMA_NTRIB(const std::vector<Ganho>& ganhos, const SomaEntrada& in);

}  // namespace tx::tax::gain
