// Screen: the state of the screen framework for one run.
//
// It holds the console, the dialog stack (the main window at the bottom),
// the ten panels, the colour scheme, the key bindings, the choice state and
// the hooks other parts plug in (help texts, calculator, today's date, the
// current field). Nothing of it is global: whoever needs the screen gets a
// reference to this object.
//
// Coordinates are the program's 25 x 80 rows (0-24); the console's row 0 is
// the menu bar and row 26 the status bar.
//
// Waiting: wait_event() is the one place that reads the console. It redraws
// the active window's status bar on every tick, runs key bindings, opens the
// active window's menu (F10, Alt + hot letter, a click on row 0) and gives
// everything else to the caller; the modal loops of the boxes are built on
// it, so they nest. Once the console reports Quit every wait returns at once
// (kQuitKey) and every box returns its "nothing chosen" value.
//
// Misuse (closing a closed or inactive window, a menu event without a menu)
// shows a plain message box with a short English diagnostic and is
// otherwise ignored.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "platform/console.hpp"
#include "screen/colour.hpp"
#include "screen/dialog.hpp"
#include "screen/help_source.hpp"
#include "screen/panel.hpp"

namespace tx::screen {

inline constexpr int kQuitKey = -9999;
inline constexpr int kMenuEventKey = 1024;
inline constexpr std::string_view kNoticeTitle = "TX2014 - Zefo Informatica";

// AVISOSN: nothing (kind 0), bool (1), a letter (2-5), a button number (6, 7).
using AvisoResult = std::variant<std::monostate, bool, std::string, int>;

// A variable asked by MENS mode 4.
using Variable = std::variant<std::string, Decimal, Date, bool>;
using Validator = std::function<bool(const Variable&)>;

struct MensOptions {
  int top = 20;
  std::string column;          // "E", "C", a number, or anything else: ends at 70
  int lines = 1;
  std::string allowed;         // mode 2: the letters that answer
  Variable* variable = nullptr;  // mode 4
  int width = 0;               // mode 4, numbers (0: 10)
  int decimals = 0;            // mode 4, numbers
  std::string picture = "@KS";
  Validator valid;
  int panel = 10;
  int item = 0;                // mode 9: item being edited
};

struct ChoiceState {
  int POSVER = 1;
  int ULTPOS = 0;
  std::string OPCOES;
  std::vector<std::string> MENSMENU;
};

// Geometry of a MSGALERT box (program rows), computed before it is drawn.
struct AlertLayout {
  Rect box;
  std::vector<std::string> lines;   // the text, wrapped to the box
  int text_rows = 0;                // visible rows (at most 16)
  struct Place { int row, left; std::string shown; char hot; int hot_pos; };
  std::vector<Place> buttons;
};
AlertLayout alert_layout(const std::vector<std::string>& lines, const std::vector<std::string>& captions,
                         std::string_view title);

class Screen {
 public:
  explicit Screen(platform::Console& console);
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  platform::Console& console() { return *console_; }
  ColourScheme colours;
  ChoiceState choice;
  std::array<int, 23> ALJ{}, ACJ{}, ALJA{}, ACJA{};
  std::array<int, 12> ALJB{}, ACJB{};

  // Hooks.
  const HelpSource* help_source = nullptr;
  std::function<std::string()> current_field;   // name of the field being edited
  std::function<int()> current_screen;          // number of the entry screen
  std::function<void()> calculator;             // Alt-A in choices
  std::function<Date()> today;                  // for emptied date answers
  std::function<void()> on_wait;                // called before every wait
  std::function<void()> redraw_background;      // the main screen's background
  ColourStore* colour_store = nullptr;          // where MODCOR saves the scheme
  std::string terminal = "00";

  // ---- panels -----------------------------------------------------------
  void DEFINEJAN(int n, int c1, int c2, int c3, int top, int left, int bottom, int right, int type);
  void REDEFJAN(int n, int c1, int c2, int c3, int top, int left, int bottom, int right, int type);
  void REDFATR(int n, int which, int colour);
  void ABREJAN(int n);
  void ESCRJAN(int n, std::string_view text);
  void ESCRLCOL(int n, int row, int col, std::string_view text);
  void ESCRATR(int n, int row, int col, int attribute, int length);
  void FECHAJAN(int n);
  void MOVEVER(int n, int direction);
  void MOVEHOR(int n, int direction);
  void ENCHETELA(unsigned char ch, int colour);
  static std::string REP(int k);
  const Panel& panel(int n) const { return panels_[index_of(n)]; }

