// The progressive tax tables: annual and monthly, and the annual table
// reduced in proportion to the months of a final estate or departure
// declaration.
//
// Interface
//   CALC_IMPOS(1, base, months)   annual table; with months < 12 every bound
//                                 and parcel is taken × months ÷ 12
//   CALC_IMPOS(12, base)          monthly table (months ignored)
//       The result is rounded to the cent, half away from zero; a base in the
//       exempt bracket (or negative) gives 0.
//   MESES_TABELA(decl, avisos)    months the annual table covers: 12, or for
//       a final estate declaration the month of DATAPARTI (else DATALAVRA),
//       for a departure the month of DATASAIDA less the month of DATADECIS
//       plus 1. A date outside 2013 never shortens the year. A missing date
//       counts 12 and adds its notice.
#pragma once

#include <vector>

#include "base/decimal.hpp"
#include "tax/snapshot.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

inline constexpr int ANUAL = 1;
inline constexpr int MENSAL = 12;

Decimal CALC_IMPOS(int kind, Decimal base, int months = 12);
int MESES_TABELA(const Declaracao& d, std::vector<Aviso>* avisos = nullptr);

}  // namespace tx::tax
