// The whole calculation of one declaration: from the snapshot to every
// computed value. It is pure: the same snapshot and day give the same totals,
// and nothing stored is trusted (the private pension I13_11 and the credit for
// tax paid abroad I13_32 are limited again on every pass).
//
// Interface
//   BALANCO(decl, hoje)   the full recomputation, in this order: dependants,
//       carnê-leão sheets, payments, income items, exempt and exclusive
//       totals, asset and debt totals, I13_08, the deductions, the base of
//       the model in use, the tax, incentives, domestic employer, tax due,
//       tax paid abroad, tax paid, balance, quotas, the cheaper-model advice
//       and the direct-donation availability. `hoje` decides whether a single
//       quota may still go by automatic debit.
//   CALC(what, decl, hoje)   the recomputation entry of the screens; every
//       `what` (1 carnê-leão .. 7 whole calculation) gives the same full
//       result, since nothing is kept between passes
//   Calculo               the totals and the carnê-leão sheets
#pragma once

#include <vector>

#include "base/date.hpp"
#include "tax/snapshot.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

struct Calculo {
  Totais totais;
  std::vector<LinhaMensal> mensal;  // the carnê-leão sheets as computed
};

Calculo BALANCO(const Declaracao& d, Date hoje);
Calculo CALC(int what, const Declaracao& d, Date hoje);

}  // namespace tx::tax
