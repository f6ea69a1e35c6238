// Code page 850: the one encoding of every text inside the program.
//
// Interface
//   cp850_to_unicode(byte)      -> code point of a CP850 byte (0x01-0x1F show
//                                  as their classic screen glyphs)
//   unicode_to_cp850(cp, &byte) -> false when the character has no CP850 byte
//   to_utf8(cp850 text)         -> UTF-8 text, for the edges (terminal, mail)
//   from_utf8(utf8, &ok)        -> CP850 text; unmapped characters become '?'
//   "Confirma saída?"_cp        -> CP850 bytes, converted at compile time;
//                                  a character outside CP850 does not compile
//
// Invariant: a field of width n holds n bytes; nothing above the edges ever
// sees UTF-8.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tx {

namespace cp850_detail {
// Unicode code points of bytes 0x80-0xFF.
inline constexpr std::array<char32_t, 128> kHigh = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // E8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // F8
};
// Screen glyphs of the control bytes 0x00-0x1F (arrows, bullets, ...).
inline constexpr std::array<char32_t, 32> kLow = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};
}  // namespace cp850_detail

constexpr char32_t cp850_to_unicode(unsigned char b) {
  if (b < 0x20) return cp850_detail::kLow[b];
  if (b == 0x7F) return 0x2302;
  if (b < 0x80) return b;
  return cp850_detail::kHigh[b - 0x80];
}

// The byte for a code point, or false. Control glyphs map back to their byte
// only for the box/arrow characters; plain ASCII maps to itself.
constexpr bool unicode_to_cp850(char32_t cp, unsigned char& out) {
  if (cp < 0x80) { out = static_cast<unsigned char>(cp); return true; }
  for (std::size_t i = 0; i < 128; ++i)
    if (cp850_detail::kHigh[i] == cp) { out = static_cast<unsigned char>(0x80 + i); return true; }
  for (std::size_t i = 1; i < 32; ++i)
    if (cp850_detail::kLow[i] == cp) { out = static_cast<unsigned char>(i); return true; }
  if (cp == 0x2302) { out = 0x7F; return true; }
  return false;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Returns 0xFFFD on a bad one.
constexpr char32_t utf8_next(std::string_view s, std::size_t& i) {
  auto b = static_cast<unsigned char>(s[i++]);
  if (b < 0x80) return b;
  int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (more < 0) return 0xFFFD;
  char32_t cp = b & (0x3F >> more);
  for (int k = 0; k < more; ++k) {
    if (i >= s.size()) return 0xFFFD;
    auto c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (c & 0x3F);
    ++i;
  }
  return cp;
}

void append_utf8(std::string& out, char32_t cp);
std::string to_utf8(std::string_view cp850);
std::string to_utf8(unsigned char cp850_byte);
// Unmapped characters become '?'; ok (when given) turns false on any of them.
std::string from_utf8(std::string_view utf8, bool* ok = nullptr);

// ---- compile-time literal -------------------------------------------------
template <std::size_t N>
struct Utf8Lit {
  char s[N]{};
  consteval Utf8Lit(const char (&in)[N]) {
    for (std::size_t i = 0; i < N; ++i) s[i] = in[i];
  }
  consteval std::size_t cp_length() const {
    std::size_t n = 0, i = 0;
    std::string_view v(s, N - 1);
    while (i < v.size()) { utf8_next(v, i); ++n; }
    return n;
  }
};

template <std::size_t N>
struct Cp850Lit {
  char s[N + 1]{};
  constexpr operator std::string_view() const { return {s, N}; }
  operator std::string() const { return {s, N}; }
  constexpr std::string_view view() const { return {s, N}; }
  std::string str() const { return {s, N}; }
  constexpr std::size_t size() const { return N; }
  constexpr const char* c_str() const { return s; }
};

template <Utf8Lit L>
consteval auto operator""_cp() {
  constexpr std::size_t n = L.cp_length();
  Cp850Lit<n> out{};
  std::string_view v(L.s, sizeof(L.s) - 1);
  std::size_t i = 0, k = 0;
  while (i < v.size()) {
    char32_t cp = utf8_next(v, i);
    unsigned char b = 0;
    if (!unicode_to_cp850(cp, b)) throw "character outside code page 850";
    out.s[k++] = static_cast<char>(b);
  }
  return out;
}

template <std::size_t N>
std::string operator+(const Cp850Lit<N>& a, std::string_view b) {
  std::string r(a.view()); r.append(b); return r;
}
template <std::size_t N>
std::string operator+(std::string_view a, const Cp850Lit<N>& b) {
  std::string r(a); r.append(b.view()); return r;
}
template <std::size_t N>
std::string operator+(const std::string& a, const Cp850Lit<N>& b) {
  return a + std::string(b.view());
}
template <std::size_t N>
std::string operator+(const Cp850Lit<N>& a, const std::string& b) {
  return std::string(a.view()) + b;
}
template <std::size_t N>
std::string operator+(const Cp850Lit<N>& a, const char* b) {
  return std::string(a.view()) + b;
}
template <std::size_t N>
std::string operator+(const char* a, const Cp850Lit<N>& b) {
  return std::string(a) + std::string(b.view());
}
template <std::size_t N, std::size_t M>
std::string operator+(const Cp850Lit<N>& a, const Cp850Lit<M>& b) {
  return std::string(a.view()) + std::string(b.view());
}

}  // namespace tx