  // ---- dialogs ----------------------------------------------------------
  std::shared_ptr<Dialog> LDLGSHOW(int top, int left, int bottom, int right, std::string_view title,
                                   std::string_view colour = "N/W");
  bool LDLGCLOSE();
  void LDLGEND(int value = 0);
  bool LACTIVATE(bool exit_on_esc = true);
  Dialog& LWindowMain() { return *stack_.front(); }
  Dialog& LWindowActive() { return *stack_.back(); }
  Dialog& LWindowLast() { return *stack_.back(); }
  std::size_t window_count() const { return stack_.size(); }
  bool close_dialog(Dialog& d);

  // Key bindings (the dialog's setKey records what it replaces).
  void set_key(int key, std::optional<KeyBinding> action);
  const KeyBinding* key_binding(int key) const;

  // ---- menu, status bar, buttons ------------------------------------------
  Menu& LMENU(Dialog* window = nullptr);
  StatusBar& LSBDRAW(const std::vector<std::string>& texts);
  Button& LBUTTON(int top, int left, int bottom, int right, std::string_view caption,
                  std::function<void()> action, Dialog* window = nullptr,
                  std::function<bool()> when = {}, bool enabled = true);
  // A menu or toolbar event number from the console's special key.
  void route_event(int number);
  // Runs the active window's menu from title `title` (0-based), or from the
  // title under `click`, and returns the command chosen, 0 when none. With
  // `direct` (Alt + hot letter, a click) a title without entries is chosen
  // at once.
  int run_menu(int title, const platform::Event* click = nullptr, bool direct = false);
  void draw_menu_bar(const Menu& m, int selected = -1);

  // ---- waiting ----------------------------------------------------------
  platform::Event wait_event();
  int wait_key();               // keys only; kQuitKey once the console is gone
  bool quitting() const { return quitting_; }
  void discard_typeahead();
  void set_cursor(int row, int col, bool visible);   // program rows
  void refresh_status();        // redraw the active window's status bar

  // ---- boxes ------------------------------------------------------------
  AvisoResult AVISOSN(const std::vector<std::string>& message, int kind = 0,
                      const std::vector<std::string>& buttons = {}, std::string_view title = "Aviso");
  AvisoResult AVISOSN(std::string_view message, int kind = 0,
                      const std::vector<std::string>& buttons = {}, std::string_view title = "Aviso");
  int MSGALERT(const std::vector<std::string>& message, const std::vector<std::string>& captions,
               std::string_view colour, std::string_view title, bool escape_closes);
  std::string MENS(int code, std::string_view text, const MensOptions& opt = {});
  void AVISO(std::string_view text, int row = 24, int column = 0);
  int ESC_OPCAO(int panel, int last, int column, int width, int row_offset, int close, int hints);
  int ESC_ITEM(int panel, int last, int column, int row_offset, int first);
  AvisoResult OKEI(int kind);
  void diagnostic(std::string_view english);
  // The single-field entry of MENS mode 4: edits `value` at (row, col)
  // with the form editor (a refused `valid` beeps and keeps the field);
  // false when left with Esc or when the console went away.
  bool edit_one_field(int row, int col, Variable& value, int width, int decimals,
                      std::string_view picture, const Validator& valid);

  // The colour editor for element 1-7 (panel text, frames, chosen item,
  // entry fields, messages, help, background): arrows pick the colour on a
  // palette, each change applies at once, Enter or Esc saves the scheme.
  void MODCOR(int element);

  // ---- help -------------------------------------------------------------
  void TXT_HELP(std::string_view name);
  void MOSTRA_HELP(int option);
  void MOS_HELP();

  std::string last_diagnostic;   // the most recent misuse text

 private:
  static int index_of(int n) { return (n <= 0 || n > kPanelCount) ? kPanelCount - 1 : n - 1; }
  void draw_panel_frame(Panel& p);
  void write_panel_text(Panel& p, std::string_view text);
  void status_line(std::string_view text);
  std::string menu_status_save();
  bool dispatch_key(int key);   // bindings, buttons, menus; true when taken

  platform::Console* console_;
  std::vector<std::shared_ptr<Dialog>> stack_;
  std::array<Panel, kPanelCount> panels_;
  std::map<int, KeyBinding> keys_;
  bool quitting_ = false;
  bool in_help_ = false;
  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  std::string colour_ = "W/N";
  friend class Dialog;
};

}  // namespace tx::screen
