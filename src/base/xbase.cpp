#include "base/xbase.hpp"

#include <array>

#include "base/codepage.hpp"

namespace tx {

namespace {

// Lower-case CP850 letters and their capitals, position by position.
constexpr auto kLowerAccents = "çüéâäàåêëèïîìæôöòûùøáíóúñãðõþý"_cp;
constexpr auto kUpperAccents = "ÇÜÉÂÄÀÅÊËÈÏÎÌÆÔÖÒÛÙØÁÍÓÚÑÃÐÕÞÝ"_cp;
static_assert(kLowerAccents.size() == kUpperAccents.size());

struct CaseTables {
  std::array<char, 256> up{}, down{};
  constexpr CaseTables() {
    for (int i = 0; i < 256; ++i) up[i] = down[i] = static_cast<char>(i);
    for (int c = 'a'; c <= 'z'; ++c) {
      up[c] = static_cast<char>(c - 'a' + 'A');
      down[c - 'a' + 'A'] = static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kLowerAccents.size(); ++i) {
      auto lo = static_cast<unsigned char>(kLowerAccents.s[i]);
      auto hi = static_cast<unsigned char>(kUpperAccents.s[i]);
      up[lo] = static_cast<char>(hi);
      down[hi] = static_cast<char>(lo);
    }
  }
};
constexpr CaseTables kCase{};

bool is_blank(char c) { return c == ' '; }

}  // namespace

std::string PADR(std::string_view s, long n, char fill) {
  if (n <= 0) return {};
  std::string r(s.substr(0, static_cast<std::size_t>(n)));
  r.append(static_cast<std::size_t>(n) - r.size(), fill);
  return r;
}

std::string PADL(std::string_view s, long n, char fill) {
  if (n <= 0) return {};
  auto un = static_cast<std::size_t>(n);
  if (s.size() >= un) return std::string(s.substr(s.size() - un));
  return std::string(un - s.size(), fill) + std::string(s);
}

std::string PADC(std::string_view s, long n, char fill) {
  if (n <= 0) return {};
  auto un = static_cast<std::size_t>(n);
  if (s.size() >= un) return std::string(s.substr(0, un));
  std::size_t left = (un - s.size()) / 2;
  std::string r(left, fill);
  r += s;
  r.append(un - r.size(), fill);
  return r;
}

std::string STR(Decimal v, int width, int dec) {
  if (width <= 0) return {};
  if (dec < 0) dec = 0;
  std::string t = v.str(dec);
  if (static_cast<int>(t.size()) > width) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(static_cast<std::size_t>(width) - t.size(), ' ') + t;
}

std::string STRZERO(Decimal v, int width, int dec) {
  std::string t = STR(v, width, dec);
  if (t.empty() || t[0] == '*') return t;
  std::size_t first = t.find_first_not_of(' ');
  bool neg = t[first] == '-';
  std::string digits = t.substr(neg ? first + 1 : first);
  std::string r = neg ? "-" : "";
  r.append(static_cast<std::size_t>(width) - r.size() - digits.size(), '0');
  return r + digits;
}

Decimal VAL(std::string_view text) { return Decimal::val(text); }

char upper_char(char c) { return kCase.up[static_cast<unsigned char>(c)]; }
char lower_char(char c) { return kCase.down[static_cast<unsigned char>(c)]; }

std::string UPPER(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = upper_char(c);
  return r;
}

std::string LOWER(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = lower_char(c);
  return r;
}

std::string LTRIM(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && is_blank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string RTRIM(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && is_blank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string TRIM(std::string_view s) { return RTRIM(s); }
std::string ALLTRIM(std::string_view s) { return LTRIM(RTRIM(s)); }

std::string SUBSTR(std::string_view s, long start, long count) {
  const long len = static_cast<long>(s.size());
  if (start == 0) start = 1;
  if (start < 0) start = len + start + 1;  // -1 is the last byte
  if (start < 1) {
    // Before the beginning: xBase starts at the first byte and still takes
    // `count` bytes from there.
    start = 1;
  }
  if (start > len) return {};
  if (count <= 0) return {};
  return std::string(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::string LEFT(std::string_view s, long n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string RIGHT(std::string_view s, long n) {
  if (n <= 0) return {};
  auto un = static_cast<std::size_t>(n);
  return un >= s.size() ? std::string(s) : std::string(s.substr(s.size() - un));
}

long AT(std::string_view needle, std::string_view hay) {
  if (needle.empty()) return 0;
  auto p = hay.find(needle);
  return p == std::string_view::npos ? 0 : static_cast<long>(p) + 1;
}

long RAT(std::string_view needle, std::string_view hay) {
  if (needle.empty()) return 0;
  auto p = hay.rfind(needle);
  return p == std::string_view::npos ? 0 : static_cast<long>(p) + 1;
}

std::string REPLICATE(std::string_view s, long n) {
  std::string r;
  if (n <= 0) return r;
  r.reserve(s.size() * static_cast<std::size_t>(n));
  for (long i = 0; i < n; ++i) r += s;
  return r;
}

std::string SPACE(long n) { return n <= 0 ? std::string() : std::string(static_cast<std::size_t>(n), ' '); }

bool EMPTY(std::string_view s) {
  for (char c : s)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  return true;
}

std::string STRTRAN(std::string_view s, std::string_view search, std::string_view repl,
                    long start, long count) {
  if (search.empty()) return std::string(s);
  if (start < 1) start = 1;
  std::string r;
  long seen = 0, done = 0;
  std::size_t pos = 0;
  while (true) {
    auto p = s.find(search, pos);
    if (p == std::string_view::npos) break;
    ++seen;
    r.append(s.substr(pos, p - pos));
    if (seen >= start && done < count) {
      r += repl;
      ++done;
    } else {
      r += search;
    }
    pos = p + search.size();
  }
  r.append(s.substr(pos));
  return r;
}

namespace {

// Windows-1252 letters of the official program's files and what they become.
// This is the program's deliberate folding and stored names depend on it:
// most small letters keep their accent, ã and õ turn into ä and ö, and the
// capitals other than Ç and É lose their accent. Bytes not listed stay.
constexpr auto kFoldTo = "áéíóúàçÇâêôûÉäöAIOUAOAEOU"_cp;
constexpr unsigned char kFoldFrom[] = {
    0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xE0, 0xE7, 0xC7, 0xE2, 0xEA, 0xF4, 0xFB, 0xC9,  // keep
    0xE3, 0xF5,                                                                    // ã õ
    0xC1, 0xCD, 0xD3, 0xDA, 0xC3, 0xD5, 0xC2, 0xCA, 0xD4, 0xDB,                    // capitals
};
static_assert(sizeof(kFoldFrom) == kFoldTo.size());

struct FoldTable {
  std::array<char, 256> map{};
  constexpr FoldTable() {
    for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
    for (std::size_t i = 0; i < sizeof(kFoldFrom); ++i) map[kFoldFrom[i]] = kFoldTo.s[i];
  }
};
constexpr FoldTable kFold{};

}  // namespace

std::string AJUS_CAR(std::string_view text, int mode) {
  std::string r(text);
  if (mode != 1) return r;
  for (char& c : r) c = kFold.map[static_cast<unsigned char>(c)];
  return r;
}

}  // namespace tx
