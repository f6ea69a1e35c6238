#include "tax/quotas.hpp"

#include "base/helpers.hpp"
#include "tax/parameters_2013.hpp"

namespace tx::tax {

QuotaSaida FQTD_QUOTA(const QuotaEntrada& in) {
  QuotaSaida r;
  r.DEBITAUT = in.DEBITAUT;
  const Decimal balance = ROUND(in.I13_36, 2);
  if (balance <= Decimal()) {
    r.DEBITAUT.clear();
    return r;
  }
  long long most = (balance / QUOTA_MINIMA).to_long();
  if (most > QUOTAS_MAX) most = QUOTAS_MAX;
  if (most < 1) most = 1;
  r.maximo = static_cast<int>(most);
  r.QTD_QUOTA = in.QTD_QUOTA <= 0 || in.QTD_QUOTA > r.maximo ? r.maximo : in.QTD_QUOTA;
  if (in.final_espolio_com_data && in.QTD_QUOTA > 1) r.aviso_espolio = true;
  if (in.final_espolio_com_data || in.saida) r.QTD_QUOTA = 1;
  if (r.QTD_QUOTA == 1 && in.hoje > DATA_DEBITO_UNICO.date()) r.DEBITAUT.clear();
  r.I13_37 = DESPREZA(balance / Decimal(r.QTD_QUOTA), 12);
  r.quotas.assign(static_cast<std::size_t>(r.QTD_QUOTA), r.I13_37);
  r.quotas[0] = balance - r.I13_37 * Decimal(r.QTD_QUOTA - 1);
  return r;
}

}  // namespace tx::tax
