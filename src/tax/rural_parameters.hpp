// Constants of the rural activity result.
//
// Interface
//   kLimiteReceitaBruta   share of the gross revenue taken as the taxable
//                         result when the taxpayer opts for it (20 %)
//   kDolarAnoPadrao       the year's dollar rate as the settings record is
//                         created (VAL_DOLAR); the office may change it, so
//                         the computation takes the rate as an input
//   kPictureCelula        the picture every monthly value and result line
//                         of the rural activity is kept in
//   kMeses                months of the calendar year
#pragma once

#include "base/decimal.hpp"

namespace tx::tax::rural {

inline const Decimal kLimiteReceitaBruta = Decimal::from_units(20, 2);  // 20 %
inline const Decimal kDolarAnoPadrao = Decimal::from_units(20429, 4);   // 2.0429
inline const Decimal kCem = Decimal(100);

inline constexpr const char* kPictureCelula = "@Ez 999,999,999.99";
inline constexpr int kMeses = 12;

}  // namespace tx::tax::rural
