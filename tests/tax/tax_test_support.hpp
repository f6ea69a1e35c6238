// Small builders for the tax engine's tests: amounts from text, dates, and
// income items, payments and dependants in one line each.
#pragma once

#include <ostream>
#include <string>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "tax/snapshot.hpp"

namespace tx {
// Shown as plain numbers in failure messages.
inline void PrintTo(const Decimal& d, std::ostream* os) { *os << d.str(6); }
}  // namespace tx

namespace tx::tax::testing {

inline Decimal D(const char* s) { return *Decimal::parse(s); }
inline Date dt(int d, int m, int y) { return Date::ymd(y, m, d); }

// Company income of the titular ("J") or of a dependant ("D" with its CPF).
inline ItemRendimento empresa(const char* income, const char* withheld = "0",
                              const char* social = "0", const char* thirteenth = "0") {
  ItemRendimento it;
  it.I1_1 = "J";
  it.I1_11 = "S";
  it.I1_4 = D(income);
  it.I1_5 = D(withheld);
  it.I1_6 = D(social);
  it.I1_7 = D(thirteenth);
  return it;
}

// A carnê-leão item of kind F/E/L/P/I with its monthly values (month 1..12).
inline ItemRendimento mensal(const char* kind, std::initializer_list<std::pair<int, const char*>> months,
                             const std::string& dependant_cpf = "") {
  ItemRendimento it;
  it.I1_1 = kind;
  it.I1_11 = dependant_cpf.empty() ? "S" : "N";
  it.I1_8 = dependant_cpf;
  for (auto [m, v] : months) {
    it.I1_4mm[static_cast<std::size_t>(m - 1)] = D(v);
    it.I1_4 += D(v);
  }
  return it;
}

inline Pagamento pagamento(int code, const char* paid, const char* not_deductible = "0",
                           int person = 0) {
  Pagamento p;
  p.I6_3 = code;
  p.I6_4 = D(paid);
  p.I6_5 = D(not_deductible);
  p.I6_6 = person;
  return p;
}

inline Dependente dependente(int code, Date birth, const std::string& cpf) {
  Dependente d;
  d.CODIDEPEN = code;
  d.DATADEPEN = birth;
  d.CPFDEPEN = cpf;
  return d;
}

}  // namespace tx::tax::testing
