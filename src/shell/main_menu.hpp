// The main menu as data: every title and entry in building order, with its
// hot letter ("&"), hint, enabled flag and the command and option it runs.
// One builder reads the list into the main window's Menu.
//
// Entry kinds: Title (a title of the bar with entries), Submenu (an entry
// that opens more entries), End (closes the last Title or Submenu), Item
// (runs MENUSELECT(command, option)), Heading (a line that names the
// entries below it; shown greyed, never runs) and Separator (a line after
// the previous entry). An Item outside any Title is a title of the bar that
// runs at once ("&Fim").
//
// Texts may hold fields filled when the menu is built: {SENHA} ("Coloca" or
// "Retira" as the entry password is off or on), {TEMP_SAL} (2 places),
// {XDRIVE}, {NOMEIMP}, {ITEM6}, {ITEM7}. An entry with `when` "porta" is
// left out while the printer is "NAO DOS".
//
// Interface
//   main_menu_entries()                 the list
//   menu_text(entry text, globals)      the text with its fields filled
//   build_main_menu(menu, globals, run) builds the menu; run(command,
//                                       option) is what every Item calls.
//                                       Returns, for each command number
//                                       the Menu gave (from 1001), the
//                                       (command, option) it runs; 0,0 for
//                                       titles, submenus and headings.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "screen/menu.hpp"
#include "shell/globals.hpp"

namespace tx::shell {

struct MenuEntry {
  enum Kind { Title, Submenu, End, Item, Heading, Separator } kind;
  std::string text;
  int command = 0;
  int option = 0;
  std::string hint;
  bool enabled = true;
  std::string when;
};

const std::vector<MenuEntry>& main_menu_entries();
std::string menu_text(const std::string& text, const Globals& g);
std::map<int, std::pair<int, int>> build_main_menu(screen::Menu& menu, const Globals& g,
                                                   const std::function<void(int, int)>& run);

}  // namespace tx::shell
