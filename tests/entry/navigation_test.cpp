// Moving between the declaration's screens: (state, key) -> next screen and item.
#include "entry/navigation.hpp"

#include <gtest/gtest.h>

#include <set>

#include "platform/keys.hpp"

namespace tx::entry {
namespace {

using K = NavKind;

struct Flags {
  bool rural = false, abroad = false, first = false;
  Zoom z22 = Zoom::kAssets, z23 = Zoom::kAssets;
};

struct Case {
  const char* name;
  int screen, item;
  Flags f;
  int key;
  K kind;
  int to_screen, to_item;
};

NavState state_of(const Case& c) {
  NavState s;
  s.screen = c.screen;
  s.item = c.item;
  s.flags.rural = c.f.rural;
  s.flags.rural_abroad = c.f.abroad;
  s.first_time = c.f.first;
  s.zoom22 = c.f.z22;
  s.zoom23 = c.f.z23;
  return s;
}

constexpr Flags kPlain{};
constexpr Flags kRural{true, false, false};
constexpr Flags kAbroad{true, true, false};
constexpr Flags kNew{false, false, true};
constexpr Flags kDebts22{false, false, false, Zoom::kDebts, Zoom::kAssets};

const Case kCases[] = {
    // Esc and the function keys.
    {"esc", 5, 51, kPlain, key::kEsc, K::kLeave, 0, 51},
    {"f1", 7, 71, kPlain, key::F(1), K::kGo, 1, 11},
    {"f2", 7, 71, kPlain, key::F(2), K::kGo, 2, 21},
    {"f3", 1, 11, kPlain, key::F(3), K::kGo, 3, 31},
    {"f4", 1, 11, kPlain, key::F(4), K::kGo, 4, 41},
    {"f5", 1, 11, kPlain, key::F(5), K::kGo, 5, 51},
    {"f6", 1, 11, kPlain, key::F(6), K::kGo, 6, 61},
    {"f7", 1, 11, kPlain, key::F(7), K::kGo, 7, 71},
    {"f8", 1, 11, kPlain, key::F(8), K::kGo, 8, 81},
    {"f9", 1, 11, kPlain, key::F(9), K::kGo, 9, 91},
    {"f10 opens the balance on its own item", 1, 11, kPlain, key::F(10), K::kGo, 10, 72},
    {"f11", 1, 11, kPlain, key::F(11), K::kGo, 11, 62},
    {"alt f1 as f11", 1, 11, kPlain, key::AltF(1), K::kGo, 11, 62},
    {"f12 rural", 1, 11, kRural, key::F(12), K::kGo, 12, 101},
    {"f12 without rural", 1, 11, kPlain, key::F(12), K::kGo, 7, 71},
    {"alt f2 rural", 2, 21, kRural, key::AltF(2), K::kGo, 12, 101},
    {"alt f2 without rural", 2, 21, kPlain, key::AltF(2), K::kGo, 7, 71},
    // Backward.
    {"back from 1 leaves", 1, 11, kPlain, key::kShiftTab, K::kLeave, 0, 11},
    {"back 2 -> 1", 2, 21, kPlain, key::kPgUp, K::kGo, 1, 11},
    {"back 31 -> 2", 3, 31, kPlain, key::kShiftTab, K::kGo, 2, 21},
    {"back 32 -> 31", 3, 32, kPlain, key::kShiftTab, K::kGo, 3, 31},
    {"back 4 -> 3", 4, 41, kPlain, key::kShiftTab, K::kGo, 3, 31},
    {"back 5 -> payments", 5, 51, kPlain, key::kShiftTab, K::kGo, 4, 43},
    {"back 6 -> 5", 6, 61, kPlain, key::kShiftTab, K::kGo, 5, 51},
    {"back 7 -> 6", 7, 71, kPlain, key::kPgUp, K::kGo, 6, 61},
    {"back 8 -> 7", 8, 82, kPlain, key::kShiftTab, K::kGo, 7, 71},
    {"back 9 -> 7", 9, 93, kPlain, key::kShiftTab, K::kGo, 7, 71},
    {"back 10 -> 7", 10, 72, kPlain, key::kShiftTab, K::kGo, 7, 71},
    {"back 11 -> balance item", 11, 62, kPlain, key::kShiftTab, K::kGo, 10, 72},
    {"back 12 -> notes item", 12, 101, kRural, key::kShiftTab, K::kGo, 11, 62},
    {"back 13 -> 12", 13, 102, kRural, key::kShiftTab, K::kGo, 12, 101},
    {"back 14 -> 13", 14, 103, kRural, key::kShiftTab, K::kGo, 13, 102},
    {"back 14 abroad -> 12", 14, 103, kAbroad, key::kShiftTab, K::kGo, 12, 101},
    {"back 17 -> 16", 17, 106, kRural, key::kPgUp, K::kGo, 16, 105},
    {"back 22 debts 55 -> assets", 22, 55, kDebts22, key::kShiftTab, K::kGo, 22, 54},
    {"back 22 51 debts -> assets 52", 22, 51, kDebts22, key::kShiftTab, K::kGo, 22, 52},
    {"back 22 assets -> payments", 22, 54, kPlain, key::kShiftTab, K::kGo, 4, 43},
    {"back 23 debts -> assets", 23, 53, kPlain, key::kShiftTab, K::kGo, 23, 52},
    {"back 23 51 -> assets", 23, 51, kPlain, key::kShiftTab, K::kGo, 23, 52},
    {"back 23 assets -> payments", 23, 52, kPlain, key::kShiftTab, K::kGo, 4, 43},
    // Forward.
    {"new declaration 6 -> 1", 6, 61, kNew, key::kTab, K::kGo, 1, 11},
    {"6 -> 7", 6, 61, kPlain, key::kTab, K::kGo, 7, 71},
    {"1 -> 2", 1, 11, kPlain, key::kTab, K::kGo, 2, 21},
    {"2 -> 3", 2, 22, kPlain, key::kPgDn, K::kGo, 3, 31},
    {"31 -> 32", 3, 31, kPlain, key::kTab, K::kGo, 3, 32},
    {"32 -> 41", 3, 32, kPlain, key::kTab, K::kGo, 4, 41},
    {"41 -> 42", 4, 41, kPlain, key::kTab, K::kGo, 4, 42},
    {"42 -> 43", 4, 42, kPlain, key::kTab, K::kGo, 4, 43},
    {"43 -> 5", 4, 43, kPlain, key::kTab, K::kGo, 5, 51},
    {"45 -> 5", 4, 45, kPlain, key::kTab, K::kGo, 5, 51},
    {"5 -> 6", 5, 57, kPlain, key::kTab, K::kGo, 6, 61},
    {"7 -> balance", 7, 71, kPlain, key::kTab, K::kGo, 10, 72},
    {"8 -> 7", 8, 81, kPlain, key::kTab, K::kGo, 7, 71},
    {"9 -> 7", 9, 96, kPlain, key::kPgDn, K::kGo, 7, 71},
    {"10 -> notes", 10, 72, kPlain, key::kTab, K::kGo, 11, 62},
    {"11 leaves", 11, 62, kPlain, key::kTab, K::kLeave, 0, 62},
    {"11 leaves with rural too", 11, 62, kRural, key::kTab, K::kLeave, 0, 62},
    {"12 -> 13", 12, 101, kRural, key::kTab, K::kGo, 13, 102},
    {"12 abroad skips 13", 12, 101, kAbroad, key::kTab, K::kGo, 14, 103},
    {"14 -> 15", 14, 103, kRural, key::kTab, K::kGo, 15, 104},
    {"16 -> 17", 16, 105, kRural, key::kPgDn, K::kGo, 17, 106},
    {"17 -> 12", 17, 106, kRural, key::kTab, K::kGo, 12, 101},
    {"22 assets -> debts", 22, 54, kPlain, key::kTab, K::kGo, 22, 55},
    {"22 51 assets -> debts", 22, 51, kPlain, key::kTab, K::kGo, 22, 55},
    {"22 debts -> identification", 22, 55, kDebts22, key::kTab, K::kGo, 6, 61},
    {"23 assets -> debts", 23, 52, kPlain, key::kTab, K::kGo, 23, 53},
    {"23 debts -> identification", 23, 53, kPlain, key::kTab, K::kGo, 6, 61},
    // Enter.
    {"enter new 6 -> 1", 6, 61, kNew, key::kEnter, K::kGo, 1, 11},
    {"enter 31 -> 32", 3, 31, kPlain, key::kEnter, K::kGo, 3, 32},
    {"enter 32 -> 41", 3, 32, kPlain, key::kEnter, K::kGo, 4, 41},
    {"enter elsewhere leaves", 5, 51, kPlain, key::kEnter, K::kLeave, 0, 51},
    // Any other key.
    {"other key new 6 -> 1", 6, 61, kNew, key::kDown, K::kGo, 1, 11},
    {"other key 31 -> 32", 3, 31, kPlain, key::kDown, K::kGo, 3, 32},
    {"other key 7 leaves", 7, 71, kPlain, key::kDown, K::kLeave, 0, 71},
    {"other key 10 leaves", 10, 72, kPlain, key::kDown, K::kLeave, 0, 72},
    {"other key 1 -> 2", 1, 11, kPlain, key::kDown, K::kGo, 2, 21},
    {"other key 11 -> 10 without rural", 11, 62, kPlain, key::kDown, K::kGo, 10, 72},
    {"other key 11 -> 12 rural", 11, 62, kRural, key::kDown, K::kGo, 12, 101},
    {"other key 17 -> 18 -> 12", 17, 106, kRural, key::kDown, K::kGo, 12, 101},
};

class NavigateTable : public ::testing::TestWithParam<Case> {};

TEST_P(NavigateTable, NextScreen) {
  const Case& c = GetParam();
  const NavResult r = navigate(state_of(c), c.key);
  EXPECT_EQ(r.kind, c.kind) << c.name;
  EXPECT_EQ(r.screen, c.to_screen) << c.name;
  EXPECT_EQ(r.item, c.to_item) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Keys, NavigateTable, ::testing::ValuesIn(kCases));

TEST(Navigate, NewDeclarationMovesToScreenOneOnlyOnce) {
  NavState s;
  s.screen = 6;
  s.item = 61;
  s.first_time = true;
  NavResult r = navigate(s, key::kTab);
  ASSERT_EQ(r.screen, 1);
  s.first_time = r.first_time;
  r = navigate(s, key::kTab);
  EXPECT_EQ(r.screen, 7);
  EXPECT_EQ(r.item, 71);
}

TEST(Navigate, ZoomHalvesFollowTheMoves) {
  NavState s;
  s.screen = 22;
  s.item = 54;
  NavResult r = navigate(s, key::kTab);
  EXPECT_EQ(r.zoom22, Zoom::kDebts);
  s.item = r.item;
  s.zoom22 = r.zoom22;
  r = navigate(s, key::kShiftTab);
  EXPECT_EQ(r.item, 54);
  EXPECT_EQ(r.zoom22, Zoom::kAssets);
  s.screen = 23;
  s.item = 52;
  r = navigate(s, key::kTab);
  EXPECT_EQ(r.item, 53);
  EXPECT_EQ(r.zoom23, Zoom::kDebts);
}

struct WrapCase {
  const char* name;
  int which;  // 0 MUDATEL, 1 MUDATAB
  int screen, item;
  bool rural;
  int key;
  K kind;
  int to_screen, to_item;
};

const WrapCase kWrapCases[] = {
    {"mudatel f5", 0, 1, 11, false, key::F(5), K::kGo, 5, 51},
    {"mudatel f12 rural", 0, 1, 11, true, key::F(12), K::kGo, 12, 101},
    {"mudatel alt f1", 0, 2, 21, false, key::AltF(1), K::kGo, 11, 62},
    {"mudatel alt s stays", 0, 2, 21, false, key::Alt('S'), K::kStay, 2, 21},
    {"mudatel alt h stays", 0, 2, 21, false, key::Alt('H'), K::kStay, 2, 21},
    {"mudatel tab stays", 0, 2, 21, false, key::kTab, K::kStay, 2, 21},
    {"mudatel alt t closes", 0, 2, 21, false, key::Alt('T'), K::kCloseDeclaration, 0, 21},
    {"mudatab tab", 1, 4, 41, false, key::kTab, K::kGo, 4, 42},
    {"mudatab shift tab", 1, 4, 41, false, key::kShiftTab, K::kGo, 3, 31},
    {"mudatab f1 stays", 1, 4, 41, false, key::F(1), K::kStay, 4, 41},
    {"mudatab pgdn stays", 1, 4, 41, false, key::kPgDn, K::kStay, 4, 41},
};

class WrapperTable : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapperTable, Outcome) {
  const WrapCase& c = GetParam();
  NavState s;
  s.screen = c.screen;
  s.item = c.item;
  s.flags.rural = c.rural;
  const NavResult r = c.which == 0 ? MUDATEL(s, c.key) : MUDATAB(s, c.key);
  EXPECT_EQ(r.kind, c.kind) << c.name;
  EXPECT_EQ(r.screen, c.to_screen) << c.name;
  EXPECT_EQ(r.item, c.to_item) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Handlers, WrapperTable, ::testing::ValuesIn(kWrapCases));

TEST(Quetel, JumpsToTheScreenOrOnFromIt) {
  NavState s;
  s.screen = 1;
  s.item = 11;
  NavResult r = QUETEL(s, 10);
  EXPECT_EQ(r.kind, K::kGo);
  EXPECT_EQ(r.screen, 10);
  EXPECT_EQ(r.item, 72);
  r = QUETEL(s, 10, true);
  EXPECT_EQ(r.screen, 11);
  EXPECT_EQ(r.item, 62);
  r = QUETEL(s, 14);  // rural screen without rural activity
  EXPECT_EQ(r.kind, K::kLeave);
}

struct ItemCase {
  const char* name;
  int item;
  DeclFlags flags;
  K kind;
  int to_screen;
  Refusal why;
};

DeclFlags with(bool rural, bool abroad, bool simplified, bool final_estate, bool departure, int deps) {
  DeclFlags f;
  f.rural = rural;
  f.rural_abroad = abroad;
  f.simplified = simplified;
  f.final_estate = final_estate;
  f.departure = departure;
  f.dependants = deps;
  return f;
}

const ItemCase kItemCases[] = {
    {"11", 11, with(false, false, false, false, false, 0), K::kGo, 1, Refusal::kNone},
    {"13 no dependants", 13, with(false, false, false, false, false, 0), K::kStay, 0, Refusal::kNoDependants},
    {"13 with dependants", 13, with(false, false, false, false, false, 2), K::kGo, 1, Refusal::kNone},
    {"22 no dependants", 22, with(false, false, false, false, false, 0), K::kStay, 0, Refusal::kNoDependants},
    {"44 simplified", 44, with(false, false, true, false, false, 0), K::kStay, 0, Refusal::kSimplified},
    {"44 complete", 44, with(false, false, false, false, false, 0), K::kGo, 4, Refusal::kNone},
    {"45 not final", 45, with(false, false, false, false, false, 0), K::kStay, 0, Refusal::kNotFinalEstate},
    {"45 final", 45, with(false, false, false, true, false, 0), K::kGo, 4, Refusal::kNone},
    {"52 one list", 52, with(false, false, false, false, false, 0), K::kGo, 23, Refusal::kNone},
    {"55 zoom", 55, with(false, false, false, false, false, 0), K::kGo, 22, Refusal::kNone},
    {"56 final estate", 56, with(false, false, false, true, false, 0), K::kStay, 0, Refusal::kFinalEstate},
    {"57 departure", 57, with(false, false, false, false, true, 0), K::kStay, 0, Refusal::kDeparture},
    {"58 final estate", 58, with(false, false, false, true, false, 0), K::kStay, 0, Refusal::kFinalEstate},
    {"58", 58, with(false, false, false, false, false, 0), K::kGo, 5, Refusal::kNone},
    {"62 notes", 62, with(false, false, false, false, false, 0), K::kGo, 11, Refusal::kNone},
    {"72 balance", 72, with(false, false, false, false, false, 0), K::kGo, 10, Refusal::kNone},
    {"86 no dependants", 86, with(false, false, false, false, false, 0), K::kStay, 0, Refusal::kNoDependants},
    {"94 with dependants", 94, with(false, false, false, false, false, 1), K::kGo, 9, Refusal::kNone},
    {"101 without rural", 101, with(false, false, false, false, false, 0), K::kStay, 0, Refusal::kNoRural},
    {"101 rural", 101, with(true, false, false, false, false, 0), K::kGo, 12, Refusal::kNone},
    {"102 abroad", 102, with(true, true, false, false, false, 0), K::kStay, 0, Refusal::kRuralAbroad},
    {"106 rural", 106, with(true, false, false, false, false, 0), K::kGo, 17, Refusal::kNone},
    {"111 quits", 111, with(false, false, false, false, false, 0), K::kCloseDeclaration, 0, Refusal::kNone},
};

class OpenItemTable : public ::testing::TestWithParam<ItemCase> {};

TEST_P(OpenItemTable, Opens) {
  const ItemCase& c = GetParam();
  NavState s;
  s.flags = c.flags;
  Refusal why = Refusal::kUnknownItem;
  const NavResult r = open_item(s, c.item, &why);
  EXPECT_EQ(r.kind, c.kind) << c.name;
  EXPECT_EQ(r.screen, c.to_screen) << c.name;
  EXPECT_EQ(why, c.why) << c.name;
  if (r.kind == K::kGo) {
    EXPECT_EQ(r.item, c.item) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Menu, OpenItemTable, ::testing::ValuesIn(kItemCases));

TEST(Catalogue, DefaultItemsComeFromTheFixedTable) {
  const std::pair<int, int> table[] = {{1, 11},   {2, 21},   {3, 31},   {4, 41},   {5, 51},  {6, 61},  {7, 71},
                                       {8, 81},   {9, 91},   {10, 72},  {11, 62},  {12, 101}, {13, 102},
                                       {14, 103}, {15, 104}, {16, 105}, {17, 106}, {22, 54}, {23, 52}};
  for (auto [screen, item] : table) {
    EXPECT_EQ(default_item(screen), item) << screen;
    EXPECT_EQ(screen_of_item(item), screen) << item;
    ASSERT_NE(find_page(screen, item), nullptr) << screen;
  }
  EXPECT_EQ(default_item(18), 0);
  EXPECT_EQ(find_page(18, 181), nullptr);
}

TEST(Catalogue, EveryScreenItemBelongsToOneScreen) {
  std::set<int> seen;
  for (const auto& p : screen_pages())
    for (int item : p.items) EXPECT_TRUE(seen.insert(item).second) << item;
  EXPECT_EQ(seen.size(), 43u);
}

TEST(Catalogue, WindowsAndHeadings) {
  DeclFlags f;
  const ScreenPage* calc = find_page(7, 71);
  ASSERT_NE(calc, nullptr);
  EXPECT_EQ(window_of(*calc, f), (Window{1, 0, 23, 79}));
  f.simplified = true;
  EXPECT_EQ(window_of(*calc, f), (Window{1, 0, 24, 78}));
  EXPECT_EQ(headings(*calc, 71, f, Zoom::kAssets).front(), "Declaração Simplificada");

  const ScreenPage* estate = find_page(5, 57);
  ASSERT_NE(estate, nullptr);
  EXPECT_EQ(estate->window, (Window{3, 10, 13, 67}));
  f.final_estate = true;
  EXPECT_EQ(window_of(*estate, f), (Window{3, 10, 21, 67}));
  EXPECT_EQ(headings(*estate, 57, f, Zoom::kAssets).size(), 2u);

  const ScreenPage* gain = find_page(8, 84);
  ASSERT_NE(gain, nullptr);
  EXPECT_EQ(headings(*gain, 84, {}, Zoom::kAssets).at(0), "Cálculo do Ganho de Capital de Bem Imóvel de dependente");
  EXPECT_EQ(headings(*gain, 81, {}, Zoom::kAssets).at(0), "Cálculo do Ganho de Capital de Bem Imóvel");

  const ScreenPage* zoom = find_page(22, 55);
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(headings(*zoom, 55, {}, Zoom::kAssets).at(0), "(9)DÍVIDAS E ÔNUS REAIS ");

  DeclFlags abroad;
  abroad.rural_abroad = true;
  EXPECT_EQ(headings(*find_page(16, 105), 105, abroad, Zoom::kAssets).at(0),
            "(8) BENS DA ATIVIDADE RURAL NO EXTERIOR");
  EXPECT_EQ(headings(*find_page(1, 13), 13, {}, Zoom::kAssets).at(0),
            "TODOS OS RENDIMENTOS RECEBIDOS E IMPOSTOS PAGOS PELOS DEPENDENTES");
}

TEST(Catalogue, IndexBarMatchesItsText) {
  std::string text;
  for (const auto& e : index_bar()) {
    if (!text.empty()) text += ' ';
    text += std::to_string(e.screen) + "=" + std::string(e.label);
  }
  EXPECT_EQ(text, kIndexBarText);
}

TEST(Hints, VariableTexts) {
  EXPECT_EQ(hint_text(HintSet::kScreen, 7, {true}).text, "Ctrl S=Muda para completo");
  HintFlags h;
  h.cal_auto = 2;
  h.so_rec = true;
  const HintLine l = hint_text(HintSet::kScreen, 12, h);
  EXPECT_EQ(l.text, "Alt U=valor mensal TAB=Prox.página Alt N=Muda o pagamento para LEÃO DEVIDO");
  EXPECT_TRUE(l.centred);
  h.cash_book = true;
  EXPECT_EQ(hint_text(HintSet::kRural, 2, h).text,
            "<Esc> Tela inicial Alt A muda p/Só Totais<TAB/SHIFT+TAB>Avança ou Volta Pag ");
  EXPECT_EQ(hint_text(HintSet::kRural, 5).text, "<Esc> Tela inicial <TAB>Dívidas |Alt F5=Tela auxiliar");
  EXPECT_EQ(hint_text(HintSet::kScreen, 42).text, "");
  EXPECT_EQ(hint_text(HintSet::kScreen, 0).text, "");
  EXPECT_EQ(find_page(3, 31)->hint, (Hint{HintSet::kScreenThree, 1}));
  EXPECT_EQ(hint_text(HintSet::kScreenThree, 1).text, "TAB Proxima pagina  ALT F6 Auxiliar Rendimento");
  EXPECT_TRUE(hint_text(HintSet::kScreen, 5).centred);
}

TEST(Driver, SettleAndPreviousScreen) {
  EXPECT_EQ(telamax(true), 17);
  EXPECT_EQ(telamax(false), 11);
  EXPECT_EQ(settle_screen(12, false), 0);
  EXPECT_EQ(settle_screen(18, true), 12);
  EXPECT_EQ(settle_screen(22, false), 22);
  EXPECT_EQ(settle_screen(19, true), 0);
  EXPECT_EQ(next_telant(5, 10), 5);
  EXPECT_EQ(next_telant(5, 7), 7);
}

}  // namespace
}  // namespace tx::entry
