// The terminal console: ncursesw draws the grid (UTF-8 from code page 850,
// 16 colours where the terminal has them); the keyboard and the mouse are
// read from the terminal directly and decoded by KeyDecoder, so that Esc
// prefixes, modifiers and timing are the same on every terminal.
//
// Signals: SIGWINCH redraws (centred, or the "too small" message), SIGTERM,
// SIGHUP and SIGINT turn into a Quit event so the program shuts down
// cleanly. The handlers only set a flag and write a byte to a wake-up pipe.
// A crash (SIGSEGV, SIGABRT ...) puts the terminal modes back and leaves the
// alternate screen before the default action. The pipe, the flags and the
// saved modes are the one piece of process-wide state, as signal handlers
// cannot reach an object.
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <iterator>
#include <string>

#define NCURSES_WIDECHAR 1
#define NCURSES_NOMACROS 1
#include <ncursesw/curses.h>

#include "base/codepage.hpp"
#include "platform/console.hpp"
#include "platform/key_decoder.hpp"
#include "platform/keys.hpp"

namespace tx::platform {

namespace {

volatile sig_atomic_t g_resized = 0;
volatile sig_atomic_t g_quit = 0;
int g_wake_write = -1;
// For a crash: the terminal modes from before the program, and the bytes
// that leave the alternate screen and the mouse mode, so that a fatal signal
// does not leave the operator with a raw, mouse-reporting terminal.
termios g_saved_modes{};
bool g_have_saved_modes = false;
char g_leave_bytes[128] = {};
std::size_t g_leave_len = 0;
// Signals that end the program without it running again.
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

extern "C" void on_fatal_signal(int sig) {
  if (g_leave_len) {
    [[maybe_unused]] auto n = write(STDOUT_FILENO, g_leave_bytes, g_leave_len);
  }
  if (g_have_saved_modes) tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_modes);
  signal(sig, SIG_DFL);
  raise(sig);
}

extern "C" void on_signal(int sig) {
  int saved = errno;
  if (sig == SIGWINCH) g_resized = 1;
  else g_quit = 1;
  if (g_wake_write >= 0) {
    char c = 1;
    [[maybe_unused]] auto n = write(g_wake_write, &c, 1);
  }
  errno = saved;
}

std::int64_t monotonic_ms() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Classic colour numbers (0 black, 1 blue, 2 green, 3 cyan, 4 red, 5 magenta,
// 6 brown, 7 white) to curses numbers.
constexpr short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN, COLOR_CYAN,
                                    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

// terminfo function keys kf1..kf60 -> key codes (13-24 Shift, 25-36 Ctrl,
// 37-48 Ctrl-Shift, 49-60 Alt, as ncurses numbers them).
int terminfo_fkey(int n) {
  int base = (n - 1) % 12 + 1;
  switch ((n - 1) / 12) {
    case 0: return key::F(base);
    case 1: return key::ShiftF(base);
    case 2: case 3: return key::CtrlF(base);
    case 4: return key::AltF(base);
    default: return 0;
  }
}

struct TerminfoKey {
  const char* cap;
  int key;
};
constexpr TerminfoKey kTerminfoKeys[] = {
    {"khome", key::kHome},      {"kend", key::kEnd},        {"kpp", key::kPgUp},
    {"knp", key::kPgDn},        {"kich1", key::kIns},       {"kdch1", key::kDel},
    {"kcuu1", key::kUp},        {"kcud1", key::kDown},      {"kcub1", key::kLeft},
    {"kcuf1", key::kRight},     {"kcbt", key::kShiftTab},   {"kent", key::kEnter},
    {"kLFT5", key::kCtrlLeft},  {"kRIT5", key::kCtrlRight}, {"kHOM5", key::kCtrlHome},
    {"kEND5", key::kCtrlEnd},   {"kPRV5", key::kCtrlPgUp},  {"kNXT5", key::kCtrlPgDn},
};

bool valid_cap(const char* s) { return s && s != reinterpret_cast<const char*>(-1) && *s; }

class TerminalConsole : public Console {
 public:
  TerminalConsole() = default;
  ~TerminalConsole() override { shut_down(); }

  bool start(std::string& error);

  Cell get(int row, int col) const override {
    if (row < 0 || row >= kRows || col < 0 || col >= kCols) return Cell{};
    return grid_[row][col];
  }
  void put(int row, int col, unsigned char ch, unsigned char attr) override {
    if (row < 0 || row >= kRows || col < 0 || col >= kCols) return;
    grid_[row][col] = Cell{ch, attr};
  }
  void set_cursor(int row, int col, bool visible) override {
    cur_row_ = row;
    cur_col_ = col;
    cur_visible_ = visible;
  }
  void refresh() override;
  Event next_event() override;
  int peek_key(bool consume) override;
  void push_key(int k) override {
    Event ev;
    ev.kind = Event::Key;
    ev.key = k;
    queue_.push_front(ev);
  }
  void tone(int freq, int ticks) override;

  // Waits at start until the terminal is large enough; false when the
  // operator gave up (Esc) or the terminal went away.
  bool wait_for_size(std::string& error);

 private:
  void shut_down();
  void write_raw(const char* s) {
    std::fputs(s, out_);
    std::fflush(out_);
  }
  void set_colour(unsigned char attr, attr_t& a, short& pair) const;
  void draw_small();
  void take_resize();
  bool too_small() const { return LINES < kRows || COLS < kCols; }
  // Reads what the terminal has sent (waiting at most timeout_ms, -1 =
  // forever); false when the terminal is gone.
  bool pump(int timeout_ms);
  std::string small_message() const;
  // Moves what the decoder has finished into the queue.
  void take_decoded();

  Cell grid_[kRows][kCols];
  std::deque<Event> queue_;
  KeyDecoder decoder_;
  SCREEN* screen_ = nullptr;
  FILE* out_ = nullptr;
  int in_fd_ = 0;
  int wake_[2] = {-1, -1};
  struct sigaction old_winch_{}, old_term_{}, old_hup_{}, old_int_{};
  struct sigaction old_fatal_[std::size(kFatalSignals)]{};
  bool signals_set_ = false;
  int colours_ = 0;  // 16, 8 or 0 (monochrome)
  int cur_row_ = 0, cur_col_ = 0;
  bool cur_visible_ = false;
  int shown_cursor_ = -1;
  std::time_t last_tick_ = 0;
  bool gone_ = false;
  std::int64_t quiet_until_ = 0;  // no new bell before this (ms)
};

bool TerminalConsole::start(std::string& error) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    error = "O tx2014 precisa de um terminal (entrada e saída).";
    return false;
  }
  // Cells are shown as UTF-8 whatever the operator's locale says.
  // Only the character type is taken from the environment: numbers and
  // dates are formatted by the program itself, and a decimal comma from the
  // operator's locale must not reach printf or strtod anywhere.
  std::setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0 && !std::setlocale(LC_CTYPE, "C.UTF-8"))
    std::setlocale(LC_CTYPE, "en_US.UTF-8");
  out_ = stdout;
  in_fd_ = STDIN_FILENO;
  g_have_saved_modes = tcgetattr(STDIN_FILENO, &g_saved_modes) == 0;
  const char* term = std::getenv("TERM");
  screen_ = newterm(term && *term ? term : "xterm", out_, stdin);
  if (!screen_) {
    error = std::string("Terminal desconhecido (TERM=") + (term ? term : "") + ").";
    return false;
  }
  raw();
  noecho();
  nonl();
  keypad(stdscr, FALSE);  // keys are decoded here, not by curses
  intrflush(stdscr, FALSE);
  typeahead(-1);          // never leave an update half drawn because a key came
  if (has_colors()) {
    start_color();
    assume_default_colors(COLOR_WHITE, COLOR_BLACK);
    if (COLORS >= 16 && COLOR_PAIRS >= 256) colours_ = 16;
    else if (COLORS >= 8 && COLOR_PAIRS >= 64) colours_ = 8;
    int n = colours_ == 16 ? 16 : 8;
    for (int bg = 0; bg < n && colours_; ++bg)
      for (int fg = 0; fg < n; ++fg) {
        int pair = bg * n + (fg ^ 7);
        if (pair == 0) continue;
        short f = static_cast<short>(kCursesColour[fg & 7] + (fg & 8));
        short b = static_cast<short>(kCursesColour[bg & 7] + (bg & 8));
        init_pair(static_cast<short>(pair), f, b);
      }
  }
  // The terminal's own key strings join the built-in ones.
  for (int n = 1; n <= 60; ++n) {
    std::string cap = "kf" + std::to_string(n);
    const char* s = tigetstr(cap.c_str());
    if (valid_cap(s)) decoder_.add_sequence(s, terminfo_fkey(n));
  }
  for (const auto& t : kTerminfoKeys) {
    const char* s = tigetstr(t.cap);
    if (valid_cap(s)) decoder_.add_sequence(s, t.key);
  }
  // Wake-up pipe and signals.
  if (pipe(wake_) == 0) {
    for (int fd : wake_) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    g_wake_write = wake_[1];
  }
  g_resized = 0;
  g_quit = 0;
  struct sigaction sa{};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGWINCH, &sa, &old_winch_);
  sigaction(SIGTERM, &sa, &old_term_);
  sigaction(SIGHUP, &sa, &old_hup_);
  sigaction(SIGINT, &sa, &old_int_);  // only from kill: the keyboard sends Ctrl-C as a key
  std::string leave = "\x1b[?1006l\x1b[?1000l";
  for (const char* cap : {"rmcup", "cnorm", "sgr0"})
    if (const char* seq = tigetstr(cap); valid_cap(seq)) leave += seq;
  if (leave.size() < sizeof g_leave_bytes) {
    std::memcpy(g_leave_bytes, leave.data(), leave.size());
    g_leave_len = leave.size();
  }
  struct sigaction fatal{};
  fatal.sa_handler = on_fatal_signal;
  sigemptyset(&fatal.sa_mask);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
    sigaction(kFatalSignals[i], &fatal, &old_fatal_[i]);
  signals_set_ = true;
  // Mouse presses in SGR form (and the classic form where that is all there is).
  write_raw("\x1b[?1000h\x1b[?1006h");
  last_tick_ = std::time(nullptr);
  take_resize();
  return true;
}

