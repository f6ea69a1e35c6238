// xBase text functions over CP850 byte strings.
//
// Interface (positions are 1-based, as in xBase; a "character" is one byte)
//   PADR/PADL/PADC(s, n, fill = ' ')  pad or cut to exactly n bytes; PADL cuts
//                                     on the left (keeps the right end), PADC
//                                     puts the odd blank on the right
//   STR(v, width = 10, dec = 0)       right-aligned, rounded half away from
//                                     zero; too wide -> `width` asterisks
//   STRZERO(v, width, dec = 0)        STR with leading zeros ("-005")
//   VAL(text)                         leading blanks, longest number prefix
//   UPPER/LOWER                       ASCII letters and the CP850 accented
//                                     pairs (ç/Ç, á/Á, ã/Ã, õ/Õ, ñ/Ñ, ü/Ü ...);
//                                     letters without a partner (ß, ÿ, ı) stay
//   ALLTRIM/LTRIM/RTRIM/TRIM          blanks only (RTRIM == TRIM)
//   SUBSTR(s, start, count)           start 0 acts as 1; a negative start
//                                     counts from the end (-1 = last byte);
//                                     start past the end or count <= 0 -> ""
//   LEFT/RIGHT(s, n)                  n <= 0 -> ""; n beyond the length -> s
//   AT/RAT(needle, hay)               1-based position, 0 when absent or
//                                     when the needle is empty
//   REPLICATE(s, n), SPACE(n)
//   EMPTY(text)                       only blanks, tabs, CR and LF
//   EMPTY(Decimal), EMPTY(Date)       zero / the empty date
//   STRTRAN(s, search, repl = "", start = 1, count = all)
//                                     start: first occurrence to replace
//   AJUS_CAR(text, mode)              mode 1: Windows-1252 accented letters of
//                                     the official program's files -> CP850,
//                                     with the program's own folding (see .cpp)
//
// Every function takes and returns CP850 bytes; nothing here allocates state.
#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx {

std::string PADR(std::string_view s, long n, char fill = ' ');
std::string PADL(std::string_view s, long n, char fill = ' ');
std::string PADC(std::string_view s, long n, char fill = ' ');

std::string STR(Decimal v, int width = 10, int dec = 0);
std::string STRZERO(Decimal v, int width, int dec = 0);
Decimal VAL(std::string_view text);

char upper_char(char c);
char lower_char(char c);
std::string UPPER(std::string_view s);
std::string LOWER(std::string_view s);

std::string ALLTRIM(std::string_view s);
std::string LTRIM(std::string_view s);
std::string RTRIM(std::string_view s);
std::string TRIM(std::string_view s);

inline constexpr long kAll = std::numeric_limits<long>::max();  // "to the end" / "every one"
std::string SUBSTR(std::string_view s, long start, long count = kAll);
std::string LEFT(std::string_view s, long n);
std::string RIGHT(std::string_view s, long n);
long AT(std::string_view needle, std::string_view hay);
long RAT(std::string_view needle, std::string_view hay);

std::string REPLICATE(std::string_view s, long n);
std::string SPACE(long n);

bool EMPTY(std::string_view s);
inline bool EMPTY(const char* s) { return EMPTY(std::string_view(s)); }
inline bool EMPTY(const std::string& s) { return EMPTY(std::string_view(s)); }
inline bool EMPTY(Decimal v) { return v.is_zero(); }
inline bool EMPTY(Date d) { return d.empty(); }

std::string STRTRAN(std::string_view s, std::string_view search,
                    std::string_view repl = "", long start = 1, long count = kAll);

std::string AJUS_CAR(std::string_view text, int mode = 1);

}  // namespace tx
