#include "tax/rural_result.hpp"

#include <cstdio>

#include "base/codepage.hpp"
#include "base/helpers.hpp"
#include "base/picture.hpp"
#include "tax/rural_parameters.hpp"

namespace tx::tax::rural {

namespace {

std::string campo_mes(int month, const char* suffix) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "I3_%02d%s", month, suffix);
  return buf;
}

// Keeps computed values through their cells; the first one that does not
// fit is remembered and everything after it is skipped by the callers.
struct Guarda {
  bool ok = true;
  Estouro estouro;

  bool put(Decimal& dest, Decimal v, const std::string& campo) {
    if (!ok) return false;
    auto kept = guarda_celula(v);
    if (!kept) {
      ok = false;
      estouro = {campo, v};
      return false;
    }
    dest = *kept;
    return true;
  }
};

bool sim(const std::string& s) { return s == "S"; }

}  // namespace

std::optional<std::string> texto_celula(Decimal v) {
  std::string text = TRANSFORM(v, kPictureCelula);
  if (text.find('*') != std::string::npos) return std::nullopt;
  return text;
}

std::optional<Decimal> guarda_celula(Decimal v) {
  auto text = texto_celula(v);
  if (!text) return std::nullopt;
  return CAR_TO_VAL_CHECKED(*text);
}

Decimal valor_celula(const std::string& text) { return CAR_TO_VAL(text); }

CargaRend rend_rural_de(const MesesRurais& rec) {
  CargaRend out;
  for (int m = 1; m <= kMeses; ++m) {
    auto r = texto_celula(rec.I3_OR[m - 1]);
    if (!r) return {false, {campo_mes(m, "OR"), rec.I3_OR[m - 1]}, {}};
    auto d = texto_celula(rec.I3_OD[m - 1]);
    if (!d) return {false, {campo_mes(m, "OD"), rec.I3_OD[m - 1]}, {}};
    out.REND_RURAL[m - 1] = {*r, *d};
  }
  return out;
}

RendRural rend_rural_vazio() {
  RendRural r;
  const std::string zero = *texto_celula(Decimal(0));
  for (auto& m : r) m = {zero, zero};
  return r;
}

MesesRurais meses_de(const RendRural& rend) {
  MesesRurais out;
  for (int m = 0; m < kMeses; ++m) {
    out.I3_OR[m] = valor_celula(rend[m][0]);
    out.I3_OD[m] = valor_celula(rend[m][1]);
  }
  return out;
}

SomaCaixa soma_rur(const std::vector<Imovel16>& imoveis, const std::vector<Lancamento19>& caixa) {
  SomaCaixa out;
  Meses receitas{}, despesas{};
  std::vector<Decimal> itr(imoveis.size());
  const int n = static_cast<int>(imoveis.size());
  for (const auto& e : caixa) {
    if (e.DT_LC.empty()) continue;
    const int m = e.DT_LC.month();
    if (m < 1 || m > kMeses) continue;
    const bool do_imovel = e.NROIMO >= 1 && e.NROIMO <= n;
    const Decimal parte = do_imovel ? imoveis[e.NROIMO - 1].I2R_04 / kCem : Decimal(1);
    const Decimal valor = e.VALOR * parte;
    if (e.TIPOCR == "C") {
      receitas[m - 1] += valor;
    } else if (e.TIPOCR == "D") {
      despesas[m - 1] += valor;
      if (sim(e.TEMITR)) {
        if (do_imovel)
          itr[e.NROIMO - 1] += valor;
        else
          out.ITR_SEM_IMOVEL += valor;
      }
    }
  }
  Guarda g;
  for (int m = 1; m <= kMeses; ++m) {
    g.put(out.meses.I3_OR[m - 1], receitas[m - 1], campo_mes(m, "OR"));
    g.put(out.meses.I3_OD[m - 1], despesas[m - 1], campo_mes(m, "OD"));
  }
  out.VALITR.resize(itr.size());
  for (std::size_t i = 0; i < itr.size(); ++i) g.put(out.VALITR[i], itr[i], "VALITR");
  Decimal sem;
  g.put(sem, out.ITR_SEM_IMOVEL, "VALITR");
  out.ITR_SEM_IMOVEL = sem;
  if (!g.ok) {
    SomaCaixa bad;
    bad.ok = false;
    bad.estouro = g.estouro;
    return bad;
  }
  out.REND_RURAL = rend_rural_de(out.meses).REND_RURAL;  // every month fits by now
  return out;
}

