// Fixed values of the capital-gains computation for sales of calendar year
// 2013: reduction by year of acquisition, the two monthly reduction factors,
// the exemption limits and the tax rates.
#pragma once

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::tax::gain {

// The year whose sales are computed; earlier years are instalments only.
inline constexpr int kAnoBase = 2013;

// Reduction by year of acquisition (real estate): acquired before
// kAnoReducaoTotal -> 100 %; up to kAnoReducaoUltimo -> (kAnoReducaoUltimo + 1
// - year) x kReducaoPorAno %; later -> none.
inline constexpr int kAnoReducaoTotal = 1970;
inline constexpr int kAnoReducaoUltimo = 1988;
inline constexpr int kReducaoPorAno = 5;

// Monthly factors: FR1 at 0.60 % a month up to November 2005, FR2 at 0.35 %
// a month from December 2005. Acquisitions up to kFimContagemAntiga count
// from kInicioContagem.
inline constexpr long double kTaxaFR1 = 1.0060L;
inline constexpr long double kTaxaFR2 = 1.0035L;
inline Date kFimContagemAntiga() { return Date::ymd(1995, 12, 31); }
inline Date kInicioContagem() { return Date::ymd(1996, 1, 1); }
inline Date kFimFR1() { return Date::ymd(2005, 11, 30); }
inline Date kInicioFR2() { return Date::ymd(2005, 12, 1); }
inline Date kInicioLei11196() { return Date::ymd(2005, 10, 14); }
inline constexpr int kAnoUltimoSoFR1 = 2005;  // acquired after it: FR2 only
inline constexpr int kDecimaisFator = 8;
inline constexpr int kDecimaisFatorAntigo = 6;

// Small-value sales: shares traded over the counter, everything else.
inline Decimal kLimitePequenoAcoes() { return Decimal(20000); }
inline Decimal kLimitePequenoOutros() { return Decimal(35000); }
// The only property, sold for up to this value, with no other property sale
// in the last kAnosCarencia calendar years.
inline Decimal kLimiteUnicoImovel() { return Decimal(440000); }
inline constexpr int kAnosCarencia = 5;
// Reinvestment in another residential property within this many days.
inline constexpr int kDiasReinvestimento = 180;

// Tax rates.
inline Decimal kAliquota() { return *Decimal::parse("0.15"); }
inline Decimal kAliquotaFundo() { return *Decimal::parse("0.20"); }

}  // namespace tx::tax::gain