void TerminalConsole::shut_down() {
  if (!screen_) return;
  write_raw("\x1b[?1006l\x1b[?1000l");
  curs_set(1);
  endwin();
  delscreen(screen_);
  screen_ = nullptr;
  if (signals_set_) {
    sigaction(SIGWINCH, &old_winch_, nullptr);
    sigaction(SIGTERM, &old_term_, nullptr);
    sigaction(SIGHUP, &old_hup_, nullptr);
    sigaction(SIGINT, &old_int_, nullptr);
    for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
      sigaction(kFatalSignals[i], &old_fatal_[i], nullptr);
    g_leave_len = 0;
    g_have_saved_modes = false;
    signals_set_ = false;
  }
  g_wake_write = -1;
  for (int& fd : wake_)
    if (fd >= 0) { close(fd); fd = -1; }
  std::fflush(out_);
}

void TerminalConsole::set_colour(unsigned char attr, attr_t& a, short& pair) const {
  int fg = attr & 15, bg = attr >> 4;
  a = A_NORMAL;
  pair = 0;
  if (colours_ == 16) {
    pair = static_cast<short>(bg * 16 + (fg ^ 7));
  } else if (colours_ == 8) {
    pair = static_cast<short>((bg & 7) * 8 + ((fg & 7) ^ 7));
    if (fg & 8) a |= A_BOLD;
  } else {
    if (bg != 0) a |= A_REVERSE;
    if (fg & 8) a |= A_BOLD;
  }
}