TotaisMensais totais_mensais(const RendRural& rend) {
  Decimal r, d;
  for (const auto& m : rend) {
    r += valor_celula(m[0]);
    d += valor_celula(m[1]);
  }
  TotaisMensais out;
  Guarda g;
  g.put(out.I4R_01, r, "I4R_01");
  g.put(out.I4R_02, d, "I4R_02");
  if (!g.ok) return {false, g.estouro, {}, {}};
  return out;
}

MesesNegativos ve_despesas(const RendRural& rend) {
  MesesNegativos out;
  for (int m = 0; m < kMeses; ++m) {
    const bool neg = valor_celula(rend[m][1]) > valor_celula(rend[m][0]);
    out.MES_NEG[m] = neg ? '*' : ' ';
    if (neg) out.algum = true;
  }
  return out;
}

ImovelCalculado calucro(const Imovel16& imovel, Decimal dolar) {
  ImovelCalculado out{true, {}, imovel};
  Imovel16& p = out.imovel;
  Guarda g;
  if (imovel.VALUSE.is_zero()) {
    p.RESUS = p.OPC20US = p.OPC20RS = Decimal(0);
    return out;
  }
  g.put(p.RESUS, (imovel.RECEXT - imovel.DESEXT) / imovel.VALUSE, "RESUS");
  g.put(p.OPC20US, imovel.RECEXT / imovel.VALUSE * kLimiteReceitaBruta, "OPC20US");
  g.put(p.OPC20RS, p.OPC20US * dolar, "OPC20RS");
  if (!g.ok) return {false, g.estouro, imovel};
  return out;
}

TotaisExterior soma_exterior(const std::vector<Imovel16>& imoveis) {
  Decimal us, us20, rs20;
  for (const auto& p : imoveis) {
    us += p.RESUS;
    us20 += p.OPC20US;
    rs20 += p.OPC20RS;
  }
  TotaisExterior out;
  Guarda g;
  g.put(out.NTOTUS, us, "NTOTUS");
  g.put(out.NTOT20US, us20, "NTOT20US");
  g.put(out.NTOT20RS, rs20, "NTOT20RS");
  if (!g.ok) return {false, g.estouro, {}, {}, {}};
  return out;
}

TotaisDividas soma_div(const std::vector<Divida18>& dividas) {
  TotaisDividas out;
  for (const auto& d : dividas) {
    out.NTOTANT += d.I9R_2;
    out.NTOTBASE += d.I9R_3;
  }
  return out;
}

