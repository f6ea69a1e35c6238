#include "tax/rvar_engine.hpp"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "base/codepage.hpp"
#include "base/picture.hpp"
#include "tax/rvar_parameters.hpp"

namespace tx::tax::rvar {

namespace {

// Rows of the common and day-trade sheet.
constexpr int kUltimaDigitada = 13;
constexpr int kResultadoMes = 14;
constexpr int kPrejuizoAnterior = 15;
constexpr int kBase = 16;
constexpr int kPrejuizoCompensar = 17;
constexpr int kImpostoComum = 18;
constexpr int kImpostoDayTrade = 19;
constexpr int kImpostoDevido = 20;
constexpr int kFonteDayTradeMes = 21;
constexpr int kFonteDayTradeAnteriores = 22;
constexpr int kFonteDayTradeCompensar = 23;
constexpr int kLeiMes = 24;
constexpr int kLeiOutrosMeses = 25;
constexpr int kLeiCompensar = 26;
constexpr int kImpostoPagar = 27;
constexpr int kImpostoPago = 28;

// Rows of the funds sheet.
constexpr int kFundoInvestimento = 1;
constexpr int kFundoNegativo = 2;
constexpr int kFundoBase = 3;
constexpr int kFundoPrejuizo = 4;
constexpr int kFundoImposto = 5;
constexpr int kFundoPago = 6;

// Writes a computed value into its cell through the picture; false (and the
// cell named) when it does not fit.
struct Escritor {
  Planilha& p;
  CelulaEstourada estouro;
  bool ok = true;

