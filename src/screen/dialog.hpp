// Dialog: a window over the main window, at the program's character
// coordinates, with a caption row just above its rectangle.
//
// While open a dialog holds the exact cells it covers (caption row and
// rectangle) and the status row as they were, the key bindings it changed
// through setKey, its buttons, its status bar and menu. Closing it restores
// all of them; dialogs close in the reverse order of opening (a dialog that
// is not the active one refuses to close). The main window is the bottom of
// the stack: it covers the whole screen, draws nothing and never closes.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.hpp"
#include "screen/button.hpp"
#include "screen/get_field.hpp"
#include "screen/menu.hpp"
#include "screen/status_bar.hpp"

namespace tx::screen {

class Screen;
using KeyBinding = std::function<void()>;

inline constexpr unsigned char kCaptionAttr = 0x1F;  // W+/B
// Class-wide entry colours of dialogs.
inline constexpr std::string_view kEntryColour = "N/W*";
inline constexpr std::string_view kActiveEntryColour = "W*/B";

class Dialog {
 public:
  Dialog(Screen& screen, bool main) : screen_(&screen), main_(main) {}

  int nTop = 0, nLeft = 0, nBottom = 24, nRight = 79;
  std::string cTitle;
  std::string cColor = "N/W";
  bool lBoxMaximize = false, lBoxMinimize = true, lBoxClose = false, lBoxSysMenu = false;
  bool lCaption = true, lBorder = false, lScrollH = false, lScrollV = false;
  bool lExitEsc = true;
  bool lGetUpperCase = false;
  int nsValidRead = 0;
  int active_forms = 0;   // entry forms running in this dialog (set by the form code)
  std::vector<std::unique_ptr<Button>> aControls;
  std::unique_ptr<Menu> oMenu;
  std::unique_ptr<StatusBar> oStatusBar;
  int nLastButton = 0;
  int focus = -1;         // index of the focused button, -1 none
  int exit_code = 0;      // 1 cancelled, 2 ended
  int end_value = 0;

  bool is_main() const { return main_; }
  bool is_open() const { return open_; }
  Screen& screen() const { return *screen_; }

  // Binds key to action until the dialog closes (the earlier binding comes
  // back then).
  void setKey(int key, KeyBinding action);
  bool close();                 // false (after a diagnostic) when refused
  void end(int value = 0);      // exit code 2
  void cancel();                // exit code 1
  bool activate(bool exit_on_esc = true);  // LACTIVATE on this dialog
  // Runs an entry form in this dialog: the dialog's entry colours, upper
  // case for plain texts when lGetUpperCase, validation again at the end
  // as nsValidRead says (0: when the dialog has buttons), Esc leaves when
  // lExitEsc. The dialog cannot close while the form runs. True when the
  // form ended accepting.
  bool readmodal(std::vector<GetField> fields);
  void sbDraw();                // redraw the status bar when active
  void sbReset();               // drop the status bar
  Button& add_button(int top, int left, std::string_view caption, std::function<void()> action,
                     bool enabled = true, std::function<bool()> when = {});
  void draw_button(const Button& b) const;
  void draw_buttons() const;
  // Runs button b (when usable): records it as the last button and runs its
  // action. False when it is not usable.
  bool press(Button& b);

 private:
  friend class Screen;
  Screen* screen_;
  bool main_;
  bool open_ = false;
  std::vector<platform::Cell> under_;       // caption row + rectangle, physical
  int under_top_ = 0;                       // physical row of under_'s first row
  std::vector<platform::Cell> status_row_;  // row 26 before the dialog
  std::vector<std::pair<int, std::optional<KeyBinding>>> aSetKey_;
  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  std::string saved_colour_;
  std::weak_ptr<Dialog> previous_;
};

}  // namespace tx::screen
