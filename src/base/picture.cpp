#include "base/picture.hpp"

#include <cctype>

#include "base/xbase.hpp"

namespace tx {

namespace {

constexpr std::string_view kFunctionLetters = "EZR!KDSBCX(";

bool is_digit_slot(char c) { return c == '9' || c == '#'; }
bool is_text_slot(char c) {
  return c == '9' || c == '#' || c == 'A' || c == 'N' || c == 'X' || c == 'L' || c == 'Y' || c == '!';
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The value's own decimals (trailing zeros dropped), for a number shown
// without template or field size.
int own_decimals(Decimal v) {
  std::string t = v.str(Decimal::kScale);
  std::size_t dot = t.find('.');
  std::size_t last = t.find_last_not_of('0');
  return last <= dot ? 0 : static_cast<int>(last - dot);
}

std::string swap_separators(std::string s) {
  for (char& c : s) {
    if (c == '.') c = ',';
    else if (c == ',') c = '.';
  }
  return s;
}

// Layout of a numeric template: where its decimal point is and how many
// digit positions stand on each side.
struct NumLayout {
  std::size_t point = std::string::npos;  // index of the decimal point
  int int_slots = 0, dec_slots = 0;
};

NumLayout layout_of(std::string_view t) {
  NumLayout l;
  l.point = t.find('.');
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (!is_digit_slot(t[i])) continue;
    if (l.point == std::string::npos || i < l.point) ++l.int_slots;
    else ++l.dec_slots;
  }
  return l;
}

std::string number_with_template(Decimal v, const Picture& p) {
  const std::string& t = p.tmpl;
  NumLayout l = layout_of(t);
  Decimal r = v.round(l.dec_slots);
  if (p.blank_zero && r.is_zero()) return std::string(t.size(), ' ');

  bool neg = r.negative();
  std::string plain = r.abs().str(l.dec_slots);  // "1234.50"
  std::string ip = plain.substr(0, plain.find('.'));
  std::string fp = l.dec_slots > 0 ? plain.substr(plain.find('.') + 1) : std::string();
  if (ip == "0" && l.int_slots == 0) ip.clear();  // ".99" shows no integer digit
  const char dec_ch = p.euro ? ',' : '.';
  const char sep_ch = p.euro ? '.' : ',';

  std::string out(t);
  const std::size_t int_end = l.point == std::string::npos ? t.size() : l.point;
  const int need = static_cast<int>(ip.size()) + (neg ? 1 : 0);
  if (need > l.int_slots) {
    // Does not fit: every digit position becomes an asterisk.
    for (std::size_t i = 0; i < t.size(); ++i) {
      if (is_digit_slot(t[i])) out[i] = '*';
      else if (i == l.point) out[i] = dec_ch;
      else if (t[i] == ',' && i < int_end) out[i] = sep_ch;
    }
    return out;
  }

  // Integer part, right to left.
  std::size_t left = ip.size();  // digits still to place
  bool sign_done = !neg;
  for (std::size_t k = int_end; k-- > 0;) {
    char c = t[k];
    if (is_digit_slot(c)) {
      if (left > 0) out[k] = ip[--left];
      else if (!sign_done) { out[k] = '-'; sign_done = true; }
      else out[k] = ' ';
    } else if (c == ',') {
      if (left > 0) out[k] = sep_ch;
      else if (!sign_done) { out[k] = '-'; sign_done = true; }
      else out[k] = ' ';
    }
  }
  if (l.point != std::string::npos) {
    out[l.point] = dec_ch;
    std::size_t next = 0;
    for (std::size_t k = l.point + 1; k < t.size(); ++k)
      if (is_digit_slot(t[k])) out[k] = fp[next++];
  }
  return out;
}

}  // namespace

Picture parse_picture(std::string_view pic) {
  Picture p;
  if (pic.empty() || pic[0] != '@') {
    p.tmpl = std::string(pic);
    return p;
  }
  std::size_t i = 1;
  while (i < pic.size()) {
    char c = upper_char(pic[i]);
    if (c == ' ') { ++i; break; }
    if (kFunctionLetters.find(c) == std::string_view::npos) break;
    ++i;
    switch (c) {
      case 'E': p.euro = true; break;
      case 'Z': p.blank_zero = true; break;
      case 'R': p.insert = true; break;
      case '!': p.upper = true; break;
      case 'K': p.clear_first = true; break;
      case 'D': p.date = true; break;
      case 'S': {
        int n = 0;
        while (i < pic.size() && is_digit(pic[i])) n = n * 10 + (pic[i++] - '0');
        p.scroll = n;
        break;
      }
      default: break;  // B C X (: accepted, no effect on display here
    }
  }
  p.tmpl = std::string(pic.substr(i));
  return p;
}

std::string TRANSFORM(Decimal v, std::string_view picture) {
  return TRANSFORM(v, picture, 10, own_decimals(v));
}

std::string TRANSFORM(Decimal v, std::string_view picture, int width, int dec) {
  Picture p = parse_picture(picture);
  if (!p.tmpl.empty()) return number_with_template(v, p);
  if (p.blank_zero && v.round(dec).is_zero()) return std::string(static_cast<std::size_t>(width), ' ');
  std::string s = STR(v, width, dec);
  return p.euro ? swap_separators(s) : s;
}

std::string TRANSFORM_TEXT(std::string_view text, std::string_view picture) {
  Picture p = parse_picture(picture);
  std::string out;
  if (p.tmpl.empty()) {
    out = std::string(text);
  } else {
    std::size_t next = 0;
    for (char c : p.tmpl) {
      if (is_text_slot(c)) {
        char b = next < text.size() ? text[next] : ' ';
        ++next;
        out += c == '!' ? upper_char(b) : b;
      } else {
        out += c;
        if (!p.insert) ++next;  // the literal stands in the byte's place
      }
    }
  }
  if (p.upper) out = UPPER(out);
  if (p.scroll > 0) out = PADR(out, p.scroll);
  if (p.blank_zero && EMPTY(text)) out = std::string(out.size(), ' ');
  return out;
}

std::string TRANSFORM(Date d, std::string_view picture) {
  Picture p = parse_picture(picture);
  if (p.blank_zero && d.empty()) return std::string(10, ' ');
  return DTOC(d);
}

std::string TRANSFORM_LOGICAL(bool v, std::string_view picture) {
  Picture p = parse_picture(picture);
  if (!p.tmpl.empty() && upper_char(p.tmpl[0]) == 'Y') return v ? "Y" : "N";
  return v ? "T" : "F";
}

int PICTURE_WIDTH(std::string_view picture, ValueKind kind, int value_width) {
  Picture p = parse_picture(picture);
  switch (kind) {
    case ValueKind::Number:
      if (!p.tmpl.empty()) return static_cast<int>(p.tmpl.size());
      return value_width > 0 ? value_width : 10;
    case ValueKind::Text:
      if (p.scroll > 0) return p.scroll;
      if (!p.tmpl.empty()) return static_cast<int>(p.tmpl.size());
      return value_width;
    case ValueKind::Date:
      return 10;
    case ValueKind::Logical:
      return 1;
  }
  return 0;
}

PictureRead PICTURE_READ(std::string_view text, std::string_view picture) {
  Picture p = parse_picture(picture);
  const char dec_ch = p.euro ? ',' : '.';
  const char sep_ch = p.euro ? '.' : ',';
  std::string num;
  bool stars = false, neg = false, point = false, digits = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (is_digit(c)) { num += c; digits = true; continue; }
    if (c == ' ') continue;
    if (c == '*') { stars = true; continue; }
    if (c == dec_ch && !point) { num += '.'; point = true; continue; }
    if (c == sep_ch && !point) continue;
    // A "-" standing where the template has its own "-" is that literal.
    const bool literal_here = text.size() == p.tmpl.size() && p.tmpl[i] == c;
    if ((c == '-' || c == '+') && !digits && !neg && !literal_here) {
      std::size_t j = i + 1;
      while (j < text.size() && text[j] == ' ') ++j;
      if (j < text.size() && (is_digit(text[j]) || text[j] == '*')) { neg = c == '-'; continue; }
    }
    if (!is_digit_slot(c) && c != '.' && c != ',' && p.tmpl.find(c) != std::string::npos)
      continue;  // a literal of the template
    return {ReadStatus::Invalid, Decimal()};
  }
  if (stars) return {ReadStatus::Overflow, Decimal()};
  if (!digits) return {ReadStatus::Blank, Decimal()};
  auto v = Decimal::parse(num);
  if (!v) return {ReadStatus::Invalid, Decimal()};
  return {ReadStatus::Value, neg ? -*v : *v};
}

std::optional<Decimal> PICTURE_VALUE(std::string_view text, std::string_view picture) {
  PictureRead r = PICTURE_READ(text, picture);
  if (!r.ok()) return std::nullopt;
  return r.value;
}

}  // namespace tx
