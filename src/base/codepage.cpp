#include "base/codepage.hpp"

namespace tx {

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string to_utf8(std::string_view cp850) {
  std::string out;
  out.reserve(cp850.size() * 2);
  for (char c : cp850) {
    auto b = static_cast<unsigned char>(c);
    // Inside text (not on screen cells) control bytes stay themselves.
    if (b < 0x20 || b == 0x7F) out += c;
    else append_utf8(out, cp850_to_unicode(b));
  }
  return out;
}

std::string to_utf8(unsigned char b) {
  std::string out;
  append_utf8(out, cp850_to_unicode(b));
  return out;
}

std::string from_utf8(std::string_view s, bool* ok) {
  std::string out;
  out.reserve(s.size());
  if (ok) *ok = true;
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t cp = utf8_next(s, i);
    unsigned char b = 0;
    if (cp < 0x20) b = static_cast<unsigned char>(cp);
    else if (!unicode_to_cp850(cp, b)) { b = '?'; if (ok) *ok = false; }
    out += static_cast<char>(b);
  }
  return out;
}

}  // namespace tx
