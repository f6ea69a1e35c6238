#include "tax/income_gathering.hpp"

#include <map>

#include "tax/over65.hpp"

namespace tx::tax {

namespace {

// Exempt lines fed by a company-income item column.
struct Feed { int line; Decimal ItemRendimento::*field; };
const Feed kExempt[] = {
    {1, &ItemRendimento::I1_29},  {3, &ItemRendimento::I1_30},  {5, &ItemRendimento::I1_15},
    {6, &ItemRendimento::I1_17},  {7, &ItemRendimento::I1_18},  {9, &ItemRendimento::I1_16},
    {10, &ItemRendimento::I1_23}, {12, &ItemRendimento::I1_31}, {13, &ItemRendimento::I1_13},
    {14, &ItemRendimento::I1_14}, {15, &ItemRendimento::I1_24}, {16, &ItemRendimento::I1_25},
    {17, &ItemRendimento::I1_26}, {18, &ItemRendimento::I1_27}, {19, &ItemRendimento::I1_28},
    {24, &ItemRendimento::I1_9},
};
const Feed kExclusive[] = {
    {8, &ItemRendimento::I1_32}, {9, &ItemRendimento::I1_33}, {10, &ItemRendimento::I1_34},
};

}  // namespace

bool linha_de_item_I3(int n) {
  for (const auto& f : kExempt)
    if (f.line == n) return true;
  return false;
}

bool linha_de_item_I4(int n) {
  return n == 1 || n == 5 || n == 6 || n == 7 || n == 8 || n == 9 || n == 10;
}

void FI1_T(const Declaracao& d, Totais& t) {
  for (int n = 1; n <= 24; ++n)
    if (linha_de_item_I3(n)) t.I3[static_cast<std::size_t>(n)] = Decimal();
  for (int n = 1; n <= 10; ++n)
    if (linha_de_item_I4(n)) t.I4[static_cast<std::size_t>(n)] = Decimal();
  t.I13(1) = t.I13(2) = t.I13(5) = t.I13(6) = t.I13(17) = t.I13(27) = t.I13(28) = Decimal();
  t.I13_10A = t.I13_10B = t.I13_25A = t.I13_25B = t.I13_34A = t.I13_34B = Decimal();
  t.NPREVTIT = t.NPREVDEP = t.EXGSUSP = Decimal();
  t.I3_DEPEN = t.I4_DEPEN = Decimal();
  t.CGCPAGADOR.clear();

  // Exempt part over 65 per person: "" the titular, else the dependant's CPF.
  std::map<std::string, Decimal> over65;
  Decimal largest;
  bool any = false;
  for (const auto& it : d.rendimentos) {
    const bool tit = it.I1_1 == "J";
    if (tit || it.I1_1 == "D") {
      (tit ? t.I13(1) : t.I13(2)) += it.I1_4;
      (tit ? t.I13(27) : t.I13(28)) += it.I1_5;
      (tit ? t.NPREVTIT : t.NPREVDEP) += it.I1_6;
      t.I4[tit ? 1 : 6] += it.I1_7;
      if (!tit) t.I4_DEPEN += it.I1_7;
      for (const auto& f : kExempt) {
        if (f.line == 6) continue;
        t.I3[static_cast<std::size_t>(f.line)] += it.*f.field;
        if (!tit) t.I3_DEPEN += it.*f.field;
      }
      for (const auto& f : kExclusive) {
        t.I4[static_cast<std::size_t>(f.line)] += it.*f.field;
        if (!tit) t.I4_DEPEN += it.*f.field;
      }
      over65[tit ? std::string() : it.I1_8] += it.I1_17;
      t.EXGSUSP += it.I1_19 - it.I1_20;
      if (tit && (!any || it.I1_4 > largest)) {
        largest = it.I1_4;
        t.CGCPAGADOR = it.I1_3;
        any = true;
      }
    } else if (it.I1_1 == "A") {
      const bool titA = sim(it.I1_11);
      if (it.TIPOCR == "N") {
        const Decimal net = it.I1_4 - it.I1_5 - it.I1_6 - it.I1_12;
        t.I4[titA ? 5 : 7] += net;
        if (!titA) t.I4_DEPEN += net;
        (titA ? t.I13_25A : t.I13_25B) += it.I1_20;
        (titA ? t.I13_34A : t.I13_34B) += it.I1_5;
      } else {
        (titA ? t.I13(5) : t.I13(6)) += it.I1_4;
        (titA ? t.I13(27) : t.I13(28)) += it.I1_5;
        (titA ? t.I13_10A : t.I13_10B) += it.I1_6;
        t.I13(17) += it.I1_12;
      }
    }
  }

  for (const auto& [cpf, value] : over65) {
    Date birth;
    if (cpf.empty()) {
      birth = d.NASCIMENTO;
    } else {
      for (const auto& dep : d.dependentes)
        if (dep.CPFDEPEN == cpf) { birth = dep.DATADEPEN; break; }
    }
    const Decimal exempt = min(value, LIMITE_65(birth));
    t.I3[6] += exempt;
    (cpf.empty() ? t.I13(1) : t.I13(2)) += value - exempt;
    if (!cpf.empty()) t.I3_DEPEN += exempt;
  }

  t.I13(10) = t.I13_10A + t.I13_10B;
  t.I13(25) = t.I13_25A + t.I13_25B;
  t.I13(34) = t.I13_34A + t.I13_34B;
}

void SOMA_TRIBENAO(const Declaracao& d, Totais& t) {
  Decimal exempt, exclusive;
  for (int n = 1; n <= 24; ++n) {
    auto k = static_cast<std::size_t>(n);
    if (!linha_de_item_I3(n)) t.I3[k] = d.I3[k];
    exempt += t.I3[k];
  }
  for (int n = 1; n <= 10; ++n) {
    auto k = static_cast<std::size_t>(n);
    if (!linha_de_item_I4(n)) t.I4[k] = d.I4[k];
    exclusive += t.I4[k];
  }
  t.I13(44) = exempt;
  t.I13(45) = exclusive;
  t.I3_TITULAR = max(exempt - t.I3_DEPEN, Decimal());
  t.I4_TITULAR = max(exclusive - t.I4_DEPEN - t.I4[1], Decimal());
}

}  // namespace tx::tax
