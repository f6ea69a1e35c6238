// The balance to pay in quotas: how many are allowed, the default, the value
// of each, the single-quota cases and the automatic-debit flag.
//
// Interface
//   FQTD_QUOTA(in)   from the balance to pay (I13_36, in cents), the number
//       chosen (0 = not chosen yet: the most allowed), the kind of declaration
//       and today:
//       - no balance: 0 quotas, value 0, no automatic debit;
//       - at most balance ÷ 50 quotas (whole part), never more than 8 nor
//         less than 1; a number above it falls back to it;
//       - a departure declaration, and a final estate declaration with its
//         partition or deed date, have a single quota (the estate one with a
//         notice when more were chosen);
//       - a single quota keeps the automatic debit only up to 01/04/2014;
//       - I13_37 is the balance ÷ quotas cut to the cent; the first quota
//         carries the cents left over, so that the quotas add up to the balance.
#pragma once

#include <string>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

struct QuotaEntrada {
  Decimal I13_36;
  int QTD_QUOTA = 0;
  std::string DEBITAUT;
  bool final_espolio_com_data = false;
  bool saida = false;
  Date hoje;
};

struct QuotaSaida {
  int QTD_QUOTA = 0;
  Decimal I13_37;
  std::vector<Decimal> quotas;
  std::string DEBITAUT;
  int maximo = 0;
  bool aviso_espolio = false;
};

QuotaSaida FQTD_QUOTA(const QuotaEntrada& in);

}  // namespace tx::tax
