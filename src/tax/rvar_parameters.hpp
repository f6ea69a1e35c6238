// Rates of the variable-income monthly sheets.
//
// Interface
//   kTaxaOperacaoComum   tax on the monthly base of common operations
//   kTaxaDayTrade        tax on the monthly base of day-trade operations
//   kTaxaFundos          tax on the monthly base of real-estate investment funds
//   kPictureCelula       the picture every month cell of a sheet is kept in
#pragma once

#include "base/decimal.hpp"

namespace tx::tax::rvar {

inline const Decimal kTaxaOperacaoComum = Decimal::from_units(15, 2);  // 15 %
inline const Decimal kTaxaDayTrade = Decimal::from_units(20, 2);       // 20 %
inline const Decimal kTaxaFundos = Decimal::from_units(20, 2);         // 20 %

inline constexpr const char* kPictureCelula = "@Ez 999,999,999.99";

}  // namespace tx::tax::rvar
