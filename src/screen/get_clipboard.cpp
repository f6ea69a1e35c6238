#include "screen/get_clipboard.hpp"

#include <algorithm>

#include "base/xbase.hpp"

namespace tx::screen {

std::string clip_line(std::string_view clip) {
  std::size_t end = clip.find_first_of("\r\n");
  return std::string(clip.substr(0, end));
}

std::optional<Decimal> clip_number(std::string_view text) {
  std::string t = ALLTRIM(clip_line(text));
  if (t.empty()) return std::nullopt;
  const auto dots = std::count(t.begin(), t.end(), '.');
  const auto commas = std::count(t.begin(), t.end(), ',');
  std::string plain;
  if (commas > 1) return std::nullopt;
  if (commas == 1) {
    if (t.find('.', t.find(',')) != std::string::npos) return std::nullopt;
    // Brazilian form: the dots group thousands, the comma is the point.
    for (char c : t) {
      if (c == '.') continue;
      plain += c == ',' ? '.' : c;
    }
  } else if (dots > 1) {
    for (char c : t)
      if (c != '.') plain += c;
  } else {
    plain = t;
  }
  return Decimal::parse(plain);
}

std::optional<Date> clip_date(std::string_view text) {
  std::string t = ALLTRIM(clip_line(text));
  if (t.size() != 10) return std::nullopt;
  Date d = CTOD(t);
  if (d.empty() || DTOC(d) != t) return std::nullopt;
  return d;
}

std::optional<bool> clip_logical(std::string_view text) {
  std::string t = ALLTRIM(clip_line(text));
  if (t.size() != 1) return std::nullopt;
  switch (upper_char(t[0])) {
    case 'S': case 'T': case 'Y': return true;
    case 'N': case 'F': return false;
    default: return std::nullopt;
  }
}

}  // namespace tx::screen
