// Pictures: how a value is shown (TRANSFORM) and how shown text is read back.
//
// A picture is an optional function part and a template:
//   "@" + function letters [+ " "] + template, or a bare template.
//   Function letters (either case): E  Brazilian numbers ("." thousands,
//   "," decimals); Z  blank when the value is zero once rounded to the
//   template's decimals / the text empty; R  the
//   template's literals are inserted (text keeps every one of its bytes);
//   !  upper case (accented letters too, as UPPER); K  (entry only: clear on first key; no effect here);
//   S<n>  show the first n bytes of a text (scroll width); D  date (dates are
//   always "dd/mm/yyyy"). Letters end at the first blank or at the first
//   byte that is not a function letter, so "@Z99" is Z with template "99" and
//   "@z 99" the same; exactly one blank is skipped after them.
//
// Numeric templates: 9 and # are digit positions, the first "." is the
// decimal point, "," separates thousands (shown only between two digits, a
// blank otherwise), anything else is a literal shown where it stands. The
// value is rounded half away from zero to the template's decimals; a negative
// value gets "-" just before its first digit. A value whose integer digits
// (and sign) do not fit shows "*" in every digit position, separators and
// literals kept ("***.***,**"). Without a template a number is STR(v, width,
// dec) of the caller's field size (default: 10 wide, the value's own
// decimals), with E and Z applied.
//
// Text templates: 9 # A N X L Y copy one byte, ! copies it in upper case;
// with R other template bytes are inserted, without R they replace the byte
// standing there. Missing bytes show as blanks.
//
// Reading back (PICTURE_READ): blanks give Blank (value 0); asterisks give
// Overflow, never 0; anything that is not a number in that picture gives
// Invalid. PICTURE_VALUE turns this into an optional (Blank -> 0).
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <string_view>

#include "base/codepage.hpp"
#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx {

struct Picture {
  bool euro = false;      // E
  bool blank_zero = false;  // Z
  bool insert = false;    // R
  bool upper = false;     // !
  bool clear_first = false;  // K
  bool date = false;      // D
  int scroll = 0;         // S<n>; 0 = none
  std::string tmpl;       // the template (may be empty)
};

Picture parse_picture(std::string_view picture);

std::string TRANSFORM(Decimal v, std::string_view picture);
// For a number without template: the field's width and decimals.
std::string TRANSFORM(Decimal v, std::string_view picture, int width, int dec);
inline std::string TRANSFORM(int v, std::string_view picture) { return TRANSFORM(Decimal(v), picture); }
inline std::string TRANSFORM(long v, std::string_view picture) { return TRANSFORM(Decimal(v), picture); }
inline std::string TRANSFORM(long long v, std::string_view picture) { return TRANSFORM(Decimal(v), picture); }
std::string TRANSFORM_TEXT(std::string_view text, std::string_view picture);
inline std::string TRANSFORM(std::string_view text, std::string_view picture) { return TRANSFORM_TEXT(text, picture); }
inline std::string TRANSFORM(const std::string& text, std::string_view picture) { return TRANSFORM_TEXT(text, picture); }
inline std::string TRANSFORM(const char* text, std::string_view picture) { return TRANSFORM_TEXT(text, picture); }
template <std::size_t N>
std::string TRANSFORM(const Cp850Lit<N>& text, std::string_view picture) { return TRANSFORM_TEXT(text.view(), picture); }
std::string TRANSFORM(Date d, std::string_view picture);
std::string TRANSFORM_LOGICAL(bool v, std::string_view picture);
// Only a real bool picks this one (an int or a pointer must not).
template <class B>
  requires std::same_as<B, bool>
std::string TRANSFORM(B v, std::string_view picture) { return TRANSFORM_LOGICAL(v, picture); }

enum class ValueKind { Number, Text, Date, Logical };
// Display width. `value_width` is the field's own width, used when the
// picture has no template (numbers default to 10, texts to 0).
int PICTURE_WIDTH(std::string_view picture, ValueKind kind, int value_width = 0);

enum class ReadStatus { Blank, Value, Overflow, Invalid };
struct PictureRead {
  ReadStatus status = ReadStatus::Blank;
  Decimal value;  // 0 unless status is Value
  bool ok() const { return status == ReadStatus::Blank || status == ReadStatus::Value; }
};
PictureRead PICTURE_READ(std::string_view text, std::string_view picture);
std::optional<Decimal> PICTURE_VALUE(std::string_view text, std::string_view picture);

}  // namespace tx
