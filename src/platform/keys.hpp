// Key codes: the classic xBase numbers every screen of the program tests.
//
// Plain characters arrive as their code page 850 byte (32-255). Everything
// else arrives as one of the codes below. Alt-letters use the keyboard scan
// code + 256 (Alt-Q 272 ... Alt-M 306), as the screens expect.
#pragma once

namespace tx::key {

inline constexpr int kNone = 0;
inline constexpr int kHome = 1, kCtrlRight = 2, kPgDn = 3, kRight = 4, kUp = 5, kEnd = 6;
inline constexpr int kDel = 7, kBackspace = 8, kTab = 9, kCtrlEnter = 10;
inline constexpr int kEnter = 13, kPgUp = 18, kLeft = 19, kIns = 22, kCtrlEnd = 23;
inline constexpr int kDown = 24, kCtrlLeft = 26, kEsc = 27, kF1 = 28, kCtrlHome = 29;
inline constexpr int kCtrlPgDn = 30, kCtrlPgUp = 31;
inline constexpr int kShiftTab = 271;

// Alt with the navigation keys.
inline constexpr int kAltHome = 407, kAltUp = 408, kAltPgUp = 409, kAltLeft = 411;
inline constexpr int kAltRight = 413, kAltEnd = 415, kAltDown = 416, kAltPgDn = 417;
inline constexpr int kAltIns = 418, kAltDel = 419;
inline constexpr int kAltMinus = 386, kAltEquals = 387;

// Control letters that screens bind (raw mode lets them through).
// Ctrl-C arrives apart from PgDn (3), although the classic keyboard gave
// both one code, so that copying a field never takes PgDn's meaning away.
inline constexpr int kCtrlC = 1003;
inline constexpr int kCtrlQ = 17;
inline constexpr int kCtrlS = 19;  // same code as Left

// F2..F10 = -1..-9, F11 = -40, F12 = -41.
constexpr int F(int n) { return n == 1 ? kF1 : n <= 10 ? 1 - n : n == 11 ? -40 : -41; }
// Shift-F1..F10 = -10..-19, Ctrl-F1..F10 = -20..-29, Alt-F1..F10 = -30..-39.
// Shift/Ctrl/Alt-F11, F12 = -42/-43, -44/-45, -46/-47.
constexpr int ShiftF(int n) { return n <= 10 ? -9 - n : n == 11 ? -42 : -43; }
constexpr int CtrlF(int n) { return n <= 10 ? -19 - n : n == 11 ? -44 : -45; }
constexpr int AltF(int n) { return n <= 10 ? -29 - n : n == 11 ? -46 : -47; }

// Alt-letter codes by scan code; 0 for a character that has none.
constexpr int Alt(char c) {
  switch (c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) {
    case 'Q': return 272; case 'W': return 273; case 'E': return 274; case 'R': return 275;
    case 'T': return 276; case 'Y': return 277; case 'U': return 278; case 'I': return 279;
    case 'O': return 280; case 'P': return 281; case 'A': return 286; case 'S': return 287;
    case 'D': return 288; case 'F': return 289; case 'G': return 290; case 'H': return 291;
    case 'J': return 292; case 'K': return 293; case 'L': return 294; case 'Z': return 300;
    case 'X': return 301; case 'C': return 302; case 'V': return 303; case 'B': return 304;
    case 'N': return 305; case 'M': return 306;
    case '1': return 376; case '2': return 377; case '3': return 378; case '4': return 379;
    case '5': return 380; case '6': return 381; case '7': return 382; case '8': return 383;
    case '9': return 384; case '0': return 385;
    case '-': return kAltMinus; case '=': case '+': return kAltEquals;
    default: return 0;
  }
}

}  // namespace tx::key
