// The two models of the declaration: the complete one with the itemised
// deductions and the incentives, and the simplified one with a flat discount
// of 20 % of the taxable income up to a cap. Both are always computed, so
// that the cheaper one can be advised; the simulators of the calculation
// screen are here too.
//
// Interface
//   modelo_completo(decl)   true when the declaration is in the complete
//                           model; a final estate or a departure declaration
//                           always is
//   FDESPADRAO(renda)       min(renda × 20 %, NDESCPRAD)
//   imposto_completo(decl, t, renda, meses)  the complete model on income
//       `renda` with the deductions gathered in t (I13_09, I13_10, I13_11T,
//       I13_12 .. I13_18, I13_24T, I13_25): private pension held to 12 % of
//       `renda`, base, table, incentives on that table's tax, domestic
//       employer, I13_26
//   imposto_simplificado(t, renda, meses)    the same for the simplified model
//   CONSELHO(decl, t)       the cheaper-model advice from the two taxes
//       t.IMPOSTO_COMPLETO and t.IMPOSTO_SIMPLIFICADO of this pass
//   SIMULA_SIMPLES(T, I13_35)   income whose simplified tax is T (none when a
//                           refund larger than the tax paid is asked)
//   SIMULA_DEDUCAO(decl, t, extra)  the balance the complete model would give
//                           with an extra deduction, incentives by the same
//                           rule as the computation
//   SIMULA_INVERSO(decl, t, saldo)  the inverse calculation: the smallest
//                           taxable income (to the cent) whose complete
//                           computation, with the deductions of the
//                           declaration and the private pension held to 12 %
//                           of that income, gives at least the balance `saldo`
//                           (negative: a refund); none for a refund larger
//                           than the tax paid
#pragma once

#include <optional>

#include "tax/incentives.hpp"
#include "tax/snapshot.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

struct Modelo {
  Decimal I13_11, I13_19, DESCONTO, I13_20, I13_21, I13_22, I13_23, I13_24, I13_26;
  Incentivos incentivos;
};

bool modelo_completo(const Declaracao& d);
Decimal FDESPADRAO(Decimal renda);
Modelo imposto_completo(const Declaracao& d, const Totais& t, Decimal renda, int meses);
Modelo imposto_simplificado(const Declaracao& d, const Totais& t, Decimal renda, int meses);
Conselho CONSELHO(const Declaracao& d, const Totais& t);
std::optional<Decimal> SIMULA_SIMPLES(Decimal imposto, Decimal I13_35);
Decimal SIMULA_DEDUCAO(const Declaracao& d, const Totais& t, Decimal extra);
std::optional<Decimal> SIMULA_INVERSO(const Declaracao& d, const Totais& t, Decimal saldo);

}  // namespace tx::tax
