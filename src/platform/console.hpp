// Console: the character-cell screen, the keyboard and the mouse.
//
// The grid is kRows x kCols cells of {CP850 byte, attribute}. Attribute =
// background * 16 + foreground, 16 colours each (0 black ... 7 white, +8
// bright). Row 0 is the menu bar, rows 1-25 are the program's 25x80 screen
// (its rows 0-24), row 26 the status bar; `kScreenTop` converts.
//
// Everything draws into the grid with put()/fill(); refresh() shows what
// changed. Events come from next_event(): a key (codes of keys.hpp), a mouse
// click with its cell, or a tick each second (the terminal sends ticks even
// while keys arrive; the headless console only where its script says).
//
// Two drivers: make_terminal_console() (ncursesw, a real terminal) and
// make_headless_console() (tests: keys from a script, screen dumped as text).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tx::platform {

inline constexpr int kRows = 27;
inline constexpr int kCols = 80;
inline constexpr int kScreenTop = 1;  // physical row of the program's row 0

struct Cell {
  unsigned char ch = ' ';
  unsigned char attr = 7;
  friend bool operator==(const Cell&, const Cell&) = default;
};

struct Event {
  enum Kind { None, Key, Mouse, Tick, Quit } kind = None;
  int key = 0;        // Key: the key code
  int row = 0;        // Mouse: physical row 0..26
  int col = 0;        // Mouse: column 0..79
  int button = 0;     // Mouse: 1 left, 2 middle, 3 right
  bool double_click = false;
};

struct Tone {
  int freq = 0;       // Hz
  int ticks = 0;      // clock ticks of 1/18.2 s
};

class Console {
 public:
  virtual ~Console() = default;

  // The grid. Writes outside the grid are clipped, never an error.
  virtual Cell get(int row, int col) const = 0;
  virtual void put(int row, int col, unsigned char ch, unsigned char attr) = 0;
  // put_text writes along one row and is clipped at the edges (no wrap).
  void put_text(int row, int col, std::string_view cp850, unsigned char attr);
  void fill(int top, int left, int bottom, int right, unsigned char ch, unsigned char attr);
  // Save and restore a rectangle exactly (characters and attributes). The
  // rectangle is inclusive; save() keeps (bottom-top+1)*(right-left+1) cells
  // in row order (cells outside the grid read as blanks), restore() writes
  // them back clipped, and does nothing when the vector does not fit the
  // rectangle. An empty rectangle (bottom < top or right < left) is a no-op.
  std::vector<Cell> save(int top, int left, int bottom, int right) const;
  void restore(int top, int left, int bottom, int right, const std::vector<Cell>& cells);

  virtual void set_cursor(int row, int col, bool visible) = 0;
  virtual void refresh() = 0;

  // Waits for the next event; a Tick at least once a second; Quit when the
  // terminal is gone (SIGHUP/SIGTERM) or a headless script has run out.
  virtual Event next_event() = 0;
  // A key already typed, without waiting (for "Esc cancels a wait" loops);
  // 0 when none. The key stays queued unless `consume`.
  virtual int peek_key(bool consume) = 0;
  // Puts a key in front of the queue (KEYBOARD / screens that post keys).
  virtual void push_key(int key) = 0;

  virtual void tone(int freq, int ticks) = 0;

  // The program's own clipboard (CP850 text).
  std::string clipboard;
};

// ncursesw on the controlling terminal. Returns nullptr with `error` set
// when there is no usable terminal or it is smaller than 80 x 27 after the
// operator was told so.
std::unique_ptr<Console> make_terminal_console(std::string& error);

// Headless console for tests. The script lists keys, see console_headless.hpp
// (include it to use the result).
class HeadlessConsole;
std::unique_ptr<HeadlessConsole> make_headless_console(std::string_view script);

}  // namespace tx::platform
