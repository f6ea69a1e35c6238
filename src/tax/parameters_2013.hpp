// The legal constants of the 2013 calendar year (declaration of 2014), each a
// named parameter with the date from which it holds. The formulas never write
// a legal number themselves: they read it from here, so next year's engine
// changes this file and not the rules.
//
// Interface
//   Parameter           {name, since ("yyyy-mm-dd"), value}; converts to Decimal
//   DateParameter       {name, since, y, m, d}; date() gives the tx::Date
//   NBASEAN1..4, NDEDUAN1..4   annual table: bracket upper bounds and parcels
//   NBASEME1..4, NDEDUME1..4   monthly table
//   ALIQ1..4                   the bracket rates 7.5 %, 15 %, 22.5 %, 27.5 %
//   NVALDEPANO, NVALDEPEN      dependant amount, annual and monthly
//   NVALESCOL                  education limit per person
//   NVALAPOSE, NVALAPOSA       exempt retirement part over 65, month and year
//   NMAXINSS                   domestic employer's social security limit
//   NDESCPRAD, TAXA_DESCPRAD   simplified discount cap and rate
//   TAXA_PREVPRIV              private pension limit (share of taxable income)
//   TAXA_INCENTIVO, TAXA_ECA, TAXA_DESPORTO  incentive pools (6 %, 3 %, 1 %)
//   FATOR_DOMESTICO            domestic employee's pay per real of employer's INSS
//   QUOTA_MINIMA, QUOTAS_MAX   smallest quota, most quotas
//   NASC_LIMITE_65             last birth date that is 65 or more on 31/12/2013
//   FIM_ANO_BASE, DATA_DEBITO_UNICO   31/12/2013; last day a single quota
//                                     may still go by automatic debit
//   VCTO[8]                    quota due dates
//   TAB_DOLAR[12]              monthly dollar rates of 2013
//   find_parameter(name)       a Decimal parameter by its name (none if unknown)
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::tax {

struct Parameter {
  std::string_view name;
  std::string_view since;
  Decimal value;
  constexpr operator Decimal() const { return value; }
};

struct DateParameter {
  std::string_view name;
  std::string_view since;
  int y, m, d;
  Date date() const { return Date::ymd(y, m, d); }
};

// Amounts given as integer units of 10^-scale (a money literal of cents is
// scale 2), built at compile time from the exact integer.
consteval Decimal units(long long v, int scale) {
  Decimal::raw_t r = v;
  for (int i = scale; i < Decimal::kScale; ++i) r *= 10;
  return Decimal::from_raw(r);
}

inline constexpr std::string_view kAno2013 = "2013-01-01";

// Annual table.
inline constexpr Parameter NBASEAN1{"NBASEAN1", kAno2013, units(2052936, 2)};
inline constexpr Parameter NBASEAN2{"NBASEAN2", kAno2013, units(3076692, 2)};
inline constexpr Parameter NBASEAN3{"NBASEAN3", kAno2013, units(4102308, 2)};
inline constexpr Parameter NBASEAN4{"NBASEAN4", kAno2013, units(5125908, 2)};
inline constexpr Parameter NDEDUAN1{"NDEDUAN1", kAno2013, units(153970, 2)};
inline constexpr Parameter NDEDUAN2{"NDEDUAN2", kAno2013, units(384722, 2)};
inline constexpr Parameter NDEDUAN3{"NDEDUAN3", kAno2013, units(692395, 2)};
inline constexpr Parameter NDEDUAN4{"NDEDUAN4", kAno2013, units(948691, 2)};
// Monthly table.
inline constexpr Parameter NBASEME1{"NBASEME1", kAno2013, units(171078, 2)};
inline constexpr Parameter NBASEME2{"NBASEME2", kAno2013, units(256391, 2)};
inline constexpr Parameter NBASEME3{"NBASEME3", kAno2013, units(341859, 2)};
inline constexpr Parameter NBASEME4{"NBASEME4", kAno2013, units(427159, 2)};
inline constexpr Parameter NDEDUME1{"NDEDUME1", kAno2013, units(12831, 2)};
inline constexpr Parameter NDEDUME2{"NDEDUME2", kAno2013, units(32060, 2)};
inline constexpr Parameter NDEDUME3{"NDEDUME3", kAno2013, units(57700, 2)};
inline constexpr Parameter NDEDUME4{"NDEDUME4", kAno2013, units(79058, 2)};
// Bracket rates (both tables).
inline constexpr Parameter ALIQ1{"ALIQ1", kAno2013, units(75, 3)};
inline constexpr Parameter ALIQ2{"ALIQ2", kAno2013, units(150, 3)};
inline constexpr Parameter ALIQ3{"ALIQ3", kAno2013, units(225, 3)};
inline constexpr Parameter ALIQ4{"ALIQ4", kAno2013, units(275, 3)};

// Deductions.
inline constexpr Parameter NVALDEPANO{"NVALDEPANO", kAno2013, units(206364, 2)};
inline constexpr Parameter NVALDEPEN{"NVALDEPEN", kAno2013, units(17197, 2)};
inline constexpr Parameter NVALESCOL{"NVALESCOL", kAno2013, units(323046, 2)};
inline constexpr Parameter NVALAPOSE{"NVALAPOSE", kAno2013, units(171078, 2)};
inline constexpr Parameter NVALAPOSA{"NVALAPOSA", kAno2013, units(2224014, 2)};
inline constexpr Parameter NMAXINSS{"NMAXINSS", kAno2013, units(107808, 2)};
inline constexpr Parameter TAXA_PREVPRIV{"TAXA_PREVPRIV", kAno2013, units(12, 2)};
inline constexpr Parameter FATOR_DOMESTICO{"FATOR_DOMESTICO", kAno2013, units(8333335, 6)};

// Simplified model.
inline constexpr Parameter NDESCPRAD{"NDESCPRAD", kAno2013, units(1519702, 2)};
inline constexpr Parameter TAXA_DESCPRAD{"TAXA_DESCPRAD", kAno2013, units(20, 2)};

// Incentive pools, as shares of the tax on the base.
inline constexpr Parameter TAXA_INCENTIVO{"TAXA_INCENTIVO", kAno2013, units(6, 2)};
inline constexpr Parameter TAXA_ECA{"TAXA_ECA", kAno2013, units(3, 2)};
inline constexpr Parameter TAXA_DESPORTO{"TAXA_DESPORTO", kAno2013, units(1, 2)};

// Quotas.
inline constexpr Parameter QUOTA_MINIMA{"QUOTA_MINIMA", kAno2013, units(50, 0)};
inline constexpr int QUOTAS_MAX = 8;

inline constexpr DateParameter NASC_LIMITE_65{"NASC_LIMITE_65", kAno2013, 1948, 12, 31};
inline constexpr DateParameter FIM_ANO_BASE{"FIM_ANO_BASE", kAno2013, 2013, 12, 31};
inline constexpr DateParameter DATA_DEBITO_UNICO{"DATA_DEBITO_UNICO", "2014-01-01", 2014, 4, 1};
inline constexpr int ANO_BASE = 2013;

inline constexpr std::array<DateParameter, 8> VCTO{{
    {"VCTO1", "2014-01-01", 2014, 4, 30},  {"VCTO2", "2014-01-01", 2014, 5, 30},
    {"VCTO3", "2014-01-01", 2014, 6, 30},  {"VCTO4", "2014-01-01", 2014, 7, 31},
    {"VCTO5", "2014-01-01", 2014, 8, 29},  {"VCTO6", "2014-01-01", 2014, 9, 30},
    {"VCTO7", "2014-01-01", 2014, 10, 31}, {"VCTO8", "2014-01-01", 2014, 11, 28},
}};

inline constexpr std::array<Parameter, 12> TAB_DOLAR{{
    {"TAB_DOLAR01", "2013-01-01", units(20368, 4)}, {"TAB_DOLAR02", "2013-02-01", units(19594, 4)},
    {"TAB_DOLAR03", "2013-03-01", units(19473, 4)}, {"TAB_DOLAR04", "2013-04-01", units(19784, 4)},
    {"TAB_DOLAR05", "2013-05-01", units(20227, 4)}, {"TAB_DOLAR06", "2013-06-01", units(21361, 4)},
    {"TAB_DOLAR07", "2013-07-01", units(20543, 4)}, {"TAB_DOLAR08", "2013-08-01", units(23428, 4)},
    {"TAB_DOLAR09", "2013-09-01", units(22779, 4)}, {"TAB_DOLAR10", "2013-10-01", units(21812, 4)},
    {"TAB_DOLAR11", "2013-11-01", units(23249, 4)}, {"TAB_DOLAR12", "2013-12-01", units(23426, 4)},
}};

std::optional<Decimal> find_parameter(std::string_view name);

}  // namespace tx::tax
