#include "tax/tax_table.hpp"

#include "tax/parameters_2013.hpp"

namespace tx::tax {

Decimal CALC_IMPOS(int kind, Decimal base, int months) {
  Decimal bounds[4], parcels[4];
  const Decimal rates[4] = {ALIQ1, ALIQ2, ALIQ3, ALIQ4};
  if (kind == MENSAL) {
    const Decimal b[4] = {NBASEME1, NBASEME2, NBASEME3, NBASEME4};
    const Decimal p[4] = {NDEDUME1, NDEDUME2, NDEDUME3, NDEDUME4};
    for (int i = 0; i < 4; ++i) { bounds[i] = b[i]; parcels[i] = p[i]; }
  } else {
    const Decimal b[4] = {NBASEAN1, NBASEAN2, NBASEAN3, NBASEAN4};
    const Decimal p[4] = {NDEDUAN1, NDEDUAN2, NDEDUAN3, NDEDUAN4};
    // The reduced table: × months ÷ 12 keeps every bound exact where the
    // divisor 12 ÷ months would be a rounded number.
    const bool reduced = months >= 1 && months < 12;
    for (int i = 0; i < 4; ++i) {
      bounds[i] = reduced ? b[i] * Decimal(months) / Decimal(12) : b[i];
      parcels[i] = reduced ? p[i] * Decimal(months) / Decimal(12) : p[i];
    }
  }
  if (base <= bounds[0]) return Decimal();
  int k = 3;
  for (int i = 1; i < 4; ++i)
    if (base <= bounds[i]) { k = i - 1; break; }
  return ROUND(base * rates[k] - parcels[k], 2);
}

namespace {

// Month of a date as counted in the 2013 table: a date before 2013 is
// treated as `before`, one after 2013 as `after`.
int month_in_2013(Date d, int before, int after) {
  if (d.year() < ANO_BASE) return before;
  if (d.year() > ANO_BASE) return after;
  return d.month();
}

}  // namespace

int MESES_TABELA(const Declaracao& d, std::vector<Aviso>* avisos) {
  if (sim(d.DECFINAL)) {
    Date end = !d.DATAPARTI.empty() ? d.DATAPARTI : d.DATALAVRA;
    if (end.empty()) {
      if (avisos) avisos->push_back(Aviso::SemDataFinalEspolio);
      return 12;
    }
    return month_in_2013(end, 12, 12);
  }
  if (sim(d.DECSAIDA)) {
    if (d.DATASAIDA.empty()) {
      if (avisos) avisos->push_back(Aviso::SemDataSaida);
      return 12;
    }
    int last = month_in_2013(d.DATASAIDA, 12, 12);
    int first = d.DATADECIS.empty() ? 1 : month_in_2013(d.DATADECIS, 1, 1);
    int months = last - first + 1;
    return months < 1 ? 12 : months;
  }
  return 12;
}

}  // namespace tx::tax
