// Clipboard conversions of the entry fields: the text pasted into a field
// becomes a value of the field's kind.
//
//   clip_line("ab\r\ncd")      "ab": only the first line is pasted
//   clip_number("1.234,56")    1234.56  Brazilian: "." thousands, "," decimals
//   clip_number("1234.56")     1234.56  plain: one "." is the decimal point
//   clip_number("1.234.567")   1234567  several dots are thousands
//   clip_number("-12")         -12; a trailing or inner blank, letters or an
//                              empty text give nullopt
//   clip_date("30/04/2014")    the date; anything not a real dd/mm/yyyy date
//                              gives nullopt
//   clip_logical("S")          true for S/T/Y, false for N/F (either case)
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::screen {

std::string clip_line(std::string_view clip);
std::optional<Decimal> clip_number(std::string_view text);
std::optional<Date> clip_date(std::string_view text);
std::optional<bool> clip_logical(std::string_view text);

}  // namespace tx::screen
