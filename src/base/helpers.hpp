// The program's small shared routines: amounts cut to two decimals, typed
// Brazilian amounts, month and weekday names, clock texts and line reading.
//
// Interface
//   DESPREZA(v, width, dec = 2, mode = 0)   the amount cut to `dec` places
//       mode 0: rounded at dec + 2 places first, then cut
//               (1.23996 -> 1.24, 1.2349 -> 1.23, -1.23996 -> -1.24)
//       mode 1: cut at `dec` places with no rounding first (1.23996 -> 1.23)
//       any other mode acts as 0. The number never depends on `width`: a
//       value too wide for it is still cut exactly (only the text overflows).
//   DESPREZA_TXT(...)  the same amount as text of width - 2 bytes, as the
//       formatting with dec + 2 places minus its last two bytes shows it;
//       too wide -> asterisks.
//   CAR_TO_VAL(text)          "" -> 0; every "." dropped; the first "," is the
//                             decimal point; then VAL ("12,3,4" -> 12.3)
//   CAR_TO_VAL_CHECKED(text)  the same, but none for asterisks (a value that
//                             did not fit its picture) and for anything that
//                             is not one clean number ("12,3,4", "abc")
//   TRAZ_MES(m)   "Janeiro  " ... "Dezembro " (9 wide, no accents); a month
//                 outside 1-12 gives 9 blanks.  NOME_MES(m) without padding.
//   DIA_SEMANA(d) "Domingo" ... "Sabado"; the empty date gives "".
//   HORA_SEG("hh:mm:ss") -> seconds since midnight (missing parts count 0)
//   SEG_HORA(seconds)    -> "hh:mm:ss", hours modulo 24
//   TEMPO_PAS(start, end)        seconds from start to end; an end earlier
//                                than the start is on the next day
//   TEMPO_PAS(start, end, mode)  mode 1 -> "hh:mm:ss"; otherwise the seconds
//                                as plain digits
//   LELINHA(file / fd)   the next line, its line feed included; a NUL byte
//                        (consumed, not returned) or the end of the file also
//                        ends it; "" at the end. The bool form tells the end
//                        apart from an empty line cut by a NUL.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx {

Decimal DESPREZA(Decimal v, int width, int dec = 2, int mode = 0);
std::string DESPREZA_TXT(Decimal v, int width, int dec = 2, int mode = 0);

Decimal CAR_TO_VAL(std::string_view text);
std::optional<Decimal> CAR_TO_VAL_CHECKED(std::string_view text);

std::string TRAZ_MES(int month);
std::string NOME_MES(int month);
std::string DIA_SEMANA(Date d);

long HORA_SEG(std::string_view hhmmss);
std::string SEG_HORA(long seconds);
long TEMPO_PAS(std::string_view start, std::string_view end);
std::string TEMPO_PAS(std::string_view start, std::string_view end, int mode);

std::string LELINHA(std::FILE* f);
std::string LELINHA(int fd);
bool LELINHA(std::FILE* f, std::string& line);
bool LELINHA(int fd, std::string& line);

}  // namespace tx
