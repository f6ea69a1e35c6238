// KeyDecoder: turns the bytes a terminal sends into the program's key codes
// (keys.hpp) and mouse clicks. The terminal driver feeds it what it reads;
// tests feed it byte strings.
//
// What it understands:
//   - printable ASCII as it is; UTF-8 as its code page 850 byte (characters
//     outside code page 850 are dropped; a byte that is not valid UTF-8 is
//     taken as Latin-1);
//   - control bytes as their classic codes: CR Enter 13, LF Ctrl-Enter 10
//     (Ctrl-J), Tab 9, DEL and BS Backspace 8, Ctrl-letters 1-26 (Ctrl-S 19,
//     Ctrl-Q 17 ...) except Ctrl-C, which is key::kCtrlC, apart from PgDn;
//   - xterm/VT escape sequences structurally: CSI "~" keys (Home Ins Del End
//     PgUp PgDn F1-F12) and CSI/SS3 letter keys with the xterm modifier
//     parameter (Shift/Alt/Ctrl), "CSI Z" Shift-Tab, "CSI 27;m;c~" and
//     "CSI c;m u" (modified Enter/Tab), Linux console F1-F5 ("ESC [ [ A"),
//     rxvt Ctrl-arrows, keypad application keys;
//   - extra sequences registered with add_sequence() (the terminal's own
//     terminfo key strings), which win over the structural reading;
//   - mouse presses in SGR (1006) and classic X10 form, with a double click
//     when the same cell is pressed twice within kDoubleClickMs;
//   - Alt from an Esc prefix: ESC + letter/digit = Alt-letter, ESC + F-key =
//     Alt-F-key, ESC + Enter = Ctrl-Enter; a lone ESC is Esc once no byte
//     followed for kEscWaitMs;
//   - NUL (Ctrl-Space, Ctrl-@) as a prefix that waits without a time limit
//     for the next key and makes it the Alt variant the same way (the
//     typed alternative on terminals that cannot send Alt-F-keys).
//
// Row and column of mouse events are the terminal's (0-based); the driver
// moves them onto the grid.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/console.hpp"

namespace tx::platform {

class KeyDecoder {
 public:
  static constexpr int kEscWaitMs = 100;
  static constexpr int kDoubleClickMs = 400;

  // A terminal-specific sequence (starting with ESC) for a key code.
  void add_sequence(std::string_view bytes, int key);
  void feed(std::string_view bytes, std::int64_t now_ms);
  // The next complete event; false when none is complete yet.
  bool next(std::int64_t now_ms, Event& out);
  // Milliseconds until held bytes must be decided by time (0 = now); -1 when
  // nothing waits on the clock.
  int wait_ms(std::int64_t now_ms) const;
  bool holding() const { return !buf_.empty(); }

 private:
  enum class Step { Got, Skip, NeedMore };
  Step decode(std::string_view b, bool timed_out, Event& ev, std::size_t& used);
  Step decode_csi(std::string_view b, bool timed_out, Event& ev, std::size_t& used);
  Step decode_ss3(std::string_view b, bool timed_out, Event& ev, std::size_t& used);
  Step mouse(int button_bits, int x, int y, bool press, Event& ev);

  std::string buf_;
  std::int64_t last_feed_ = 0;
  std::int64_t now_ = 0;
  std::vector<std::pair<std::string, int>> table_;
  std::int64_t last_press_ = -1000000;
  int last_row_ = -1, last_col_ = -1, last_button_ = 0;
  bool last_was_double_ = false;
};

// The Alt variant of a key: letters and digits give Alt-letter codes,
// F-keys Alt-F, Enter Ctrl-Enter; any other key stays as it is.
int alt_variant(int key);

}  // namespace tx::platform
