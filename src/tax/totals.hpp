// The computed values of one declaration: the calculation totals I13_01 to
// I13_50 and the other values the calculation leaves in the declaration
// record. Values are held unrounded, as computed (only table results are
// rounded to the cent); the declaration layer rounds them into their
// two-decimal fields when it stores them.
//
// Interface
//   Totais            every computed value, by its field name
//   Totais::I13(n)    I13_nn by number (1..50), read and write
//   Aviso             what the operator is to be told about this pass
//   Conselho          the cheaper-model advice of this pass
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/decimal.hpp"

namespace tx::tax {

enum class Aviso {
  SemDataFinalEspolio,   // "Na declaração final o cálculo do Imposto" / "depende da data Partilha ou Lavratura"
  SemDataSaida,          // "Na declaração de saída o cálculo do Imposto" / "depende da data da saída. Informe-a"
  LimiteExterior,        // the tax paid abroad was cut to its limit
  ParcelamentoEspolio,   // " ATENÇÃO! Não é permitido o" / "parcelamento em declaração final"
};

enum class Conselho {
  Nenhum,
  UsarSimplificado,  // "ATENÇÃO! É mais vantajoso usar o formulário simples"
  UsarCompleto,      // "  ATENÇAO!!  " / " Melhor opção" / "  Formulario " / "   Completo  "
};

struct Totais {
  std::array<Decimal, 51> i13{};  // index nn = I13_nn
  Decimal& I13(int n) { return i13[static_cast<std::size_t>(n)]; }
  Decimal I13(int n) const { return i13[static_cast<std::size_t>(n)]; }

  // Gathered lines of the exempt and exclusive screens (index nn).
  std::array<Decimal, 25> I3{};
  std::array<Decimal, 11> I4{};
  // Shares for the totals block of the company-income screen.
  Decimal I3_DEPEN, I4_DEPEN, I3_TITULAR, I4_TITULAR;

  // Partial sums.
  Decimal I13_10A, I13_10B, I13_25A, I13_25B, I13_34A, I13_34B;
  Decimal I13_11T, I13_13T, I13_14D, I13_22T, I13_22C, I13_22P, I13_24T;
  Decimal NPREVTIT, NPREVDEP, NFUNPRESP, CARNEINSS, CARNEDEPEN;
  Decimal EXGSUSP;
  std::string CGCPAGADOR;

  // Dependants.
  int N_DEPEN = 0;
  int DESPALIM = 0;

  // Carnê-leão.
  Decimal PENSAOM, NTOTDEP;

  // Balance-only payment sums.
  Decimal NADVOGADO, NALUGUEL, NADMINS, NCORRETOR, NDOABENS, NAJUSTE, NPARTIDO, NOUTROS;
  Decimal DESPSIMP, DESPDECLA;
  std::string DESPINST;

  // Model and base.
  std::string USAPADRAO;
  Decimal DESPADRAO, DESCON, LIMMAX;
  Decimal IMPOSTO_COMPLETO, IMPOSTO_SIMPLIFICADO;  // the two taxes compared
  Conselho conselho = Conselho::Nenhum;
  bool aviso_prejuizo_rural = false;  // simplified with a rural loss to compensate

  // Foreign-tax limit.
  Decimal IMPOSTO_COM_EXTERIOR, IMPOSTO_SEM_EXTERIOR, LIMITE_EXTERIOR;

  // Balance and quotas.
  Decimal IMPPGRE;
  int QTD_QUOTA = 0;
  std::string DEBITAUT;
  std::vector<Decimal> quotas;  // value of each quota, adding up to I13_36

  // Incentive and limit results written back into the payment rows: I6_5 of
  // each row of the payments list, in list order.
  std::vector<Decimal> I6_5;

  // Direct donation to children's funds still available.
  Decimal DOACAO_DIRETA;

  std::vector<Aviso> avisos;
};

}  // namespace tx::tax