ResultadoRural calcula_resultado(const EntradaResultado& in) {
  ResultadoRural r;
  r.brasil = in.ATV_BRASIL != "N";
  r.opcao20 = sim(r.brasil ? in.OPT_20 : in.OPT_20E);
  Guarda g;
  g.put(r.I4R_04, in.I4R_04, "I4R_04");
  g.put(r.I5_09, in.I5_09, "I5_09");
  g.put(r.I5_10, in.I5_10, "I5_10");
  // A balance of earlier losses is never negative: a negative one would be
  // "compensated" into a larger taxable result.
  if (r.I4R_04.negative()) r.I4R_04 = Decimal(0);

  // Result I.
  if (r.brasil) {
    g.put(r.I4R_01, in.I4R_01, "I4R_01");
    g.put(r.I4R_02, in.I4R_02, "I4R_02");
    g.put(r.I4R_03, r.I4R_01 - r.I4R_02, "I4R_03");
  } else {
    g.put(r.I4R_01, in.NTOTUS, "I4R_01");
    g.put(r.I4R_02, in.I4R_02, "I4R_02");
    g.put(r.I4R_03, r.I4R_01 * in.NVALDOLAR, "I4R_03");
  }

  // Compensation of earlier losses.
  if (!r.opcao20) {
    if (r.I4R_03 < r.I4R_04) {
      r.I5_08 = r.I4R_04 - r.I4R_03;
      const Decimal c = r.I4R_04 - r.I5_08;
      r.I4R_05 = c > Decimal(0) ? c : Decimal(0);
    } else {
      r.I5_08 = Decimal(0);
      r.I4R_05 = r.I4R_04;
    }
    g.put(r.I5_08, r.I5_08, "I5_08");
  }

  // The 20 % limit.
  if (r.brasil)
    g.put(r.I4R_06, r.I4R_01 * kLimiteReceitaBruta, "I4R_06");
  else
    g.put(r.I4R_06, in.NTOT20RS, "I4R_06");

  // Taxable result; the option gives up every compensation.
  if (r.opcao20) {
    r.I4R_07 = r.I4R_06;
    r.I4R_05 = Decimal(0);
    r.I5_08 = Decimal(0);
  } else {
    r.I4R_07 = max(r.I4R_03 - r.I4R_05, Decimal(0));
  }

  // Non-taxable result.
  g.put(r.I6_10, max((r.I4R_03 + r.I5_09) - (r.I5_10 + r.I4R_07), Decimal(0)), "I6_10");

  if (!g.ok) {
    ResultadoRural bad;
    bad.ok = false;
    bad.estouro = g.estouro;
    bad.brasil = r.brasil;
    bad.opcao20 = r.opcao20;
    return bad;
  }
  return r;
}

Consolidacao calc_preju(const Consolidacao& antes, const ResultadoRural& r, const TotaisDividas& dividas) {
  Consolidacao c = antes;
  Decimal preju;
  if (r.opcao20)
    preju = r.I4R_03.negative() ? -r.I4R_03 : Decimal(0);
  else
    preju = max(r.I5_08 - r.I4R_04, Decimal(0));
  if (r.brasil) {
    c.NTRIB_BR = r.I6_10;
    c.TRIB_BR = r.I4R_07;
    c.PREJU_BR = preju;
    c.DIVAN_BR = dividas.NTOTANT;
    c.DIVAD_BR = dividas.NTOTBASE;
  } else {
    c.NTRIB_EX = r.I6_10;
    c.TRIB_EX = r.I4R_07;
    c.PREJU_EX = preju;
    c.DIVAN_EX = dividas.NTOTANT;
    c.DIVAD_EX = dividas.NTOTBASE;
  }
  c.DIVPG_BR = Decimal(0);
  c.DIVPG_EX = Decimal(0);
  c.I13_07 = c.TRIB_EX + c.TRIB_BR;
  c.PREJRUR = c.PREJU_BR + c.PREJU_EX;
  c.I3_11 = c.NTRIB_EX + c.NTRIB_BR;
  c.DIVAN = c.DIVAN_EX + c.DIVAN_BR;
  c.DIVAD = c.DIVAD_EX + c.DIVAD_BR;
  c.AMORUR = max(c.DIVAN - c.DIVAD, Decimal(0));
  c.EMPRUR = max(c.DIVAD - c.DIVAN, Decimal(0));
  return c;
}

RespostaOpcao optou20(const std::string& resposta) {
  if (resposta == "S")
    return {true,
            {"A opção pelo limite dos 20% da receita bruta implica"_cp.str(),
             "a perda do direito a compensação total do prejuízo!"_cp.str()}};
  if (resposta == "N") return {true, {}};
  return {false, {"Informe com 'S'(Sim) ou 'N'(Não) se optará pelos 20% da receita bruta."_cp.str()}};
}

}  // namespace tx::tax::rural