  bool put(int row, int month, Decimal v) {
    auto kept = guarda_celula(v);
    if (!kept) {
      if (ok) estouro = {row, month, v};
      ok = false;
      return false;
    }
    p.cel(row, month) = *kept;
    return true;
  }
};

Resultado recalcula_renvar(Planilha& p) {
  Escritor w{p, {}};
  const bool comum = p.DAY_TRADE != kDayTrade;
  for (int m = 1; m <= 12; ++m) {
    Decimal s;
    for (int r = 1; r <= kUltimaDigitada; ++r) s += p.cel(r, m);
    if (!w.put(kResultadoMes, m, s)) return {false, w.estouro};
  }
  for (int m = 1; m <= 12; ++m) {
    if (m == 1 && p.cel(kPrejuizoAnterior, 1) > Decimal(0))
      p.cel(kPrejuizoAnterior, 1) = -p.cel(kPrejuizoAnterior, 1);
    const Decimal r = p.cel(kResultadoMes, m) + p.cel(kPrejuizoAnterior, m);
    const Decimal zero;
    if (m < 12 && !w.put(kPrejuizoAnterior, m + 1, r.negative() ? r : zero)) break;
    if (!w.put(kBase, m, r > zero ? r : zero)) break;
    if (!w.put(kPrejuizoCompensar, m, r.negative() ? r : zero)) break;
    if (comum) {
      if (!w.put(kImpostoComum, m, p.cel(kBase, m) * kTaxaOperacaoComum)) break;
    } else {
      if (!w.put(kImpostoDayTrade, m, p.cel(kBase, m) * kTaxaDayTrade)) break;
    }
    if (!w.put(kImpostoDevido, m, p.cel(kImpostoComum, m) + p.cel(kImpostoDayTrade, m))) break;
    const Decimal d =
        p.cel(kImpostoDevido, m) - p.cel(kFonteDayTradeMes, m) - p.cel(kFonteDayTradeAnteriores, m);
    if (!w.put(kFonteDayTradeCompensar, m, d.negative() ? -d : zero)) break;
    const Decimal lei = p.cel(kLeiMes, m) + p.cel(kLeiOutrosMeses, m);
    if (d.negative()) {
      if (!w.put(kLeiCompensar, m, lei) || !w.put(kImpostoPagar, m, zero)) break;
    } else {
      const Decimal t = d - lei;
      if (t > zero) {
        if (!w.put(kLeiCompensar, m, zero) || !w.put(kImpostoPagar, m, t)) break;
      } else {
        if (!w.put(kLeiCompensar, m, -t) || !w.put(kImpostoPagar, m, zero)) break;
      }
    }
    if (m < 12) {
      p.cel(kFonteDayTradeAnteriores, m + 1) = p.cel(kFonteDayTradeCompensar, m);
      p.cel(kLeiOutrosMeses, m + 1) = p.cel(kLeiCompensar, m);
    }
  }
  return {w.ok, w.estouro};
}

Resultado recalcula_renfin(Planilha& p) {
  Escritor w{p, {}};
  const Decimal zero;
  for (int m = 1; m <= 12; ++m) {
    if (m == 1 && p.cel(kFundoNegativo, 1) > zero) p.cel(kFundoNegativo, 1) = -p.cel(kFundoNegativo, 1);
    const Decimal r = p.cel(kFundoInvestimento, m) + p.cel(kFundoNegativo, m);
    if (!w.put(kFundoBase, m, r.negative() ? zero : r)) break;
    if (!w.put(kFundoPrejuizo, m, r.negative() ? r : zero)) break;
    if (m < 12 && !w.put(kFundoNegativo, m + 1, r.negative() ? r : zero)) break;
    if (!w.put(kFundoImposto, m, p.cel(kFundoBase, m) * kTaxaFundos)) break;
  }
  return {w.ok, w.estouro};
}

int kind_of(const std::string& day_trade) { return day_trade.size() == 1 ? day_trade[0] : 0; }

bool mes_nao_zero(const Meses& ms) {
  return std::any_of(ms.begin(), ms.end(), [](Decimal v) { return !v.is_zero(); });
}

// The working copy's index order: BEM_NRO, RVAR_NRO, DAY_TRADE; records of
// the same key keep their order.
std::vector<const Registro07*> em_ordem_do_indice(const std::vector<Registro07>& records) {
  std::vector<const Registro07*> out;
  out.reserve(records.size());
  for (const auto& r : records) out.push_back(&r);
  std::stable_sort(out.begin(), out.end(), [](const Registro07* a, const Registro07* b) {
    return std::tie(a->BEM_NRO, a->RVAR_NRO, a->DAY_TRADE) < std::tie(b->BEM_NRO, b->RVAR_NRO, b->DAY_TRADE);
  });
  return out;
}

Registro07 registro(const Planilha& p, int row, const std::string& cpf) {
  Registro07 r;
  r.CPF = cpf;
  r.BEM_NRO = 0;
  r.RVAR_NRO = row;
  r.DAY_TRADE = std::string(1, p.DAY_TRADE);
  r.TIPO_BEM = kTipoBemRendaVariavel;
  r.CPF_DEPE = p.CPF_DEPE;
  r.REC_MES = p.linhas[row - 1];
  return r;
}

}  // namespace

Planilha nova_planilha(char kind, const std::string& person) {
  Planilha p;
  p.DAY_TRADE = kind;
  p.CPF_DEPE = person;
  return p;
}

std::optional<Decimal> guarda_celula(Decimal v) {
  const std::string text = TRANSFORM(v, kPictureCelula);
  const PictureRead back = PICTURE_READ(text, kPictureCelula);
  if (!back.ok()) return std::nullopt;
  return back.value;
}

Resultado recalcula(Planilha& sheet) {
  Planilha work = sheet;
  Resultado r = work.DAY_TRADE == kFundos ? recalcula_renfin(work) : recalcula_renvar(work);
  if (r.ok) sheet = std::move(work);
  return r;
}

Digitacao pode_digitar(const Planilha& sheet, int row, int month) {
  static const std::string kNaoPermitido = "Não é permitido inserir valor nesse campo."_cp.str();
  static const std::string kLanceComum = "Lance o valor do imposto pago na operação comum"_cp.str();
  if (month < 1 || month > 12 || row < 1 || row > sheet.numero_linhas()) return {false, kNaoPermitido};
  if (sheet.DAY_TRADE == kFundos) {
    if (row == kFundoInvestimento || row == kFundoPago || (row == kFundoNegativo && month == 1)) return {true, {}};
    return {false, kNaoPermitido};
  }
  const bool day_trade = sheet.DAY_TRADE == kDayTrade;
  if (row <= kUltimaDigitada) return {true, {}};
  if (row == kImpostoDayTrade) return {false, {}};
  if (row == kLeiMes && day_trade) return {false, kLanceComum};
  if (row <= kLeiCompensar) return {true, {}};
  if (row == kImpostoPagar) return {false, kNaoPermitido};
  // row 28
  if (day_trade) return {false, kLanceComum};
  return {true, {}};
}

Resultado digita(Planilha& sheet, int row, int month, Decimal value) {
  auto kept = guarda_celula(value);
  if (!kept) return {false, {row, month, value}};
  Planilha work = sheet;
  work.cel(row, month) = *kept;
  Resultado r = recalcula(work);
  if (r.ok) sheet = std::move(work);
  return r;
}

Carga carrega_planilha(const std::vector<Registro07>& records, char kind, const std::string& person) {
  Carga out;
  out.planilha = nova_planilha(kind, person);
  Planilha& p = out.planilha;
  std::vector<Registro07> mine;
  for (const auto& r : records)
    if (r.CPF_DEPE == person) mine.push_back(r);
  for (const Registro07* r : em_ordem_do_indice(mine)) {
    if (r->TIPO_BEM != kTipoBemRendaVariavel) continue;
    const int k = kind_of(r->DAY_TRADE);
    const int n = r->RVAR_NRO;
    int row = 0;
    if (kind == kFundos) {
      if (k != kFundos || n < 1) continue;
      row = n >= 7 && n <= 20 ? kFundoNegativo : n > 20 ? kFundoPago : n;
    } else {
      const bool own = k == kind;
      const bool either = k == kComum || k == kDayTrade;
      bool take = false;
      if (n >= 1 && n <= kPrejuizoCompensar) take = own;
      else if (n == kImpostoDayTrade) take = k == kDayTrade;
      else if (n == kLeiMes || n == kImpostoPago) take = own && kind != kDayTrade;
      else if (n == kImpostoComum || (n >= kImpostoDevido && n <= kImpostoPagar)) take = either;
      if (!take) continue;
      row = n;
    }
    for (int m = 1; m <= 12; ++m) {
      auto kept = guarda_celula(r->REC_MES[m - 1]);
      if (!kept) {
        out.ok = false;
        out.estouro = {row, m, r->REC_MES[m - 1]};
        return out;
      }
      p.cel(row, m) = *kept;
    }
  }
  Resultado rr = recalcula(p);
  if (!rr.ok) {
    out.ok = false;
    out.estouro = rr.estouro;
  }
  return out;
}

std::vector<Registro07> registros_da_planilha(const Planilha& sheet, const std::string& cpf) {
  std::vector<Registro07> out;
  int last = sheet.numero_linhas();
  if (sheet.DAY_TRADE == kDayTrade) last = kLeiCompensar;
  for (int row = 1; row <= last; ++row)
    if (mes_nao_zero(sheet.linhas[row - 1])) out.push_back(registro(sheet, row, cpf));
  return out;
}

std::vector<Registro07> grava_planilha(const std::vector<Registro07>& records, const Planilha& sheet,
                                       const std::string& cpf) {
  std::vector<Registro07> out;
  const std::string kind(1, sheet.DAY_TRADE);
  auto of_person = [&](const Registro07& r) { return r.CPF_DEPE == sheet.CPF_DEPE; };
  if (sheet.DAY_TRADE != kFundos) {
    for (const auto& r : records)
      if (!(of_person(r) && r.DAY_TRADE == kind)) out.push_back(r);
    for (auto& r : registros_da_planilha(sheet, cpf)) out.push_back(std::move(r));
    return out;
  }
  // Funds: rows 1 to 6 update their record in place (the first of its key;
  // later duplicates of that key would overwrite it at the next load, so they
  // go); every kind-3 record of the person above row 6 goes.
  std::array<bool, kLinhasRenfin + 1> written{};
  for (const auto& r : records) {
    if (!(of_person(r) && r.DAY_TRADE == kind)) {
      out.push_back(r);
      continue;
    }
    const int row = r.RVAR_NRO;
    if (row > kLinhasRenfin) continue;
    if (r.BEM_NRO != 0 || row < 1) {
      out.push_back(r);
      continue;
    }
    if (written[row] || !mes_nao_zero(sheet.linhas[row - 1])) continue;
    out.push_back(registro(sheet, row, cpf));
    written[row] = true;
  }
  for (int row = 1; row <= kLinhasRenfin; ++row)
    if (!written[row] && mes_nao_zero(sheet.linhas[row - 1])) out.push_back(registro(sheet, row, cpf));
  return out;
}

TotaisRendaVariavel totais_anuais(const std::vector<Registro07>& records) {
  TotaisRendaVariavel t;
  // The loss recovered in the year, per sheet (person, kind).
  std::map<std::pair<std::string, int>, Decimal> recuperado;
  for (const Registro07* r : em_ordem_do_indice(records)) {
    if (r->TIPO_BEM != kTipoBemRendaVariavel) continue;
    const int k = kind_of(r->DAY_TRADE);
    if (k != kComum && k != kDayTrade && k != kFundos) continue;
    Decimal& i3 = recuperado[{r->CPF_DEPE, k}];
    const int n = r->RVAR_NRO;
    for (int m = 1; m <= 12; ++m) {
      const Decimal v = r->REC_MES[m - 1];
      if (k == kFundos) {
        if (n == kFundoNegativo && m == 1) i3 += v;
        else if (n == kFundoBase) {
          if (v.negative()) t.PREJRVA += v;
          else { t.LUCRRVA += v; t.I4_03 += v; }
        } else if (n == kFundoPrejuizo && m == 12 && i3.negative()) i3 -= v;
        else if (n == kFundoPago) t.I13_47 += v;
        continue;
      }
      if (n == kResultadoMes) {
        if (v.negative()) t.PREJRVA += v;
        else t.LUCRRVA += v;
      } else if (n == kPrejuizoAnterior && m == 1) i3 += v;
      else if (n == kBase) t.I4_03 += v;
      else if (n == kPrejuizoCompensar && m == 12 && i3.negative()) i3 -= v;
      else if (n == kFonteDayTradeMes && k == kDayTrade) t.I13_47 += v;
      else if ((n == kLeiMes || n == kImpostoPago) && k == kComum) t.I13_47 += v;
    }
  }
  for (const auto& [key, i3] : recuperado)
    if (i3.negative()) t.I3_20 += -i3;
  t.I4_03 -= t.I13_47;
  if (!(t.I4_03 > Decimal(0))) t.I4_03 = Decimal(0);
  t.PREJRVA = t.PREJRVA.negative() ? -t.PREJRVA : Decimal(0);
  return t;
}

}  // namespace tx::tax::rvar