std::string TerminalConsole::small_message() const {
  return "O terminal precisa de pelo menos " + std::to_string(kCols) + " colunas e " +
         std::to_string(kRows) + " linhas (tem " + std::to_string(COLS) + "x" +
         std::to_string(LINES) + "). Aumente a janela.";
}

void TerminalConsole::draw_small() {
  bkgdset(' ' | A_NORMAL);
  attrset(A_NORMAL);
  erase();
  std::string msg = small_message() + " Esc: sair";
  // Word wrap to the width there is.
  int width = COLS > 2 ? COLS - 2 : 1, row = 0;
  std::size_t i = 0;
  while (i < msg.size() && row < LINES) {
    std::size_t len = msg.size() - i;
    if (len > static_cast<std::size_t>(width)) {
      len = static_cast<std::size_t>(width);
      std::size_t sp = msg.rfind(' ', i + len);
      if (sp != std::string::npos && sp > i) len = sp - i;
    }
    mvaddnstr(row++, 1, msg.c_str() + i, static_cast<int>(len));
    i += len;
    while (i < msg.size() && msg[i] == ' ') ++i;
  }
  curs_set(0);
  shown_cursor_ = 0;
  wnoutrefresh(stdscr);
  doupdate();
}

void TerminalConsole::take_resize() {
  g_resized = 0;
  winsize ws{};
  if (ioctl(fileno(out_), TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0)
    resizeterm(ws.ws_row, ws.ws_col);
  clearok(curscr, TRUE);
  refresh();
}

void TerminalConsole::refresh() {
  if (!screen_) return;
  if (too_small()) {
    draw_small();
    return;
  }
  int oy = (LINES - kRows) / 2, ox = (COLS - kCols) / 2;
  if (oy > 0 || ox > 0) {
    // The margin of a larger terminal stays black.
    attrset(A_NORMAL);
    for (int y = 0; y < LINES; ++y)
      if (y < oy || y >= oy + kRows) {
        move(y, 0);
        clrtoeol();
      } else {
        if (ox > 0) mvhline(y, 0, ' ', ox);
        if (COLS > ox + kCols) mvhline(y, ox + kCols, ' ', COLS - ox - kCols);
      }
  }
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      const Cell& cell = grid_[r][c];
      wchar_t wc[2] = {static_cast<wchar_t>(cp850_to_unicode(cell.ch)), 0};
      attr_t a;
      short pair;
      set_colour(cell.attr, a, pair);
      cchar_t cc;
      setcchar(&cc, wc, a, pair, nullptr);
      mvadd_wch(oy + r, ox + c, &cc);
    }
  bool show = cur_visible_ && cur_row_ >= 0 && cur_row_ < kRows && cur_col_ >= 0 && cur_col_ < kCols;
  if (shown_cursor_ != (show ? 1 : 0)) {
    curs_set(show ? 1 : 0);
    shown_cursor_ = show ? 1 : 0;
  }
  if (show) move(oy + cur_row_, ox + cur_col_);
  wnoutrefresh(stdscr);
  doupdate();
}

