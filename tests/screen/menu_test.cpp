#include <gtest/gtest.h>

#include "platform/keys.hpp"
#include "screen_rig.hpp"

namespace tx::screen {
namespace {

using test::Rig;

// The bar: " Declaração  Ferramentas  Sair " -> titles start at columns 1,
// 13 and 26 (one blank either side of each).
struct MenuRig : Rig {
  explicit MenuRig(std::string_view script) : Rig(script) {
    Menu& m = screen.LMENU();
    auto run = [this](MenuItem& it, Dialog&) { log += std::to_string(it.nSequence) + ";"; };
    m.subMenu("&Declaração"_cp.str(), "Declarações"_cp.str());
    m.menuItem("&Abrir", run, true, "Abre uma declaração"_cp.str());
    m.menuItem("&Gravar", run, false, "Grava a declaração"_cp.str());
    m.separator();
    m.subMenu("&Imprimir");
    m.menuItem("&Recibo", run);
    m.menuItem("&Tudo", run);
    m.endMenu();
    m.menuItem("&Fechar", run);
    m.endMenu();
    m.subMenu("F&erramentas");
    m.menuItem("&Cores", run);
    m.menuItem("Se&m ação"_cp.str(), nullptr);
    m.endMenu();
    m.menuItem("&Sair", run);
    m.create();
  }
  Menu& menu() { return *screen.LWindowMain().oMenu; }
  void run_until_quit() {
    while (screen.wait_key() != kQuitKey) {
    }
  }
  std::string log;
};

TEST(Menu, CommandsAreNumberedInBuildingOrder) {
  MenuRig rig("");
  Menu& m = rig.menu();
  struct Case { int number; std::string label; };
  const Case cases[] = {
      {1001, "Declaração"_cp.str()}, {1002, "Abrir"}, {1003, "Gravar"}, {1004, "Imprimir"},
      {1005, "Recibo"}, {1006, "Tudo"}, {1007, "Fechar"}, {1008, "Ferramentas"},
      {1009, "Cores"}, {1010, "Sem ação"_cp.str()}, {1011, "Sair"},
  };
  for (const auto& c : cases) {
    MenuItem* it = m.find(c.number);
    ASSERT_NE(it, nullptr) << c.number;
    EXPECT_EQ(it->label(), c.label) << c.number;
  }
  EXPECT_EQ(m.nCount, 1011);
  EXPECT_EQ(m.find(1012), nullptr);
  EXPECT_TRUE(m.find(1003)->lSeparator);  // the entry built just before it
  EXPECT_FALSE(m.find(1002)->lSeparator);
  EXPECT_EQ(m.nLevel, 0);
  EXPECT_EQ(rig.phys(0).substr(0, 31), " Declaração  Ferramentas  Sair "_cp.str());
}

TEST(Menu, EventsRunOnlyEnabledEntriesWithAnAction) {
  MenuRig rig("{Tick}{Enter}");
  Menu& m = rig.menu();
  EXPECT_TRUE(m.event(1005));
  EXPECT_FALSE(m.event(1003));  // disabled
  EXPECT_FALSE(m.event(1001));  // a submenu
  EXPECT_FALSE(m.event(4242));
  EXPECT_EQ(rig.log, "1005;");
  EXPECT_FALSE(m.event(1010));
  EXPECT_EQ(rig.screen.last_diagnostic, "Error!! Action is not defined in menuItem");
}

TEST(Menu, KeyboardChoices) {
  struct Case { const char* script; const char* log; };
  const Case cases[] = {
      {"{F10}{Enter}", "1002;"},                          // first entry of the first title
      {"{F10}{Down}{Enter}{Esc}", ""},                    // disabled: Enter does nothing
      {"{F10}{Down}{Down}{Enter}{Down}{Enter}", "1006;"}, // into the submenu
      {"{F10}{Down}{Down}{Right}{Enter}", "1005;"},       // Right opens a submenu
      {"{F10}{Up}{Enter}", "1007;"},                      // Up from the top wraps
      {"{F10}{Right}{Enter}", "1009;"},                   // next title
      {"{F10}{Left}{Enter}", "1011;"},                    // a plain title runs at once
      {"{Alt-E}c", "1009;"},                              // hot letters
      {"{Alt-D}i{Esc}f", "1007;"},                        // Esc closes only the submenu
      {"{Alt-D}{Esc}{Enter}", ""},                        // Esc leaves the menu
      {"{Alt-S}", "1011;"},
      {"{Alt-D}g{Esc}", ""},                              // hot letter of a disabled entry
  };
  for (const auto& c : cases) {
    MenuRig rig(c.script);
    auto bar = rig.phys(0);
    rig.run_until_quit();
    EXPECT_EQ(rig.log, c.log) << c.script;
    EXPECT_EQ(rig.phys(0), bar) << c.script;
    EXPECT_EQ(rig.row(0), std::string(80, ' ')) << c.script;  // the popups are gone
  }
}

TEST(Menu, MouseChoices) {
  struct Case { const char* script; const char* log; };
  const Case cases[] = {
      {"{Click 0,3}{Click 2,4}", "1002;"},   // title, then its first entry
      {"{Click 0,14}{Click 2,15}", "1009;"}, // second title, first entry
      {"{Click 0,27}", "1011;"},             // a plain title
      {"{Click 0,3}{Click 3,4}{Esc}", ""},   // a disabled entry
      {"{Click 0,3}{Click 20,70}{Enter}", ""},  // a click elsewhere closes
      {"{Click 0,60}", ""},                  // no title there
  };
  for (const auto& c : cases) {
    MenuRig rig(std::string(c.script) + "{Tick}{Enter}");
    rig.run_until_quit();
    EXPECT_EQ(rig.log, c.log) << c.script;
  }
}

TEST(Menu, PopupShowsSeparatorGreyedEntryAndHints) {
  MenuRig rig("{F10}{Down}{Esc}");
  std::vector<std::string> rows, status;
  std::vector<int> grey;
  rig.screen.on_wait = [&] {
    rows.push_back(rig.phys(4));
    status.push_back(rig.phys(26));
    grey.push_back(rig.con->get(3, 2).attr);
  };
  rig.run_until_quit();
  ASSERT_GE(rows.size(), 2u);
  // Popup at column 0: entries on physical rows 2 (Abrir), 3 (Gravar), the
  // separator on 4, Imprimir on 5.
  // (The first wait is before F10.)
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[1].substr(0, 1), "\xC3");
  EXPECT_EQ(rows[1][1], '\xC4');
  EXPECT_EQ(status[1].substr(0, 19), "Abre uma declaração"_cp.str());
  EXPECT_EQ(status[2].substr(0, 18), "Grava a declaração"_cp.str());
  EXPECT_EQ(grey[1], 0x78);  // disabled, not selected
  EXPECT_EQ(grey[2], 0x08);  // disabled and selected
  EXPECT_EQ(status.back(), std::string(80, ' '));  // the hint went away
}

TEST(Menu, EventsWithoutAMenuOrToolbarAreReported) {
  struct Case { int number; std::string_view text; };
  const Case cases[] = {
      {1001, "Erro interno. Nao foi encontrado um menu ativo (LMenuActivate)"},
      {2001, "Erro interno. Nao foi encontrado um toolbar ativo (LTBActivate)"},
      {77, "Unknown event 77"},
  };
  for (const auto& c : cases) {
    Rig rig("{Tick}{Enter}");
    rig.screen.route_event(c.number);
    EXPECT_EQ(rig.screen.last_diagnostic, c.text);
  }
  MenuRig with_menu("");
  with_menu.screen.route_event(1009);
  EXPECT_EQ(with_menu.log, "1009;");
}

}  // namespace
}  // namespace tx::screen

namespace tx::screen {
namespace {

TEST(Menu, ATallPopupStaysOnTheScreen) {
  test::Rig rig("{F10}{End}{Enter}");
  rig.pattern();
  Menu& m = rig.screen.LMENU();
  int ran = 0;
  m.subMenu("&Muitos");
  for (int i = 0; i < 30; ++i) m.menuItem("Item " + std::to_string(i), [&](MenuItem& it, Dialog&) { ran = it.nSequence; });
  m.endMenu();
  m.create();
  auto before = rig.all();
  while (rig.screen.wait_key() != kQuitKey) {
  }
  EXPECT_EQ(ran, 1031);
  EXPECT_EQ(rig.all(), before);
}

}  // namespace
}  // namespace tx::screen
