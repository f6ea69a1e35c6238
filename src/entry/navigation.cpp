// The screen catalogue as data and the navigation between screens.
#include "entry/navigation.hpp"

#include <algorithm>

#include "platform/keys.hpp"

namespace tx::entry {

namespace {

using V = Variant;

std::vector<ScreenPage> make_pages() {
  std::vector<ScreenPage> p;
  auto add = [&](ScreenPage page) { p.push_back(std::move(page)); };

  add({1, {11, 12, 13, 14}, "pj_income", {1, 0, 23, 78}, {}, V::kAlways, {}, {HintSet::kScreen, 1},
       Editor::kIncomeLists, {}});
  // Screen 1's title depends on the item: kept apart in headings().
  add({2, {21, 22}, "pf_income", {1, 0, 22, 79}, {}, V::kAlways,
       {{V::kAlways, "(3)Rend. Tribut.Recebido de P.Físicas e apuração do recolhimento mensal"}},
       {HintSet::kScreen, 12}, Editor::kMonthlySheet, {}});
  add({3, {31}, "exempt", {0, 0, 24, 79}, {}, V::kAlways, {}, {HintSet::kScreenThree, 1}, Editor::kForm, {}});
  add({3, {32}, "exclusive", {3, 0, 15, 79}, {}, V::kAlways,
       {{V::kAlways, "RENDIMENTOS SUJEITOS A TRIBUTAÇÃO EXCLUSIVA NA FONTE - Titular "}}, {}, Editor::kForm, {}});
  add({4, {41}, "dependants", {4, 0, 18, 79}, {}, V::kAlways, {{V::kAlways, "RELAÇÃO DOS DEPENDENTES"}}, {},
       Editor::kList, {}});
  add({4, {42}, "alimony", {4, 0, 18, 79}, {}, V::kAlways, {{V::kAlways, "RELAÇÃO DOS ALIMENTANDOS"}},
       {HintSet::kScreen, 6}, Editor::kList, {}});
  add({4, {43}, "payments", {2, 0, 23, 79}, {}, V::kAlways,
       {{V::kAlways, "RELAÇÃO DOS PAGAMENTOS E DOAÇÕES EFETUADAS"}}, {}, Editor::kList,
       "Total de devolução de médicos/hospital (Lançar em outros isentos)"});
  add({4, {44}, "direct_donation", {2, 0, 8, 79}, {}, V::kAlways,
       {{V::kAlways, "DADOS DA DOAÇÃO - ESTATUTO DA CRIANÇA E ADOLESCENTE "}}, {}, Editor::kForm, {}});
  add({4, {45}, "heirs", {2, 9, 16, 70}, {}, V::kAlways, {{V::kAlways, " RELAÇÃO DOS HERDEIROS "}}, {},
       Editor::kList, {}});
  add({5, {51}, "assets_debts", {1, 0, 22, 79}, {}, V::kAlways,
       {{V::kAlways, "DECLARAÇÃO DE BENS"}, {V::kAlways, "DÍVIDAS E ONUS REAIS"}}, {HintSet::kScreen, 5},
       Editor::kList, {}});
  add({5, {56}, "spouse", {3, 19, 14, 58}, {}, V::kAlways, {{V::kAlways, "   INFORMAÇÕES DO CONJUGE   "}}, {},
       Editor::kForm, {}});
  add({5, {57}, "estate", {3, 10, 13, 67}, Window{3, 10, 21, 67}, V::kFinalEstate,
       {{V::kAlways, "  Declaração de Espólio "},
        {V::kFinalEstate, " Informações sobre o Encerramento do Espólio "}},
       {}, Editor::kForm, {}});
  add({5, {58}, "departure", {3, 10, 11, 67}, {}, V::kAlways, {{V::kAlways, "  Declaração de Saída   "}}, {},
       Editor::kForm, {}});
  add({6, {61}, "identification", {2, 0, 23, 78}, {}, V::kAlways, {}, {}, Editor::kForm, {}});
  add({7, {71}, "calculation", {1, 0, 24, 78}, Window{1, 0, 23, 79}, V::kComplete,
       {{V::kSimplified, "Declaração Simplificada"},
        {V::kSimplified, "Simulação"},
        {V::kComplete, "RENDIME.TRIBUTÁVEIS"},
        {V::kComplete, "IMPOSTO DEVIDO"},
        {V::kComplete, "DEDUÇÕES"},
        {V::kComplete, "IMPOSTO PAGO"}},
       {HintSet::kScreen, 7}, Editor::kForm, {}});
  add({8, {81, 84}, "gain_real_estate", {2, 1, 5, 78}, {}, V::kAlways,
       {{V::kResident, "Cálculo do Ganho de Capital de Bem Imóvel"},
        {V::kNonResident, "Cálculo do Ganho de Capital de Bem Imóvel para não residente no país"}},
       {HintSet::kScreen, 13}, Editor::kCapitalGain, {}});
  add({8, {82, 85}, "gain_movable", {2, 1, 5, 78}, {}, V::kAlways,
       {{V::kAlways, "Cálculo do Ganho de Capital de Bem Móvel"}}, {HintSet::kScreen, 13}, Editor::kCapitalGain,
       {}});
  add({8, {83, 86}, "gain_shares", {2, 1, 5, 78}, {}, V::kAlways,
       {{V::kAlways, "Cálculo do Ganho de Capital de Participação Societária"}}, {HintSet::kScreen, 13},
       Editor::kCapitalGain, {}});
  add({9, {91, 92, 93, 94, 95, 96}, "variable_income", {0, 0, 24, 79}, {}, V::kAlways, {}, {},
       Editor::kVariableIncome, {}});
  add({10, {72}, "balance", {1, 0, 23, 78}, {}, V::kAlways,
       {{V::kAlways, "R E C E I T A S"}, {V::kAlways, "D E S P E S A S"}}, {HintSet::kScreen, 11}, Editor::kForm,
       {}});
  add({11, {62}, "notes", {1, 9, 22, 70}, {}, V::kAlways, {{V::kAlways, "Situação da Declaração"}},
       {HintSet::kScreen, 20}, Editor::kFormAndList, {}});
  add({12, {101}, "rural_property", {1, 0, 21, 78}, {}, V::kAlways,
       {{V::kBrazil, "    Atividade Rural exercida no Brasil"},
        {V::kBrazil, "(1) IDENTIFICAÇÃO DA ATIVIDADE E DO IMÓVEL EXPLORADO"},
        {V::kAbroad, "    Atividade Rural exercida no Exterior"},
        {V::kAbroad, "(1) IDENTIFICAÇÃO DA ATIVIDADE, DO IMÓVEL E LANÇAMENTO DAS RECEITAS E DEPESAS  "}},
       {HintSet::kRural, 1}, Editor::kRural, {}});
  add({13, {102}, "rural_monthly", {2, 20, 20, 61}, {}, V::kAlways,
       {{V::kAlways, " (3) RECEITAS E DESPESAS    "}}, {HintSet::kRural, 2}, Editor::kRural, {}});
  add({14, {103}, "rural_result", {4, 1, 22, 77}, {}, V::kAlways,
       {{V::kAlways, "INFORMACAO DO EXERCICIO ANTERIOR"},
        {V::kAlways, "APURAÇÃO DO RESULTADO TRIBUTÁVEL"},
        {V::kAlways, "INFORMAÇÕES PARA O EXERCÍCIO SEGUINTE"},
        {V::kAlways, "APURAÇÃO DO RESULTADO NAO TRIBUTÁVEL"}},
       {HintSet::kRural, 3}, Editor::kRural, {}});
  add({15, {104}, "rural_herd", {5, 1, 19, 78}, {}, V::kAlways,
       {{V::kAlways, "    (7) MOVIMENTAÇÃO DO REBANHO (Indicar somente a quantidade de animais)     "}},
       {HintSet::kRural, 4}, Editor::kRural, {}});
  add({16, {105}, "rural_assets", {1, 1, 21, 79}, {}, V::kAlways,
       {{V::kBrazil, "(8) BENS DA ATIVIDADE RURAL NO BRASIL"}, {V::kAbroad, "(8) BENS DA ATIVIDADE RURAL NO EXTERIOR"}},
       {HintSet::kRural, 5}, Editor::kList, {}});
  add({17, {106}, "rural_debts", {1, 0, 22, 78}, {}, V::kAlways,
       {{V::kAlways, " (9) DÍVIDAS VINCULADAS A ATIVIDADE RURAL      "}, {V::kAlways, "Saldo"},
        {V::kAlways, "Totais"}},
       {HintSet::kRural, 6}, Editor::kList, {}});
  add({22, {54, 55}, "zoom_full", {1, 0, 23, 79}, {}, V::kAlways,
       {{V::kAssets, " (8)DECLARAÇÃO DE BENS "}, {V::kDebts, "(9)DÍVIDAS E ÔNUS REAIS "}}, {HintSet::kScreen, 5},
       Editor::kList, {}});
  add({23, {52, 53}, "zoom_one_list", {1, 0, 22, 79}, {}, V::kAlways,
       {{V::kAssets, " (8)DECLARAÇÃO DE BENS "}, {V::kDebts, "(9)DÍVIDAS E ÔNUS REAIS "}}, {HintSet::kScreen, 5},
       Editor::kList, {}});
  return p;
}

std::vector<HintEntry> make_hints() {
  using S = HintSet;
  return {
      {S::kScreen, 1, "Alt F4=Tela Aux. Crtl Enter= Envia p/ Tela Aux. Alt U Valores mensais"},
      {S::kScreen, 2, "Alt F1=Tela Aux. Alt +=Todos campos ", true},
      {S::kScreen, 3, "Alt F5=Tela Aux. Ctrl Enter=Envia p/Tela Aux. ALT F6=Aux Rend. Alt O=Organiza "},
      {S::kScreen, 4, "[Tab]=Muda para Dependentes"},
      {S::kScreen, 5, "INS=Inclui DEL=Elimina TAB=Fim pag Alt Z ou X=Zoom", true},
      {S::kScreen, 6, "Tab=Pagamentos efetuados"},
      {S::kScreen, 7, "Ctrl S=Muda p/simplificado [Ctrl Enter]=Preenche valores mensais [ESC] Tela inicial "},
      {S::kScreen, 8, "Selecione a impressora com [S] - Verique a sequência no manual de sua impressora"},
      {S::kScreen, 9, "INS=Inclui DEL=Elimina TAB=Volta Alt L=n linhas ", true},
      {S::kScreen, 10,
       "[F1 Ordem Nome] [F2 Ordem CPF] [Marque com S nos nomes] [Esc termina] [Alt+ Marca todos] [ALT- Desmarca]"},
      {S::kScreen, 11, "TAB=Cálculo do Imposto"},
      {S::kScreen, 12, "Alt A=Muda o modo de preenchimento  Enter=Preenche mensal Alt N=Muda o pagamento para "},
      {S::kScreen, 13, "[ESC] Volta p/ Declaração [INS] Inclui um Ganho [DEL] Elimina o Ganho"},
      {S::kScreen, 14, "Alt U=Valor mensal"},
      {S::kScreen, 15, "Digite só o valor do INSS. Os valores da pensão e dependentes vem da tela 4"},
      {S::kScreen, 16, "ENTER no mês calcula o custo | ESC - Sai", true},
      {S::kScreen, 17, "Shift TAB - volta para cálculos", true},
      {S::kScreen, 18, "Anote informações. INS=Inclui ALT L inclui n linhas. Ctrl Enter vai p/ erro.", true},
      {S::kScreen, 19, "Anote dados repetitivos - Crtl Enter - Transfere os dados", true},
      {S::kScreen, 20, "Marque de 1 a 99 a situação dessa declaração - Tab ou ESC - muda", true},
      {S::kScreenThree, 1, "TAB Proxima pagina  ALT F6 Auxiliar Rendimento", true},
      {S::kRural, 1, "<Esc> Tela inicial <Tab> Faturamento "},
      {S::kRural, 2, "<Esc> Tela inicial Alt A muda p/"},
      {S::kRural, 3, "<Esc> Tela inicial <TAB>Rebanho | <SHIFT TAB> Faturamento "},
      {S::kRural, 4, "<Esc> Tela inicial <TAB/PgDn> Bens | <SHIFT+TAB> Cálculo "},
      {S::kRural, 5, "<Esc> Tela inicial <TAB>Dívidas |Alt F5=Tela auxiliar"},
      {S::kRural, 6, "<Esc> Tela inicial <TAB>Local <SHIFT+TAB>Bens Alt F5=Tela Auxiliar"},
      {S::kRural, 13, "Anote dados repetitivos do livro caixa - Ctrl Enter transfere a linha"},
      {S::kRural, 14, "Alt F2=Tela Auxiliar Alt O=Ordena Alt+ mais ordem (ALT 2 inicio ALT 3 fim do SubTotal)"},
  };
}

bool applies(Variant v, const DeclFlags& f, Zoom zoom) {
  switch (v) {
    case V::kAlways: return true;
    case V::kSimplified: return f.simplified;
    case V::kComplete: return !f.simplified;
    case V::kBrazil: return !f.rural_abroad;
    case V::kAbroad: return f.rural_abroad;
    case V::kAssets: return zoom == Zoom::kAssets;
    case V::kDebts: return zoom == Zoom::kDebts;
    case V::kFinalEstate: return f.final_estate;
    case V::kResident: return !f.lives_abroad;
    case V::kNonResident: return f.lives_abroad;
  }
  return false;
}

NavResult go(const NavState& s, int screen, int item) {
  NavResult r;
  r.first_time = s.first_time;
  r.zoom22 = s.zoom22;
  r.zoom23 = s.zoom23;
  const int settled = settle_screen(screen, s.flags.rural);
  if (settled == 0) {
    r.kind = NavKind::kLeave;
    r.item = s.item;
    return r;
  }
  r.kind = NavKind::kGo;
  r.screen = settled;
  r.item = settled == screen ? item : default_item(settled);
  return r;
}

NavResult leave(const NavState& s) {
  NavResult r = go(s, 0, 0);
  r.kind = NavKind::kLeave;
  return r;
}

NavResult stay(const NavState& s) {
  NavResult r;
  r.kind = NavKind::kStay;
  r.screen = s.screen;
  r.item = s.item;
  r.first_time = s.first_time;
  r.zoom22 = s.zoom22;
  r.zoom23 = s.zoom23;
  return r;
}

// The move of a new declaration off its identification screen, once.
NavResult first_move(const NavState& s) {
  NavResult r = go(s, 1, 11);
  r.first_time = false;
  return r;
}

bool is_first_move(const NavState& s) { return s.screen == 6 && s.first_time; }

// "Any other key": the next number, 12 becoming 10 without rural activity.
NavResult other_key(const NavState& s) {
  if (is_first_move(s)) return first_move(s);
  if (s.screen == 3) return s.item == 32 ? go(s, 4, 41) : go(s, 3, 32);
  if (s.screen >= 7 && s.screen <= 10) return leave(s);
  int next = s.screen + 1;
  if (next == 12 && !s.flags.rural) next = 10;
  return go(s, next, default_item(next));
}

NavResult function_key(const NavState& s, int n) {
  switch (n) {
    case 1: return go(s, 1, 11);
    case 2: return go(s, 2, 21);
    case 3: return go(s, 3, 31);
    case 11: return go(s, 11, 62);
    case 12: return s.flags.rural ? go(s, 12, 101) : go(s, 7, 71);
    default: return go(s, n, default_item(n));
  }
}

}  // namespace

const std::vector<ScreenPage>& screen_pages() {
  static const std::vector<ScreenPage> pages = make_pages();
  return pages;
}

const ScreenPage* find_page(int screen, int item) {
  const ScreenPage* first = nullptr;
  for (const auto& p : screen_pages()) {
    if (p.screen != screen) continue;
    if (!first) first = &p;
    if (std::find(p.items.begin(), p.items.end(), item) != p.items.end()) return &p;
  }
  return first;
}

int default_item(int screen) {
  switch (screen) {
    case 1: return 11;
    case 2: return 21;
    case 3: return 31;
    case 4: return 41;
    case 5: return 51;
    case 6: return 61;
    case 7: return 71;
    case 8: return 81;
    case 9: return 91;
    case 10: return 72;
    case 11: return 62;
    case 12: return 101;
    case 13: return 102;
    case 14: return 103;
    case 15: return 104;
    case 16: return 105;
    case 17: return 106;
    case 22: return 54;
    case 23: return 52;
    default: return 0;
  }
}

int screen_of_item(int item) {
  for (const auto& p : screen_pages())
    if (std::find(p.items.begin(), p.items.end(), item) != p.items.end()) return p.screen;
  return 0;
}

std::vector<std::string> headings(const ScreenPage& page, int item, const DeclFlags& flags, Zoom zoom) {
  std::vector<std::string> out;
  if (page.screen == 1) {
    switch (item) {
      case 12: out.emplace_back("(RRA) RENDIMENTOS TRIBUTÁVEIS DE PESSOA JURÍDICA RECEBIDOS ACUMULADAMENTE "); break;
      case 13: out.emplace_back("TODOS OS RENDIMENTOS RECEBIDOS E IMPOSTOS PAGOS PELOS DEPENDENTES"); break;
      case 14: out.emplace_back("(RRA) REND.TRIBUTÁVEIS DE P.JURÍDICA RECEBIDO ACUMULADAMENTE P/DEPENDENTES"); break;
      default: out.emplace_back("RENDIMENTOS TRIBUTÁVEIS E ISENTOS RECEBIDOS DE PESSOAS JURÍDICAS"); break;
    }
    return out;
  }
  // The zoom screens tell assets from debts by item as well.
  if (page.screen == 22) zoom = item == 55 ? Zoom::kDebts : item == 54 ? Zoom::kAssets : zoom;
  if (page.screen == 23) zoom = item == 53 ? Zoom::kDebts : item == 52 ? Zoom::kAssets : zoom;
  for (const auto& h : page.headings) {
    if (!applies(h.when, flags, zoom)) continue;
    std::string text(h.text);
    if (page.screen == 8 && item > 83 && h.when != V::kNonResident) text += " de dependente";
    out.push_back(std::move(text));
  }
  return out;
}

Window window_of(const ScreenPage& page, const DeclFlags& flags) {
  if (page.alt_window && applies(page.alt_window_when, flags, Zoom::kAssets)) return *page.alt_window;
  return page.window;
}

const std::vector<IndexEntry>& index_bar() {
  static const std::vector<IndexEntry> bar = {
      {1, "PJ"},   {2, "PF"},   {3, "Ise"},  {4, "Pgto"},    {5, "Bem"},     {6, "Iden"},
      {7, "Cal"},  {8, "GCap"}, {9, "RVar"}, {10, "Balan"},  {11, "notas"},  {12, "AAR"},
  };
  return bar;
}

const std::vector<HintEntry>& hints() {
  static const std::vector<HintEntry> h = make_hints();
  return h;
}

HintLine hint_text(HintSet set, int number, const HintFlags& flags) {
  if (set == HintSet::kScreen && number == 7)
    return {flags.simplified ? "Ctrl S=Muda para completo"
                             : "Ctrl S=Muda p/simplificado [Ctrl Enter]=Preenche valores mensais [ESC] Tela inicial ",
            false};
  if (set == HintSet::kScreen && number == 12) {
    const std::string mode = flags.so_rec ? "LEÃO DEVIDO" : "LEÃO PAGO  ";
    if (flags.cal_auto == 2)
      return {"Alt U=valor mensal TAB=Prox.página Alt N=Muda o pagamento para " + mode, true};
    return {"Alt A=Muda o modo de preenchimento  Enter=Preenche mensal Alt N=Muda o pagamento para " + mode, false};
  }
  if (set == HintSet::kRural && number == 2)
    return {std::string("<Esc> Tela inicial Alt A muda p/") + (flags.cash_book ? "Só Totais" : "Livro Caixa ") +
                "<TAB/SHIFT+TAB>Avança ou Volta Pag ",
            false};
  for (const auto& h : hints())
    if (h.set == set && h.number == number) return {std::string(h.text), h.centred};
  return {};
}

int telamax(bool rural) { return rural ? 17 : 11; }

int settle_screen(int screen, bool rural) {
  if (screen <= 0) return 0;
  if (screen <= telamax(rural)) return screen;
  if (screen == 22 || screen == 23) return screen;
  if (screen == 18 && rural) return 12;
  return 0;
}

int next_telant(int telant, int tela) { return tela == 10 ? telant : tela; }

NavResult move_backward(const NavState& s) {
  const int sc = s.screen, it = s.item;
  if (sc == 1) return leave(s);
  if (sc == 3) return it == 32 ? go(s, 3, 31) : go(s, 2, 21);
  if (sc == 22) {
    NavResult r;
    if (it == 51 && s.zoom22 == Zoom::kDebts)
      r = go(s, 22, 52);
    else if (it == 55)
      r = go(s, 22, 54);
    else
      return go(s, 4, 43);
    r.zoom22 = Zoom::kAssets;
    return r;
  }
  if (sc == 23) {
    if (it != 53 && it != 51) return go(s, 4, 43);
    NavResult r = go(s, 23, 52);
    r.zoom23 = Zoom::kAssets;
    return r;
  }
  if (sc >= 8 && sc <= 10) return go(s, 7, 71);
  if (sc >= 2 && sc <= telamax(s.flags.rural)) {
    int to = sc - 1;
    if (to == 13 && s.flags.rural_abroad) to = 12;
    return go(s, to, to == 4 ? 43 : default_item(to));
  }
  return leave(s);
}

NavResult move_forward(const NavState& s) {
  const int sc = s.screen, it = s.item;
  if (is_first_move(s)) return first_move(s);
  if (sc == 3) return it == 32 ? go(s, 4, 41) : go(s, 3, 32);
  if (sc == 4 && (it == 41 || it == 42)) return go(s, 4, it + 1);
  if (sc == 4) return go(s, 5, 51);
  if (sc == 7) return go(s, 10, 72);
  if (sc == 8 || sc == 9) return go(s, 7, 71);
  if (sc == 10) return go(s, 11, 62);
  if (sc == 11) return leave(s);
  if (sc == 17) return go(s, 12, 101);
  if (sc == 22) {
    if (((it == 51 || it == 52) && s.zoom22 == Zoom::kAssets) || it == 54) {
      NavResult r = go(s, 22, 55);
      r.zoom22 = Zoom::kDebts;
      return r;
    }
    return go(s, 6, 61);
  }
  if (sc == 23) {
    if (it == 52 || it == 51) {
      NavResult r = go(s, 23, 53);
      r.zoom23 = Zoom::kDebts;
      return r;
    }
    return go(s, 6, 61);
  }
  if (sc <= 0) return leave(s);
  int to = sc + 1;
  if (to == 13 && s.flags.rural_abroad) to = 14;
  return go(s, to, default_item(to));
}

NavResult navigate(const NavState& s, int key) {
  if (key == key::kEsc) return leave(s);
  for (int n = 1; n <= 12; ++n)
    if (key == key::F(n)) return function_key(s, n);
  if (key == key::AltF(1)) return function_key(s, 11);
  if (key == key::AltF(2)) return function_key(s, 12);
  if (key == key::kShiftTab || key == key::kPgUp) return move_backward(s);
  if (key == key::kTab || key == key::kPgDn) return move_forward(s);
  if (key == key::kEnter) {
    if (is_first_move(s)) return first_move(s);
    if (s.screen == 3) return other_key(s);
    return leave(s);
  }
  return other_key(s);
}

NavResult MUDATEL(const NavState& s, int key) {
  if (key == key::Alt('T')) {
    NavResult r = stay(s);
    r.kind = NavKind::kCloseDeclaration;
    r.screen = 0;
    return r;
  }
  for (int n = 1; n <= 12; ++n)
    if (key == key::F(n)) return navigate(s, key);
  if (key == key::AltF(1) || key == key::AltF(2)) return navigate(s, key);
  return stay(s);
}

NavResult MUDATAB(const NavState& s, int key) {
  if (key == key::kTab || key == key::kShiftTab) return navigate(s, key);
  return stay(s);
}

NavResult QUETEL(const NavState& s, int screen, bool as_pgdn) {
  NavState at = s;
  at.screen = screen;
  at.item = default_item(screen);
  if (as_pgdn) return move_forward(at);
  return go(s, screen, at.item);
}

NavResult open_item(const NavState& s, int item, Refusal* why) {
  auto refuse = [&](Refusal r) {
    if (why) *why = r;
    return stay(s);
  };
  if (why) *why = Refusal::kNone;
  const DeclFlags& f = s.flags;
  if (item == 17 || item == 111) {
    NavResult r = stay(s);
    r.kind = NavKind::kCloseDeclaration;
    r.screen = 0;
    return r;
  }
  if (item >= 101 && item <= 107 && !f.rural) return refuse(Refusal::kNoRural);
  const bool needs_dependant = item == 13 || item == 14 || item == 22 || (item >= 84 && item <= 86) ||
                               (item >= 94 && item <= 96);
  if (needs_dependant && f.dependants <= 0) return refuse(Refusal::kNoDependants);
  if (item == 44 && f.simplified) return refuse(Refusal::kSimplified);
  if (item == 45 && !f.final_estate) return refuse(Refusal::kNotFinalEstate);
  if ((item == 56 || item == 58) && f.final_estate) return refuse(Refusal::kFinalEstate);
  if (item == 57 && f.departure) return refuse(Refusal::kDeparture);
  if (item == 102 && f.rural_abroad) return refuse(Refusal::kRuralAbroad);
  const int screen = screen_of_item(item);
  if (screen == 0) return refuse(Refusal::kUnknownItem);
  NavResult r = go(s, screen, item);
  if (r.kind != NavKind::kGo) return refuse(Refusal::kUnknownItem);
  if (item == 52 || item == 53) r.zoom23 = item == 53 ? Zoom::kDebts : Zoom::kAssets;
  if (item == 54 || item == 55) r.zoom22 = item == 55 ? Zoom::kDebts : Zoom::kAssets;
  return r;
}

}  // namespace tx::entry
