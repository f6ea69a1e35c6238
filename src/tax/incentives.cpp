#include "tax/incentives.hpp"

#include "base/helpers.hpp"
#include "tax/parameters_2013.hpp"

namespace tx::tax {

namespace {

// Rows of codes [lo, hi] take from `pool` in list order; returns the deducted sum.
Decimal take(const std::vector<Pagamento>& pays, int lo, int hi, Decimal pool,
             std::vector<Decimal>& excess) {
  Decimal deducted;
  for (std::size_t i = 0; i < pays.size(); ++i) {
    const auto& p = pays[i];
    if (p.I6_3 < lo || p.I6_3 > hi) continue;
    if (p.I6_4 <= pool) {
      excess[i] = Decimal();
      pool -= p.I6_4;
      deducted += p.I6_4;
    } else {
      excess[i] = p.I6_4 - pool;
      deducted += pool;
      pool = Decimal();
    }
  }
  return deducted;
}

}  // namespace

Incentivos FI13_22(const std::vector<Pagamento>& pays, Decimal imposto) {
  Incentivos r;
  r.I6_5.reserve(pays.size());
  for (const auto& p : pays) r.I6_5.push_back(p.I6_5);
  const Decimal tax = max(imposto, Decimal());
  const Decimal six = tax * TAXA_INCENTIVO;
  r.deduzido_40_44 = take(pays, 40, 44, six, r.I6_5);
  r.deduzido_39 = take(pays, 39, 39, min(six - r.deduzido_40_44, tax * TAXA_ECA), r.I6_5);
  r.deduzido_45 = take(pays, 45, 45, tax * TAXA_DESPORTO, r.I6_5);
  r.deduzido_46 = take(pays, 46, 46, tax * TAXA_DESPORTO, r.I6_5);
  r.I13_22 = min(r.deduzido_40_44 + r.deduzido_39 + r.deduzido_45 + r.deduzido_46, tax);
  return r;
}

Decimal DOACAO_DIRETA(const Incentivos& inc, Decimal imposto) {
  const Decimal tax = max(imposto, Decimal());
  const Decimal a = tax * TAXA_INCENTIVO - inc.deduzido_40_44 - inc.deduzido_39;
  const Decimal b = tax * TAXA_ECA - inc.deduzido_39;
  return max(DESPREZA(min(a, b), 12, 2, 1), Decimal());
}

}  // namespace tx::tax
