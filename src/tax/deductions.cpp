#include "tax/deductions.hpp"

#include "tax/parameters_2013.hpp"

namespace tx::tax {

void NRODP(const Declaracao& d, Totais& t) {
  t.N_DEPEN = 0;
  t.DESPALIM = 0;
  for (const auto& dep : d.dependentes) {
    if (dep.CODIDEPEN < 98) ++t.N_DEPEN;
    else if (dep.CODIDEPEN <= 99) ++t.DESPALIM;
  }
}

Decimal custo_domestico(const Pagamento& p) {
  const Decimal part = p.I6_4.is_zero() && p.I6_5 > Decimal() ? p.I6_5 : p.I6_4;
  return part * FATOR_DOMESTICO + part;
}

void FDE_TUDO(const Declaracao& d, Totais& t) {
  t.I13_13T = t.I13(14) = t.I13_14D = t.I13(15) = t.I13(16) = Decimal();
  t.I13_11T = t.NFUNPRESP = t.I13_22C = t.I13_22T = t.I13_22P = t.I13_24T = Decimal();
  t.NADVOGADO = t.NALUGUEL = t.NADMINS = t.NCORRETOR = Decimal();
  t.NDOABENS = t.NAJUSTE = t.NPARTIDO = t.NOUTROS = Decimal();
  t.DESPSIMP = t.DESPDECLA = Decimal();
  t.DESPINST.clear();
  for (const auto& p : d.pagamentos) {
    const int c = p.I6_3;
    if (c >= 91 && c <= 97) continue;
    if (c == 1 || c == 2) {
      t.I13_13T += p.I6_4;
      t.DESPINST.assign(p.I6_4.is_zero() ? 0 : 1, 'X');
    } else if (c >= 8 && c <= 26) {
      t.I13(14) += p.I6_4 - p.I6_5;
      t.I13_14D += p.I6_5;
    } else if (c == 30 || c == 31) {
      t.I13(15) += p.I6_4;
    } else if (c == 33 || c == 34) {
      t.I13(16) += p.I6_4;
    } else if (c == 36 || c == 38) {
      t.I13_11T += p.I6_4;
    } else if (c == 37) {
      t.NFUNPRESP += p.I6_4;
    } else if (c == 39) {
      t.I13_22C += p.I6_4;
    } else if (c >= 40 && c <= 44) {
      t.I13_22T += p.I6_4;
    } else if (c == 45 || c == 46) {
      t.I13_22P += p.I6_4;
    } else if (c == 50) {
      t.I13_24T += p.I6_4;
    } else if (c >= 51 && c <= 69) {
      t.NADVOGADO += p.I6_4;
    } else if (c == 70 || c == 76) {
      t.NALUGUEL += p.I6_4;
    } else if (c == 71) {
      t.NADMINS += p.I6_4;
    } else if (c == 72) {
      t.NCORRETOR += p.I6_4;
    } else if (c == 80 || c == 81) {
      t.NDOABENS += p.I6_4;
    } else if (c == 90) {
      t.NAJUSTE += p.I6_4;
    } else if (c == 98) {
      t.NPARTIDO += p.I6_4;
    } else if (c == 99) {
      t.NOUTROS += p.I6_4;
    }
    if (c == 72) t.DESPDECLA -= p.I6_4;
    else if (c == 50) t.DESPDECLA += custo_domestico(p);
    else t.DESPDECLA += p.I6_4;
  }
  t.DESPSIMP = t.NADVOGADO + t.NALUGUEL + t.NADMINS - t.NCORRETOR + t.NDOABENS + t.NAJUSTE +
               t.NPARTIDO + t.NOUTROS;
}

Decimal FI13_11(const Totais& t) { return min(t.I13_11T, t.I13(8) * TAXA_PREVPRIV); }

Decimal FI13_12(const Totais& t) { return Decimal(t.N_DEPEN) * NVALDEPANO; }

Decimal FI13_13(const Declaracao& d) {
  std::vector<Decimal> slots(d.dependentes.size() + 1);
  for (const auto& p : d.pagamentos) {
    if (p.I6_3 != 1 && p.I6_3 != 2) continue;
    if (p.I6_6 < 0 || static_cast<std::size_t>(p.I6_6) >= slots.size()) continue;
    auto& slot = slots[static_cast<std::size_t>(p.I6_6)];
    slot = min(slot + p.I6_4, NVALESCOL);
  }
  Decimal total;
  for (auto s : slots) total += s;
  return total;
}

Decimal FI13_24(const Totais& t, bool model_completo) {
  if (!model_completo) return Decimal();
  return max(min(min(t.I13_24T, t.I13(23)), NMAXINSS), Decimal());
}

Decimal FDOAPAG(const Pagamento& p) {
  if (p.I6_3 >= 1 && p.I6_3 <= 6) return max(p.I6_4 - NVALESCOL, Decimal());
  if (p.I6_3 == 50) return max(p.I6_4 - NMAXINSS, Decimal());
  return p.I6_5;
}

NaoDedutivelSaida FCONFNDEDU(const Pagamento& p, Decimal valor) {
  if (p.I6_3 > 27) return {Decimal(), NaoDedutivel::SoConvenios};
  if (p.I6_3 >= 8 && valor > p.I6_4) return {Decimal(), NaoDedutivel::MaiorQuePago};
  return {valor, NaoDedutivel::Aceito};
}

}  // namespace tx::tax
