// Sortable key bytes of numbers and dates in a compact index.
//
// Interface
//   cdx_number_key(v)       -> 8 bytes whose byte order is the numeric order:
//                              the IEEE double big-endian with the sign bit set
//                              for positives (and zero) and every bit flipped
//                              for negatives
//   cdx_date_key(d)         -> the number key of the Julian day number; the
//                              empty date is day 0, before every real date
//   cdx_key_number(bytes)   -> the double back from 8 key bytes
//   julian_day(d)           -> Julian day number (2000-01-01 is 2451545), 0 empty
#pragma once

#include <string>
#include <string_view>

#include "base/date.hpp"

namespace tx::storage {

void cdx_number_key(double v, char out[8]);
std::string cdx_number_key(double v);
std::string cdx_date_key(Date d);
double cdx_key_number(std::string_view key8);
long julian_day(Date d);

}  // namespace tx::storage
