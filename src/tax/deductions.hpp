// The payments list and the dependants list turned into the deduction totals
// and their legal limits.
//
// Interface
//   NRODP(decl, t)       counts dependants (codes below 98) into N_DEPEN and
//                        alimony receivers (98, 99) into DESPALIM
//   FDE_TUDO(decl, t)    one pass over the payments: I13_13T, I13_14,
//                        I13_14D, I13_15, I13_16, I13_11T, NFUNPRESP, I13_22C,
//                        I13_22T, I13_22P, I13_24T, the balance-only sums,
//                        DESPSIMP, DESPDECLA, DESPINST
//   FI13_11(t)           private pension: I13_11T, at most 12 % of I13_08
//   FI13_12(t)           N_DEPEN × NVALDEPANO
//   FI13_13(decl)        education: one slot per person (titular, then each
//                        row of the dependants list), each capped at
//                        NVALESCOL; the sum of the slots
//   FI13_24(t, model_completo)  domestic employer: the smallest of I13_24T,
//                        I13_23 and NMAXINSS in the complete model, else 0
//   custo_domestico(p)   a code 50 row's estimated annual cost of the
//                        employee: pay (employer's part × FATOR_DOMESTICO)
//                        plus the employer's part
//   FDOAPAG(p)           I6_5 set when a payment's amount is typed: the excess
//                        over the education limit (codes 1..6) or over
//                        NMAXINSS (code 50); other codes keep I6_5
//   FCONFNDEDU(p, valor) the check of a typed non-deductible part: above code
//                        27 it is refused (0, the "convênios" box); for the
//                        medical codes 8..27 a part larger than the amount is
//                        refused (0, "não pode ser maior que o valor pago");
//                        otherwise the value stays
#pragma once

#include "tax/snapshot.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

void NRODP(const Declaracao& d, Totais& t);
void FDE_TUDO(const Declaracao& d, Totais& t);
Decimal FI13_11(const Totais& t);
Decimal FI13_12(const Totais& t);
Decimal FI13_13(const Declaracao& d);
Decimal FI13_24(const Totais& t, bool model_completo);
Decimal custo_domestico(const Pagamento& p);
Decimal FDOAPAG(const Pagamento& p);

enum class NaoDedutivel { Aceito, SoConvenios, MaiorQuePago };
struct NaoDedutivelSaida {
  Decimal valor;
  NaoDedutivel motivo = NaoDedutivel::Aceito;
};
NaoDedutivelSaida FCONFNDEDU(const Pagamento& p, Decimal valor);

}  // namespace tx::tax
