#include "storage/cdx_key.hpp"

#include <bit>
#include <cstdint>

namespace tx::storage {

namespace {
// Date counts days with 0001-01-01 as day 1; that day is Julian day 1721426.
constexpr long kJulianOfDayZero = 1721425;
}  // namespace

void cdx_number_key(double v, char out[8]) {
  if (v == 0) v = 0;  // -0 sorts as 0
  auto bits = std::bit_cast<std::uint64_t>(v);
  if (bits >> 63) bits = ~bits;
  else bits |= std::uint64_t{1} << 63;
  for (int i = 7; i >= 0; --i) {
    out[i] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
}

std::string cdx_number_key(double v) {
  std::string s(8, '\0');
  cdx_number_key(v, s.data());
  return s;
}

long julian_day(Date d) { return d.empty() ? 0 : d.days() + kJulianOfDayZero; }

std::string cdx_date_key(Date d) { return cdx_number_key(static_cast<double>(julian_day(d))); }

double cdx_key_number(std::string_view key8) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i)
    bits = (bits << 8) | (i < key8.size() ? static_cast<unsigned char>(key8[i]) : 0);
  if (bits >> 63) bits &= ~(std::uint64_t{1} << 63);
  else bits = ~bits;
  return std::bit_cast<double>(bits);
}

}  // namespace tx::storage