bool TerminalConsole::pump(int timeout_ms) {
  pollfd fds[2] = {{in_fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
  int n = poll(fds, wake_[0] >= 0 ? 2 : 1, timeout_ms);
  if (n <= 0) return true;
  if (wake_[0] >= 0 && (fds[1].revents & POLLIN)) {
    char drain[64];
    while (read(wake_[0], drain, sizeof drain) > 0) {}
  }
  if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
    char buf[512];
    ssize_t got = read(in_fd_, buf, sizeof buf);
    if (got > 0) decoder_.feed(std::string_view(buf, static_cast<std::size_t>(got)), monotonic_ms());
    else if (got == 0 || (errno != EINTR && errno != EAGAIN)) return false;
  }
  return true;
}

void TerminalConsole::take_decoded() {
  Event ev;
  while (decoder_.next(monotonic_ms(), ev)) {
    if (too_small()) {
      // The operator cannot see the screen: keys would act blind. Esc gives up.
      if (ev.kind == Event::Key && ev.key == key::kEsc) gone_ = true;
      continue;
    }
    if (ev.kind == Event::Mouse) {
      // Terminal cell -> grid cell; clicks on the margin are dropped.
      ev.row -= (LINES - kRows) / 2;
      ev.col -= (COLS - kCols) / 2;
      if (ev.row < 0 || ev.row >= kRows || ev.col < 0 || ev.col >= kCols) continue;
    }
    queue_.push_back(ev);
  }
}

Event TerminalConsole::next_event() {
  Event quit;
  quit.kind = Event::Quit;
  for (;;) {
    if (gone_ || g_quit) {
      gone_ = true;
      return quit;
    }
    if (g_resized) take_resize();
    take_decoded();
    if (gone_) return quit;
    if (!queue_.empty()) {
      Event ev = queue_.front();
      queue_.pop_front();
      return ev;
    }
    std::time_t now = std::time(nullptr);
    if (now != last_tick_) {
      last_tick_ = now;
      Event tick;
      tick.kind = Event::Tick;
      return tick;
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    int wait = 1000 - static_cast<int>(ts.tv_nsec / 1000000);
    int dw = decoder_.wait_ms(monotonic_ms());
    if (dw >= 0 && dw < wait) wait = dw + 1;
    if (!pump(wait)) gone_ = true;
  }
}

int TerminalConsole::peek_key(bool consume) {
  if (!gone_ && !g_quit && !pump(0)) gone_ = true;
  take_decoded();
  for (auto it = queue_.begin(); it != queue_.end(); ++it)
    if (it->kind == Event::Key) {
      int k = it->key;
      if (consume) queue_.erase(it);
      return k;
    }
  return 0;
}

void TerminalConsole::tone(int, int ticks) {
  // A terminal has one bell: a run of tones (BEEP_ERRO) rings it once.
  std::int64_t now = monotonic_ms();
  if (now >= quiet_until_) {
    beep();
    std::fflush(out_);
  }
  quiet_until_ = (now > quiet_until_ ? now : quiet_until_) + ticks * 55;
}

bool TerminalConsole::wait_for_size(std::string& error) {
  while (too_small()) {
    refresh();
    Event ev = next_event();
    if (ev.kind == Event::Quit) {
      error = small_message();
      return false;
    }
  }
  refresh();
  return true;
}

}  // namespace

std::unique_ptr<Console> make_terminal_console(std::string& error) {
  auto console = std::make_unique<TerminalConsole>();
  if (!console->start(error)) return nullptr;
  if (!console->wait_for_size(error)) return nullptr;
  return console;
}

}  // namespace tx::platform
