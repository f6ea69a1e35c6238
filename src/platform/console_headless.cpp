// The headless console: a grid in memory and a queue of scripted events.
#include "platform/console_headless.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>

#include "base/codepage.hpp"
#include "platform/keys.hpp"

namespace tx::platform {

namespace {

std::string lower(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

// Names of the keys a script may write in braces (lower case).
struct NamedKey {
  const char* name;
  int code;
};
constexpr NamedKey kNamedKeys[] = {
    {"enter", key::kEnter},         {"esc", key::kEsc},
    {"tab", key::kTab},             {"shift-tab", key::kShiftTab},
    {"backspace", key::kBackspace}, {"bs", key::kBackspace},
    {"ins", key::kIns},             {"del", key::kDel},
    {"space", ' '},                 {"home", key::kHome},
    {"end", key::kEnd},             {"pgup", key::kPgUp},
    {"pgdn", key::kPgDn},           {"up", key::kUp},
    {"down", key::kDown},           {"left", key::kLeft},
    {"right", key::kRight},         {"ctrl-enter", key::kCtrlEnter},
    {"ctrl-home", key::kCtrlHome},  {"ctrl-end", key::kCtrlEnd},
    {"ctrl-pgup", key::kCtrlPgUp},  {"ctrl-pgdn", key::kCtrlPgDn},
    {"ctrl-left", key::kCtrlLeft},  {"ctrl-right", key::kCtrlRight},
    {"alt-home", key::kAltHome},    {"alt-end", key::kAltEnd},
    {"alt-up", key::kAltUp},        {"alt-down", key::kAltDown},
    {"alt-left", key::kAltLeft},    {"alt-right", key::kAltRight},
    {"alt-pgup", key::kAltPgUp},    {"alt-pgdn", key::kAltPgDn},
    {"alt-ins", key::kAltIns},      {"alt-del", key::kAltDel},
    {"alt--", key::kAltMinus},      {"alt-=", key::kAltEquals},
};

// Every key name, the fixed ones and the families (F-keys, Alt-, Ctrl-).
const std::map<std::string, int>& key_names() {
  static const std::map<std::string, int> names = [] {
    std::map<std::string, int> m;
    for (const auto& k : kNamedKeys) m[k.name] = k.code;
    for (int n = 1; n <= 12; ++n) {
      std::string f = "f" + std::to_string(n);
      m[f] = key::F(n);
      m["shift-" + f] = key::ShiftF(n);
      m["ctrl-" + f] = key::CtrlF(n);
      m["alt-" + f] = key::AltF(n);
    }
    for (char c = 'a'; c <= 'z'; ++c) {
      m[std::string("alt-") + c] = key::Alt(c);
      m[std::string("ctrl-") + c] = c == 'c' ? key::kCtrlC : c - 'a' + 1;
    }
    for (char c = '0'; c <= '9'; ++c) m[std::string("alt-") + c] = key::Alt(c);
    return m;
  }();
  return names;
}

bool parse_int(std::string_view s, int& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size();
}

// One brace token without its braces and repeat count -> event, or error.
bool parse_token(std::string_view body, Event& ev, std::string& error) {
  std::string low = lower(body);
  auto sp = low.find(' ');
  std::string head = low.substr(0, sp);
  std::string arg = sp == std::string::npos ? "" : low.substr(sp + 1);
  if (head == "tick" && arg.empty()) { ev = Event{}; ev.kind = Event::Tick; return true; }
  if (head == "quit" && arg.empty()) { ev = Event{}; ev.kind = Event::Quit; return true; }
  if (head == "key") {
    int code = 0;
    if (!parse_int(arg, code)) { error = "{" + std::string(body) + "}: expected {Key <number>}"; return false; }
    ev = Event{}; ev.kind = Event::Key; ev.key = code;
    return true;
  }
  if (head == "click" || head == "rightclick" || head == "doubleclick") {
    auto comma = arg.find(',');
    int r = 0, c = 0;
    if (comma == std::string::npos || !parse_int(std::string_view(arg).substr(0, comma), r) ||
        !parse_int(std::string_view(arg).substr(comma + 1), c)) {
      error = "{" + std::string(body) + "}: expected {" + std::string(body.substr(0, head.size())) + " row,col}";
      return false;
    }
    if (r < 0 || r >= kRows || c < 0 || c >= kCols) {
      error = "{" + std::string(body) + "}: the cell is outside the 27 x 80 screen";
      return false;
    }
    ev = Event{}; ev.kind = Event::Mouse; ev.row = r; ev.col = c;
    ev.button = head == "rightclick" ? 3 : 1;
    ev.double_click = head == "doubleclick";
    return true;
  }
  if (arg.empty()) {
    const auto& names = key_names();
    auto it = names.find(head);
    if (it != names.end()) { ev = Event{}; ev.kind = Event::Key; ev.key = it->second; return true; }
  }
  error = "unknown key {" + std::string(body) + "}";
  return false;
}

}  // namespace

std::vector<Event> parse_key_script(std::string_view s, std::string& error) {
  std::vector<Event> out;
  error.clear();
  std::size_t i = 0;
  auto fail = [&](std::size_t at, const std::string& what) {
    error = "key script, offset " + std::to_string(at) + ": " + what;
    return out;
  };
  while (i < s.size()) {
    char c = s[i];
    if (c == '\n' || c == '\r') { ++i; continue; }
    if (c == '{') {
      if (i + 1 < s.size() && s[i + 1] == '{') {
        Event ev; ev.kind = Event::Key; ev.key = '{';
        out.push_back(ev);
        i += 2;
        continue;
      }
      std::size_t close = s.find('}', i);
      std::size_t nl = s.find('\n', i);
      if (close == std::string_view::npos || (nl != std::string_view::npos && nl < close))
        return fail(i, "'{' without its '}'");
      std::string_view body = s.substr(i + 1, close - i - 1);
      int repeat = 1;
      auto star = body.rfind('*');
      if (star != std::string_view::npos) {
        if (!parse_int(body.substr(star + 1), repeat) || repeat < 1 || repeat > 9999)
          return fail(i, "{" + std::string(body) + "}: the repeat count must be 1-9999");
        body = body.substr(0, star);
      }
      Event ev;
      std::string what;
      if (!parse_token(body, ev, what)) return fail(i, what);
      out.insert(out.end(), static_cast<std::size_t>(repeat), ev);
      i = close + 1;
      continue;
    }
    std::size_t at = i;
    char32_t cp = utf8_next(s, i);
    unsigned char b = 0;
    if (cp == 0xFFFD || !unicode_to_cp850(cp, b) || b < 0x20)
      return fail(at, "a character that cannot be typed (outside code page 850 or a control)");
    Event ev; ev.kind = Event::Key; ev.key = b;
    out.push_back(ev);
  }
  return out;
}

HeadlessConsole::HeadlessConsole(std::string_view script) { append_script(script); }

bool HeadlessConsole::append_script(std::string_view script) {
  std::string error;
  auto evs = parse_key_script(script, error);
  if (!error.empty()) {
    // A bad script runs nothing: half a script would drive screens into
    // states the test never meant.
    script_error_ = error;
    events_.clear();
    return false;
  }
  if (!script_error_.empty()) return false;
  events_.insert(events_.end(), evs.begin(), evs.end());
  return true;
}

std::unique_ptr<HeadlessConsole> make_headless_console(std::string_view script) {
  return std::make_unique<HeadlessConsole>(script);
}

Cell HeadlessConsole::get(int row, int col) const {
  if (row < 0 || row >= kRows || col < 0 || col >= kCols) return Cell{};
  return grid_[row][col];
}

void HeadlessConsole::put(int row, int col, unsigned char ch, unsigned char attr) {
  if (row < 0 || row >= kRows || col < 0 || col >= kCols) return;
  grid_[row][col] = Cell{ch, attr};
}

void HeadlessConsole::set_cursor(int row, int col, bool visible) {
  cursor_row_ = row;
  cursor_col_ = col;
  cursor_visible_ = visible;
}

void HeadlessConsole::refresh() { ++refreshes_; }

void HeadlessConsole::run_out(const char* waiting) {
  if (exhausted_) return;
  exhausted_ = true;
  std::string text;
  for (int r = 0; r < kRows; ++r) {
    std::string line = row_text(r);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (line.empty()) continue;
    text += "  " + std::to_string(r) + (r < 10 ? ":  " : ": ") + line + "\n";
  }
  exhausted_message_ = (script_error_.empty() ? std::string("the key script ran out")
                                              : "the key script was refused (" + script_error_ + ")") +
                       " while the program " + waiting + "; cursor at row " +
                       std::to_string(cursor_row_) + ", column " + std::to_string(cursor_col_) +
                       "; screen:\n" + text;
}

Event HeadlessConsole::next_event() {
  idle_peeks_ = 0;
  if (!events_.empty()) {
    Event ev = events_.front();
    events_.pop_front();
    return ev;
  }
  run_out("waited for a key");
  Event quit;
  quit.kind = Event::Quit;
  return quit;
}

int HeadlessConsole::peek_key(bool consume) {
  if (events_.empty()) {
    if (!exhausted_ && ++idle_peeks_ < kMaxIdlePeeks) return 0;
    run_out("kept polling for a key");
    return key::kEsc;
  }
  idle_peeks_ = 0;
  const Event& ev = events_.front();
  if (ev.kind == Event::Tick) {
    events_.pop_front();
    return 0;
  }
  if (ev.kind != Event::Key) return 0;
  int k = ev.key;
  if (consume) events_.pop_front();
  return k;
}

void HeadlessConsole::push_key(int key) {
  Event ev;
  ev.kind = Event::Key;
  ev.key = key;
  events_.push_front(ev);
}

void HeadlessConsole::tone(int freq, int ticks) { tones_.push_back(Tone{freq, ticks}); }

std::string HeadlessConsole::row_text(int row) const {
  std::string out;
  if (row < 0 || row >= kRows) return out;
  for (int c = 0; c < kCols; ++c) append_utf8(out, cp850_to_unicode(grid_[row][c].ch));
  return out;
}

std::string HeadlessConsole::screen_text() const {
  std::string out;
  for (int r = 0; r < kRows; ++r) {
    out += row_text(r);
    out += '\n';
  }
  return out;
}

std::string HeadlessConsole::screen_attrs() const {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(kRows * (kCols * 2 + 1));
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) {
      out += kHex[grid_[r][c].attr >> 4];
      out += kHex[grid_[r][c].attr & 15];
    }
    out += '\n';
  }
  return out;
}

}  // namespace tx::platform
