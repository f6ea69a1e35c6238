#include "tax/model_choice.hpp"

#include "tax/parameters_2013.hpp"
#include "tax/tax_table.hpp"

namespace tx::tax {

bool modelo_completo(const Declaracao& d) {
  return !sim(d.USAPADRAO) || sim(d.DECFINAL) || sim(d.DECSAIDA);
}

Decimal FDESPADRAO(Decimal renda) { return max(min(renda * TAXA_DESCPRAD, NDESCPRAD), Decimal()); }

namespace {

// Complete model from an already computed deduction total.
Modelo complete_on(const Declaracao& d, const Totais& t, Decimal renda, Decimal deducoes,
                   Decimal pensao, int meses) {
  Modelo m;
  m.I13_11 = pensao;
  m.I13_19 = deducoes;
  m.DESCONTO = deducoes;
  m.I13_20 = max(renda - deducoes, Decimal());
  m.I13_21 = CALC_IMPOS(ANUAL, m.I13_20, meses);
  m.incentivos = FI13_22(d.pagamentos, m.I13_21);
  m.I13_22 = m.incentivos.I13_22;
  m.I13_23 = m.I13_21 - m.I13_22;
  m.I13_24 = max(min(min(t.I13_24T, m.I13_23), NMAXINSS), Decimal());
  m.I13_26 = max(m.I13_23 + t.I13(25) - m.I13_24, Decimal());
  return m;
}

Decimal deductions_with(const Totais& t, Decimal pensao) {
  Decimal s = t.I13(9) + t.I13(10) + pensao;
  for (int n = 12; n <= 18; ++n) s += t.I13(n);
  return s;
}

}  // namespace

Modelo imposto_completo(const Declaracao& d, const Totais& t, Decimal renda, int meses) {
  const Decimal pensao = min(t.I13_11T, max(renda, Decimal()) * TAXA_PREVPRIV);
  return complete_on(d, t, renda, deductions_with(t, pensao), pensao, meses);
}

Modelo imposto_simplificado(const Declaracao& d, const Totais& t, Decimal renda, int meses) {
  Modelo m;
  m.DESCONTO = FDESPADRAO(renda);
  m.I13_20 = max(renda - m.DESCONTO, Decimal());
  m.I13_21 = CALC_IMPOS(ANUAL, m.I13_20, meses);
  // No incentive pools in the simplified model: every donation stays whole
  // in its row's non-deducted part.
  m.incentivos = FI13_22(d.pagamentos, Decimal());
  m.I13_23 = m.I13_21;
  m.I13_26 = m.I13_23 + t.I13(25);
  return m;
}

Conselho CONSELHO(const Declaracao& d, const Totais& t) {
  const bool estate_or_departure = sim(d.DECFINAL) || sim(d.DECSAIDA);
  if (modelo_completo(d)) {
    if (estate_or_departure) return Conselho::Nenhum;
    if (sim(d.TEMRURAL) && (!d.I4R_04.is_zero() || d.I4R_07.negative())) return Conselho::Nenhum;
    return t.IMPOSTO_SIMPLIFICADO < t.IMPOSTO_COMPLETO ? Conselho::UsarSimplificado
                                                       : Conselho::Nenhum;
  }
  if (t.I13(8) > Decimal() && t.IMPOSTO_COMPLETO < t.IMPOSTO_SIMPLIFICADO)
    return Conselho::UsarCompleto;
  return Conselho::Nenhum;
}

std::optional<Decimal> SIMULA_SIMPLES(Decimal imposto, Decimal I13_35) {
  if (imposto.negative() && -imposto > I13_35) return std::nullopt;
  // The tax at which the discount reaches its cap.
  const Decimal cap_income = NDESCPRAD.value / TAXA_DESCPRAD.value;
  const Decimal cap_tax = CALC_IMPOS(ANUAL, cap_income - NDESCPRAD);
  if (imposto >= cap_tax) return (imposto + NDEDUAN4 + NDESCPRAD.value * ALIQ4.value) / ALIQ4;
  const Decimal rates[4] = {ALIQ4, ALIQ3, ALIQ2, ALIQ1};
  const Decimal parcels[4] = {NDEDUAN4, NDEDUAN3, NDEDUAN2, NDEDUAN1};
  const Decimal share = Decimal(1) - TAXA_DESCPRAD;
  Decimal income;
  for (int i = 0; i < 4; ++i) {
    income = (imposto + parcels[i]) / (share * rates[i]);
    if (CALC_IMPOS(ANUAL, income * share) == ROUND(imposto, 2)) return income;
  }
  return income;
}

Decimal SIMULA_DEDUCAO(const Declaracao& d, const Totais& t, Decimal extra) {
  const int meses = MESES_TABELA(d);
  Modelo base = imposto_completo(d, t, t.I13(8), meses);
  Modelo m = complete_on(d, t, t.I13(8), base.I13_19 + extra, base.I13_11, meses);
  return m.I13_26 - t.I13(35);
}

std::optional<Decimal> SIMULA_INVERSO(const Declaracao& d, const Totais& t, Decimal saldo) {
  if (saldo.negative() && -saldo > t.I13(35)) return std::nullopt;
  const int meses = MESES_TABELA(d);
  auto balance = [&](long long cents) {
    return imposto_completo(d, t, Decimal::from_units(cents, 2), meses).I13_26 - t.I13(35);
  };
  // The balance never falls as the income grows: the pension limit takes at
  // most 12 % of an increase from the base, and the pools at most 8 % of an
  // increase of the tax. So the smallest income is found by halving.
  long long lo = 0, hi = 100;
  while (balance(hi) < saldo) {
    if (hi > 100000000000000LL) return std::nullopt;
    hi *= 2;
  }
  if (balance(lo) >= saldo) return Decimal();
  while (hi - lo > 1) {
    const long long mid = lo + (hi - lo) / 2;
    (balance(mid) >= saldo ? hi : lo) = mid;
  }
  return Decimal::from_units(hi, 2);
}

}  // namespace tx::tax
