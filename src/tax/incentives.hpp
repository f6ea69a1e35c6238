// Incentive deductions from the tax (complete model): donations share pools
// that are fixed shares of the tax on the base.
//
// Interface
//   FI13_22(pagamentos, imposto)  the pools on tax `imposto` (I13_21):
//       6 % taken in list order by codes 40..44; what is left, at most 3 %,
//       by code 39; a 1 % pool by code 45 and a fresh 1 % pool by code 46.
//       A row larger than what is left deducts what is left and keeps the
//       rest as its I6_5. I13_22 = Σ deducted, at most the tax.
//   Incentivos          the deduction, each row's I6_5 (rows of other codes
//                       keep theirs) and the deducted parts per group
//   DOACAO_DIRETA(inc, imposto)  what a direct donation to a children's fund
//       may still deduct: the smaller of 6 % of the tax less what codes
//       40..44 and 39 deducted, and 3 % less what code 39 deducted, cut to
//       the cent; never below 0
#pragma once

#include <vector>

#include "tax/snapshot.hpp"

namespace tx::tax {

struct Incentivos {
  Decimal I13_22;
  Decimal deduzido_40_44, deduzido_39, deduzido_45, deduzido_46;
  std::vector<Decimal> I6_5;
};

Incentivos FI13_22(const std::vector<Pagamento>& pagamentos, Decimal imposto);
Decimal DOACAO_DIRETA(const Incentivos& inc, Decimal imposto);

}  // namespace tx::tax
