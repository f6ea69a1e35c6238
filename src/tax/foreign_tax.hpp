// The credit for tax paid abroad (complete model): at most the difference
// between the tax due with the income from abroad and the tax due without
// it, both computed the whole way (every deduction, the incentives by their
// pools, the domestic employer), the private pension limit following the
// income of each.
//
// Interface
//   FI13_32(decl, t, valor, meses)  the credit to keep for typed value
//       `valor`: 0 without income from abroad (I13_49 + I13_50) or when the
//       limit is not above 0, else min(valor, limit). Sets
//       t.IMPOSTO_COM_EXTERIOR, t.IMPOSTO_SEM_EXTERIOR and t.LIMITE_EXTERIOR,
//       and adds Aviso::LimiteExterior when the value was cut.
//       Needs t.I13_08, t.I13_26 and the gathered deductions.
#pragma once

#include "tax/snapshot.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

Decimal FI13_32(const Declaracao& d, Totais& t, Decimal valor, int meses);

}  // namespace tx::tax
