// HeadlessConsole: the console of tests. Keys come from a script, the screen
// is kept in memory and can be read back as text or attributes, tones are
// recorded instead of played. Nothing happens by itself, not even a tick:
// every event is in the script, so a run is the same every time.
//
// Script format (UTF-8 text):
//   - Plain characters are typed as they are: `Maria da Silva`. UTF-8 letters
//     become their code page 850 byte (`Conceição`); a character outside code
//     page 850 is an error.
//   - Line breaks (and carriage returns) are not keys: they only lay the
//     script out. Enter is written {Enter}, a typed tab {Tab}.
//   - `{Name}` is one key or event; names ignore case:
//       Enter Esc Tab Shift-Tab Backspace (or BS) Ins Del Space
//       Home End PgUp PgDn Up Down Left Right
//       Ctrl-Enter Ctrl-Home Ctrl-End Ctrl-PgUp Ctrl-PgDn Ctrl-Left Ctrl-Right
//       F1..F12  Shift-F1..Shift-F12  Ctrl-F1..Ctrl-F12  Alt-F1..Alt-F12
//       Alt-A..Alt-Z  Alt-0..Alt-9  Alt-Up Alt-Down Alt-Home Alt-End Alt-PgUp
//       Alt-PgDn Alt-Left Alt-Right Alt-Ins Alt-Del Alt-- Alt-=  Ctrl-A..Ctrl-Z (the bytes 1..26;
//                     Ctrl-C is key::kCtrlC, apart from PgDn)
//       Key 279            any key code, as the program receives it
//       Tick               one timer tick (a second passes)
//       Quit               the terminal goes away (hang-up / terminate)
//       Click r,c  RightClick r,c  DoubleClick r,c
//                          a mouse click on physical row r (0-26), column c
//   - `{Name*N}` repeats it N times (1-9999): `{Down*3}`, `{Tick*5}`.
//   - `{{` types a `{`; a lone `}` is typed as it is.
//   A bad script (unknown name, unclosed brace, bad number) is reported by
//   script_error() after construction; such a console has no events, so the
//   program sees the script as exhausted at once.
//
// Running out: when the program waits for an event (next_event) and the
// script is empty, the console returns Quit, script_exhausted() turns true
// and exhausted_message() describes where the program was waiting (cursor
// and the screen's text). peek_key() never waits: it returns 0 on an empty
// script, and a {Tick} at the front of the script is spent by one peek (time
// passes while the program polls). A program that keeps polling an empty
// script would never end, so after kMaxIdlePeeks such polls in a row the
// script counts as exhausted too and peek_key() answers Esc, the key that
// ends every wait.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.hpp"

namespace tx::platform {

// Parses a key script into events; on a bad script returns what was parsed
// before the fault and sets `error` (empty when the script is good).
std::vector<Event> parse_key_script(std::string_view script, std::string& error);

class HeadlessConsole : public Console {
 public:
  static constexpr int kMaxIdlePeeks = 10000;

  explicit HeadlessConsole(std::string_view script);

  Cell get(int row, int col) const override;
  void put(int row, int col, unsigned char ch, unsigned char attr) override;
  void set_cursor(int row, int col, bool visible) override;
  void refresh() override;
  Event next_event() override;
  int peek_key(bool consume) override;
  void push_key(int key) override;
  void tone(int freq, int ticks) override;

  // Adds keys at the end of the script; returns false (and sets
  // script_error) on a bad script.
  bool append_script(std::string_view script);

  const std::string& script_error() const { return script_error_; }
  bool script_exhausted() const { return exhausted_; }
  const std::string& exhausted_message() const { return exhausted_message_; }
  std::size_t events_left() const { return events_.size(); }

  // The 27 rows as UTF-8, each row 80 characters and a line feed.
  std::string screen_text() const;
  // One row as UTF-8 (80 characters, no line feed); "" outside the grid.
  std::string row_text(int row) const;
  // The attributes: 27 lines of 80 two-digit hex numbers ("17" = white on blue).
  std::string screen_attrs() const;
  const std::vector<Tone>& tones() const { return tones_; }
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }
  bool cursor_visible() const { return cursor_visible_; }
  int refresh_count() const { return refreshes_; }

 private:
  Cell grid_[kRows][kCols];
  std::deque<Event> events_;
  std::vector<Tone> tones_;
  std::string script_error_;
  bool exhausted_ = false;
  std::string exhausted_message_;
  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  int refreshes_ = 0;
  int idle_peeks_ = 0;

  void run_out(const char* waiting);
};

}  // namespace tx::platform
