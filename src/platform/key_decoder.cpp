// Byte stream -> key codes. Every escape sequence is read by its structure
// (CSI parameters and final byte) so that one routine serves the common
// terminals; tables hold the per-key data.
#include "platform/key_decoder.hpp"

#include <cctype>

#include "base/codepage.hpp"
#include "platform/keys.hpp"

namespace tx::platform {

namespace {

constexpr char kEsc = '\x1b';

// xterm modifier parameter m: (m - 1) is a bit set of these.
constexpr int kModShift = 1, kModAlt = 2, kModCtrl = 4;

// Navigation keys: the plain code and the code with Ctrl.
struct NavKey {
  int plain, ctrl, alt;
};
constexpr NavKey kNavHome{key::kHome, key::kCtrlHome, key::kAltHome},
    kNavEnd{key::kEnd, key::kCtrlEnd, key::kAltEnd},
    kNavPgUp{key::kPgUp, key::kCtrlPgUp, key::kAltPgUp},
    kNavPgDn{key::kPgDn, key::kCtrlPgDn, key::kAltPgDn},
    kNavLeft{key::kLeft, key::kCtrlLeft, key::kAltLeft},
    kNavRight{key::kRight, key::kCtrlRight, key::kAltRight}, kNavUp{key::kUp, key::kUp, key::kAltUp},
    kNavDown{key::kDown, key::kDown, key::kAltDown}, kNavIns{key::kIns, key::kIns, key::kAltIns},
    kNavDel{key::kDel, key::kDel, key::kAltDel};

int nav(const NavKey& k, int mods) {
  if (mods & kModCtrl) return k.ctrl;
  if (mods & kModAlt) return k.alt;
  return k.plain;
}

// The Alt code of a plain navigation key (an Esc prefix before it).
int alt_nav(int k) {
  for (const NavKey* n : {&kNavHome, &kNavEnd, &kNavPgUp, &kNavPgDn, &kNavLeft, &kNavRight,
                          &kNavUp, &kNavDown, &kNavIns, &kNavDel})
    if (n->plain == k) return n->alt;
  return 0;
}

int fkey(int n, int mods) {
  if (mods & kModCtrl) return key::CtrlF(n);
  if (mods & kModAlt) return key::AltF(n);
  if (mods & kModShift) return key::ShiftF(n);
  return key::F(n);
}

// CSI <n> ~ : what n means (0 = nothing). F-keys are 100 + their number.
int tilde_key(int n) {
  switch (n) {
    case 1: case 7: return 1;   // Home
    case 2: return 2;           // Ins
    case 3: return 3;           // Del
    case 4: case 8: return 4;   // End
    case 5: return 5;           // PgUp
    case 6: return 6;           // PgDn
    case 11: case 12: case 13: case 14: case 15: return 100 + n - 10;
    case 17: case 18: case 19: case 20: case 21: return 100 + n - 11;
    case 23: return 111;
    case 24: return 112;
    default: return 0;
  }
}

int tilde_code(int what, int mods) {
  switch (what) {
    case 1: return nav(kNavHome, mods);
    case 2: return nav(kNavIns, mods);
    case 3: return nav(kNavDel, mods);
    case 4: return nav(kNavEnd, mods);
    case 5: return nav(kNavPgUp, mods);
    case 6: return nav(kNavPgDn, mods);
    default: return what > 100 ? fkey(what - 100, mods) : 0;
  }
}

// Final letters of CSI/SS3 keys (A B C D H F P Q R S).
int letter_code(char f, int mods) {
  switch (f) {
    case 'A': return nav(kNavUp, mods);
    case 'B': return nav(kNavDown, mods);
    case 'C': return nav(kNavRight, mods);
    case 'D': return nav(kNavLeft, mods);
    case 'H': return nav(kNavHome, mods);
    case 'F': return nav(kNavEnd, mods);
    case 'P': return fkey(1, mods);
    case 'Q': return fkey(2, mods);
    case 'R': return fkey(3, mods);
    case 'S': return fkey(4, mods);
    default: return 0;
  }
}

// A character code with xterm modifiers (modifyOtherKeys / CSI u).
int char_code(int c, int mods) {
  if (c == 13) return mods & (kModCtrl | kModShift | kModAlt) ? key::kCtrlEnter : key::kEnter;
  if (c == 9) return mods & kModShift ? key::kShiftTab : key::kTab;
  if (c == 27) return key::kEsc;
  if (c == 127 || c == 8) return key::kBackspace;
  if (c < 128 && std::isalpha(c) && (mods & kModCtrl))
    return std::tolower(c) == 'c' ? key::kCtrlC : std::tolower(c) - 'a' + 1;
  if (c < 128 && std::isalnum(c) && (mods & kModAlt)) return key::Alt(static_cast<char>(c));
  unsigned char b = 0;
  if (c >= 32 && unicode_to_cp850(static_cast<char32_t>(c), b) && b >= 32) return b;
  return 0;
}

// Keypad keys in application mode: SS3 p..y and the operators.
int keypad_code(char f) {
  if (f >= 'p' && f <= 'y') return '0' + (f - 'p');
  switch (f) {
    case 'j': return '*';
    case 'k': return '+';
    case 'l': return ',';
    case 'm': return '-';
    case 'n': return '.';
    case 'o': return '/';
    case 'X': return '=';
    case 'M': return key::kEnter;
    case 'a': return key::kUp;       // rxvt Ctrl-arrows
    case 'b': return key::kDown;
    case 'c': return key::kCtrlRight;
    case 'd': return key::kCtrlLeft;
    default: return 0;
  }
}

int fkey_number(int k) {
  for (int n = 1; n <= 12; ++n)
    if (key::F(n) == k) return n;
  return 0;
}

// Built-in sequences that the structural reading does not cover.
struct FixedSeq {
  const char* bytes;
  int key;
};
const FixedSeq kFixed[] = {
    {"\x1b[[A", key::F(1)}, {"\x1b[[B", key::F(2)}, {"\x1b[[C", key::F(3)},
    {"\x1b[[D", key::F(4)}, {"\x1b[[E", key::F(5)},
};

}  // namespace

int alt_variant(int k) {
  if (k > 0 && k < 128 && (std::isalnum(k) || k == '-' || k == '=' || k == '+'))
    return key::Alt(static_cast<char>(k));
  if (int a = alt_nav(k)) return a;
  if (int n = fkey_number(k)) return key::AltF(n);
  if (k == key::kEnter) return key::kCtrlEnter;
  return k;
}

void KeyDecoder::add_sequence(std::string_view bytes, int k) {
  if (bytes.size() < 2 || bytes[0] != kEsc || k == 0) return;
  for (auto& [seq, code] : table_)
    if (seq == bytes) { code = k; return; }
  table_.emplace_back(std::string(bytes), k);
}

void KeyDecoder::feed(std::string_view bytes, std::int64_t now_ms) {
  if (bytes.empty()) return;
  buf_.append(bytes);
  last_feed_ = now_ms;
}

int KeyDecoder::wait_ms(std::int64_t now_ms) const {
  if (buf_.empty()) return -1;
  if (buf_.find_first_not_of('\0') == std::string::npos) return -1;  // a NUL prefix waits freely
  std::int64_t left = last_feed_ + kEscWaitMs - now_ms;
  return left < 0 ? 0 : static_cast<int>(left);
}

bool KeyDecoder::next(std::int64_t now_ms, Event& out) {
  now_ = now_ms;
  bool timed_out = now_ms - last_feed_ >= kEscWaitMs;
  while (!buf_.empty()) {
    Event ev;
    std::size_t used = 0;
    Step s = decode(buf_, timed_out, ev, used);
    if (s == Step::NeedMore) return false;
    buf_.erase(0, used == 0 ? 1 : used);
    if (s == Step::Got) {
      out = ev;
      return true;
    }
  }
  return false;
}

KeyDecoder::Step KeyDecoder::decode(std::string_view b, bool timed_out, Event& ev,
                                    std::size_t& used) {
  ev = Event{};
  ev.kind = Event::Key;
  auto c0 = static_cast<unsigned char>(b[0]);
  auto got = [&](int k, std::size_t n) {
    ev.key = k;
    used = n;
    return k == 0 ? Step::Skip : Step::Got;
  };

  if (c0 == 0) {  // the Alt prefix typed as Ctrl-Space
    if (b.size() == 1) return Step::NeedMore;
    Step s = decode(b.substr(1), timed_out, ev, used);
    if (s == Step::NeedMore) return s;
    ++used;
    if (s == Step::Got && ev.kind == Event::Key) ev.key = alt_variant(ev.key);
    return s;
  }
  if (c0 != static_cast<unsigned char>(kEsc)) {
    if (c0 == 13) return got(key::kEnter, 1);
    if (c0 == 10) return got(key::kCtrlEnter, 1);
    if (c0 == 127 || c0 == 8) return got(key::kBackspace, 1);
    if (c0 == 3) return got(key::kCtrlC, 1);
    if (c0 < 0x80) return got(c0, 1);
    // UTF-8 (or, failing that, Latin-1).
    std::size_t need = c0 >= 0xF0 ? 4 : c0 >= 0xE0 ? 3 : c0 >= 0xC0 ? 2 : 1;
    bool cont_ok = true;
    for (std::size_t i = 1; i < need && i < b.size(); ++i)
      if ((static_cast<unsigned char>(b[i]) & 0xC0) != 0x80) cont_ok = false;
    if (need > 1 && cont_ok && b.size() < need && !timed_out) return Step::NeedMore;
    char32_t cp = c0;
    std::size_t n = 1;
    if (need > 1 && cont_ok && b.size() >= need) {
      std::size_t i = 0;
      cp = utf8_next(b, i);
      n = i;
    }
    unsigned char out = 0;
    return got(cp != 0xFFFD && unicode_to_cp850(cp, out) && out >= 32 ? out : 0, n);
  }

  // ESC ...
  if (b.size() == 1) return timed_out ? got(key::kEsc, 1) : Step::NeedMore;

  std::size_t best = 0;
  int best_key = 0;
  bool longer = false;
  auto consider = [&](std::string_view seq, int k) {
    if (b.size() >= seq.size() && b.substr(0, seq.size()) == seq) {
      if (seq.size() > best) { best = seq.size(); best_key = k; }
    } else if (seq.size() > b.size() && seq.substr(0, b.size()) == b) {
      longer = true;
    }
  };
  for (const auto& [seq, k] : table_) consider(seq, k);
  for (const auto& f : kFixed) consider(f.bytes, f.key);
  if (longer && !timed_out) return Step::NeedMore;
  if (best) return got(best_key, best);

  char c1 = b[1];
  if (c1 == '[') {
    Step s = decode_csi(b, timed_out, ev, used);
    if (s != Step::NeedMore || !timed_out) return s;
    return got(key::kEsc, 1);  // an unfinished CSI: Esc, then the bytes as typed
  }
  if (c1 == 'O') {
    Step s = decode_ss3(b, timed_out, ev, used);
    if (s != Step::NeedMore || !timed_out) return s;
    return got(key::Alt('O'), 2);  // ESC O alone: Alt-O
  }
  if (c1 == kEsc) {
    Step s = decode(b.substr(1), timed_out, ev, used);
    if (s == Step::NeedMore) return s;
    if (s == Step::Got && ev.kind == Event::Key && ev.key == key::kEsc && used == 1)
      return got(key::kEsc, 1);  // Esc Esc: two Esc
    ++used;
    if (s == Step::Got && ev.kind == Event::Key) ev.key = alt_variant(ev.key);
    return s;
  }
  auto u1 = static_cast<unsigned char>(c1);
  if (u1 < 128 && std::isalnum(u1)) return got(key::Alt(c1), 2);
  if (c1 == '\r' || c1 == '\n') return got(key::kCtrlEnter, 2);
  return got(key::kEsc, 1);
}

KeyDecoder::Step KeyDecoder::decode_ss3(std::string_view b, bool, Event& ev, std::size_t& used) {
  std::size_t i = 2;
  int mods = 0;
  while (i < b.size() && b[i] >= '0' && b[i] <= '9') mods = mods * 10 + (b[i++] - '0');
  if (i >= b.size()) return Step::NeedMore;
  char f = b[i];
  used = i + 1;
  int m = mods > 1 ? mods - 1 : 0;
  int k = letter_code(f, m);
  if (!k) k = keypad_code(f);
  ev.key = k;
  return k ? Step::Got : Step::Skip;
}

KeyDecoder::Step KeyDecoder::decode_csi(std::string_view b, bool, Event& ev, std::size_t& used) {
  // Classic X10 mouse: ESC [ M b x y (each + 32).
  if (b.size() >= 3 && b[2] == 'M') {
    if (b.size() < 6) return Step::NeedMore;
    used = 6;
    int cb = static_cast<unsigned char>(b[3]) - 32;
    int x = static_cast<unsigned char>(b[4]) - 32, y = static_cast<unsigned char>(b[5]) - 32;
    return mouse(cb, x, y, (cb & 3) != 3, ev);
  }
  std::size_t i = 2;
  while (i < b.size() && static_cast<unsigned char>(b[i]) >= 0x20 &&
         static_cast<unsigned char>(b[i]) <= 0x3F)
    ++i;
  if (i >= b.size()) return Step::NeedMore;
  char f = b[i];
  used = i + 1;
  if (static_cast<unsigned char>(f) < 0x40 || static_cast<unsigned char>(f) > 0x7E) {
    used = i;  // not a CSI after all: drop the introducer, keep the rest
    return Step::Skip;
  }
  std::string_view params = b.substr(2, i - 2);
  bool sgr_mouse = !params.empty() && params[0] == '<';
  if (!params.empty() && (params[0] == '<' || params[0] == '?' || params[0] == '>'))
    params.remove_prefix(1);
  int p[4] = {0, 0, 0, 0};
  int np = 0;
  for (char c : params) {
    if (c == ';' || c == ':') {
      if (np < 3) ++np;
    } else if (c >= '0' && c <= '9') {
      p[np] = p[np] * 10 + (c - '0');
      if (p[np] > 100000) p[np] = 100000;
    }
  }
  if (!params.empty()) ++np;
  if (sgr_mouse) {
    if (f != 'M' && f != 'm') return Step::Skip;
    return mouse(p[0], p[1], p[2], f == 'M', ev);
  }
  int mods = np >= 2 && p[1] > 1 ? p[1] - 1 : 0;
  int k = 0;
  if (f == '~') {
    if (p[0] == 27 && np >= 3) k = char_code(p[2], p[1] > 1 ? p[1] - 1 : 0);
    else k = tilde_code(tilde_key(p[0]), mods);
  } else if (f == 'u') {
    k = char_code(p[0], mods);
  } else if (f == 'Z') {
    k = key::kShiftTab;
  } else {
    k = letter_code(f, mods);
  }
  ev.key = k;
  return k ? Step::Got : Step::Skip;
}

KeyDecoder::Step KeyDecoder::mouse(int bits, int x, int y, bool press, Event& ev) {
  // Motion (32) and the wheel (64, 128) are not clicks; neither is a release.
  if (!press || (bits & (32 | 64 | 128)) || x < 1 || y < 1) return Step::Skip;
  ev = Event{};
  ev.kind = Event::Mouse;
  ev.button = (bits & 3) + 1;
  ev.row = y - 1;
  ev.col = x - 1;
  bool dbl = !last_was_double_ && ev.row == last_row_ && ev.col == last_col_ &&
             ev.button == last_button_ && now_ - last_press_ <= kDoubleClickMs;
  ev.double_click = dbl;
  last_was_double_ = dbl;
  last_press_ = now_;
  last_row_ = ev.row;
  last_col_ = ev.col;
  last_button_ = ev.button;
  return Step::Got;
}

}  // namespace tx::platform
