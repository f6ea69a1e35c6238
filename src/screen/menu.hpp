// Menu: the menu bar of a window, built once entry by entry.
//
// Every subMenu() and menuItem() takes the next command number, starting at
// 1001, in building order through all levels; event(n) runs the entry with
// that number (depth first, first match). A prompt marks its hot letter with
// "&". A disabled entry is drawn greyed and never runs. separator() puts a
// line after the last entry of the current level. Each entry may carry a
// hint shown on the status row while it is highlighted.
//
// Interactively (Screen::run_menu): F10 opens the first title, Alt + a
// title's hot letter opens that title, a click on the bar row opens the title
// under it; Left/Right move between titles, Up/Down between entries (the
// ends wrap), Enter or an entry's hot letter runs it or opens its submenu,
// Esc closes one level, a click outside the menu closes it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tx::screen {

class Dialog;
class Menu;

inline constexpr int kFirstMenuCommand = 1001;

struct MenuItem {
  std::string cPrompt;
  std::function<void(MenuItem&, Dialog&)> bAction;
  std::vector<std::unique_ptr<MenuItem>> items;  // the entries of a submenu
  bool submenu = false;
  int nSequence = 0;
  bool lSeparator = false;
  bool lEnable = true;
  std::string hint;
  Menu* oParent = nullptr;

  std::string label() const;  // prompt without "&"
  char hot() const;           // upper-case hot letter, 0 when none
};

class Menu {
 public:
  explicit Menu(Dialog& window) : oParent(&window) {}

  MenuItem& subMenu(std::string_view text, std::string_view hint = "");
  MenuItem& menuItem(std::string_view text, std::function<void(MenuItem&, Dialog&)> action,
                     bool enabled = true, std::string_view hint = "");
  void separator();
  void endMenu();
  // Attaches the menu to its window and draws the bar.
  void create();
  // Runs the entry numbered n. False when there is none, it is disabled or a
  // submenu, or it has no action (reported in a message box).
  bool event(int number);
  MenuItem* find(int number);

  std::vector<std::unique_ptr<MenuItem>> aItem;
  int nLevel = 0;
  int nCount = 1000;
  Dialog* oParent;
  bool lCallEvent = true;
  bool created = false;

 private:
  std::vector<std::unique_ptr<MenuItem>>& level();
  std::vector<MenuItem*> open_;  // submenus being built, innermost last
};

}  // namespace tx::screen
