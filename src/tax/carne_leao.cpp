#include "tax/carne_leao.hpp"

#include "tax/parameters_2013.hpp"
#include "tax/tax_table.hpp"

namespace tx::tax {

Decimal VE_LEAO(const LinhaMensal& row, int month) {
  const auto m = static_cast<std::size_t>(month - 1);
  Decimal base = row.I2[PES_FISICA][m] + row.I2[EXTERIOR][m] - row.I2[LIVRO_CAIXA][m] -
                 row.I2[DEDUCOES][m];
  return CALC_IMPOS(MENSAL, base);
}

namespace {

bool weekend(Date d) { return d.dow() == 1 || d.dow() == 7; }

// Due date of month m's carnê-leão (1..12 of 2013).
Date due_date(int month) {
  const int y = month == 12 ? ANO_BASE + 1 : ANO_BASE;
  const int m = month == 12 ? 1 : month + 1;
  Date d = Date::ymd(y, m, Date::days_in_month(y, m));
  while (weekend(d)) d = d - 1;
  if (d.month() == 12) d = d - 1;
  return d;
}

}  // namespace

Meses CORR_DARF(const LinhaMensal& row, Date pagamento, const std::vector<TaxaSelic>& selic) {
  Meses out{};
  if (pagamento.empty()) return out;
  for (int month = 1; month <= 12; ++month) {
    const auto k = static_cast<std::size_t>(month - 1);
    const Decimal diff = row.I2[LEAO_DEVIDO][k] - row.I2[LEAO_PAGO][k];
    if (diff <= Decimal()) continue;
    const Date due = due_date(month);
    Date start = due + 1;
    while (weekend(start)) start = start + 1;
    const long days = pagamento - start + 1;
    if (days <= 0) { out[k] = diff; continue; }
    const Decimal fine = min(Decimal(days) * Decimal::from_units(33, 2), Decimal(20));
    const int due_ym = due.year() * 12 + due.month();
    const int pay_ym = pagamento.year() * 12 + pagamento.month();
    Decimal interest;
    if (due_ym < pay_ym) {
      interest = Decimal(1);
      for (const auto& s : selic) {
        const int ym = s.ano * 12 + s.mes;
        if (ym > due_ym && ym < pay_ym) interest += s.taxa;
      }
    } else if (due_ym == pay_ym) {
      interest = Decimal(1);
    }
    out[k] = diff + diff * fine / Decimal(100) + diff * interest / Decimal(100);
  }
  return out;
}

namespace {

bool is_leao_item(const ItemRendimento& it) {
  return it.I1_1 == "F" || it.I1_1 == "E" || it.I1_1 == "L" || it.I1_1 == "P" || it.I1_1 == "I";
}

bool belongs_to(const ItemRendimento& it, const std::string& cpf) {
  if (cpf.empty()) return sim(it.I1_11);
  return !sim(it.I1_11) && it.I1_8 == cpf;
}

// One person's sheet from the items (modes 1 and 3). Returns the person's
// official social security.
Decimal build_from_items(const Declaracao& d, LinhaMensal& row, Meses& inss) {
  Decimal total_inss;
  for (const auto& it : d.rendimentos) {
    if (!is_leao_item(it) || !belongs_to(it, row.CPFdepen)) continue;
    const bool dated = d.CAL_AUTO == 3 && (it.I1_1 == "F" || it.I1_1 == "L");
    Meses values = it.I1_4mm;
    if (dated) {
      if (it.DT_LC.empty()) continue;
      values = Meses{};
      values[static_cast<std::size_t>(it.DT_LC.month() - 1)] = it.I1_4;
    }
    if (it.I1_1 == "P") total_inss += it.I1_4;  // counted once, from the item's total
    for (std::size_t m = 0; m < 12; ++m) {
      if (it.I1_1 == "F") row.I2[PES_FISICA][m] += values[m];
      else if (it.I1_1 == "E") row.I2[EXTERIOR][m] += values[m];
      else if (it.I1_1 == "L") row.I2[LIVRO_CAIXA][m] += values[m];
      else if (it.I1_1 == "P") inss[m] += values[m];
      else row.I2[LEAO_PAGO][m] += values[m];
    }
  }
  return total_inss;
}

Decimal sum(const Meses& v) {
  Decimal s;
  for (auto x : v) s += x;
  return s;
}

}  // namespace

CarneLeao FDE_LEAO(const Declaracao& d, int n_depen) {
  CarneLeao r;
  const bool from_items = d.CAL_AUTO == 1 || d.CAL_AUTO == 3;
  if (from_items) {
    LinhaMensal tit;
    Meses inss{}, pensao{};
    r.CARNEINSS = build_from_items(d, tit, inss);
    for (const auto& p : d.pagamentos)
      if (p.I6_3 >= 30 && p.I6_3 <= 34)
        for (std::size_t m = 0; m < 12; ++m) pensao[m] += p.I6_4mm[m];
    r.PENSAOM = sum(pensao);
    const Decimal per_month = Decimal(n_depen) * NVALDEPEN;
    for (std::size_t m = 0; m < 12; ++m) {
      Decimal ded = inss[m] + pensao[m];
      if (n_depen > 0 && tit.I2[PES_FISICA][m] + tit.I2[EXTERIOR][m] >= per_month) {
        ded += per_month;
        r.NTOTDEP += per_month;
      }
      tit.I2[DEDUCOES][m] = ded;
    }
    r.linhas.push_back(tit);
    for (const auto& dep : d.dependentes) {
      if (dep.CODIDEPEN >= 98 || dep.CPFDEPEN.empty()) continue;
      LinhaMensal row;
      row.CPFdepen = dep.CPFDEPEN;
      Meses dinss{};
      r.CARNEDEPEN += build_from_items(d, row, dinss);
      row.I2[DEDUCOES] = dinss;
      r.linhas.push_back(row);
    }
  } else {
    r.CARNEINSS = d.CARNEINSS;
    r.CARNEDEPEN = d.CARNEDEPEN;
    LinhaMensal tit;
    bool have_tit = false;
    for (const auto& row : d.mensal)
      if (row.CPFdepen.empty() && !have_tit) { tit = row; have_tit = true; }
    r.linhas.push_back(tit);
    for (const auto& row : d.mensal)
      if (!row.CPFdepen.empty()) r.linhas.push_back(row);
  }

  for (auto& row : r.linhas) {
    // Mode 4 derives the income from the typed tax; its tax column stays as typed.
    if (d.CAL_AUTO != 4)
      for (int m = 1; m <= 12; ++m) row.I2[LEAO_DEVIDO][static_cast<std::size_t>(m - 1)] = VE_LEAO(row, m);
    row.I2[CORRIGIDO] = CORR_DARF(row, d.DF_PAGTO, d.selic);
    const bool titular = row.CPFdepen.empty();
    Decimal leao;
    for (std::size_t m = 0; m < 12; ++m)
      leao += d.SO_REC ? row.I2[LEAO_PAGO][m] : max(row.I2[LEAO_PAGO][m], row.I2[LEAO_DEVIDO][m]);
    (titular ? r.I13_03 : r.I13_04) += sum(row.I2[PES_FISICA]);
    (titular ? r.I13_49 : r.I13_50) += sum(row.I2[EXTERIOR]);
    (titular ? r.I13_29 : r.I13_30) += leao;
    r.I13_18 += sum(row.I2[LIVRO_CAIXA]);
  }
  return r;
}

}  // namespace tx::tax
