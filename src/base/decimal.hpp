// Decimal: the one number type for amounts, rates and counts.
//
// Interface
//   Decimal(int), Decimal::parse("1234.56") (also "-0.5", " 12 ", "1e" is bad)
//   + - * /  (division by zero gives 0: a quotient with a zero divisor is 0)
//   round(d)       half away from zero to d decimals (x.xx5 -> x.xx + 0.01)
//   trunc(d)       cut towards zero to d decimals
//   str(d)         plain text with d decimals and '.' ("-1234.50"), rounded
//   to_long()      integer part (towards zero)
//   compare with == < <= ...
//
// Representation: a 128-bit integer of units of 10^-10. Every stored field
// (N up to 18 digits with up to 8 decimals) fits exactly; products and
// quotients keep 10 decimals and round half away from zero at the 10th.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tx {

class Decimal {
 public:
  __extension__ typedef __int128 raw_t;
  static constexpr int kScale = 10;
  static constexpr raw_t kOne = 10000000000LL;  // 10^kScale

  constexpr Decimal() = default;
  constexpr Decimal(int v) : raw_(static_cast<raw_t>(v) * kOne) {}
  constexpr Decimal(long v) : raw_(static_cast<raw_t>(v) * kOne) {}
  constexpr Decimal(long long v) : raw_(static_cast<raw_t>(v) * kOne) {}
  static constexpr Decimal from_raw(raw_t r) { Decimal d; d.raw_ = r; return d; }
  // value / 10^decimals, e.g. from_units(12345, 2) == 123.45
  static Decimal from_units(long long units, int decimals);

  // Strict: optional blanks around, optional sign, digits, optional '.' and
  // digits. Anything else (or more than 10 decimals of precision lost) -> none.
  static std::optional<Decimal> parse(std::string_view text);
  // Lenient, as xBase VAL(): leading blanks, then the longest number prefix;
  // nothing numeric gives 0.
  static Decimal val(std::string_view text);

  constexpr raw_t raw() const { return raw_; }

  Decimal round(int decimals) const;
  Decimal trunc(int decimals) const;
  std::string str(int decimals) const;
  long long to_long() const { return static_cast<long long>(raw_ / kOne); }
  double to_double() const { return static_cast<double>(raw_) / static_cast<double>(kOne); }
  bool is_zero() const { return raw_ == 0; }
  bool negative() const { return raw_ < 0; }
  Decimal abs() const { return from_raw(raw_ < 0 ? -raw_ : raw_); }

  constexpr Decimal operator-() const { return from_raw(-raw_); }
  Decimal& operator+=(Decimal o) { raw_ += o.raw_; return *this; }
  Decimal& operator-=(Decimal o) { raw_ -= o.raw_; return *this; }
  Decimal& operator*=(Decimal o) { *this = *this * o; return *this; }
  Decimal& operator/=(Decimal o) { *this = *this / o; return *this; }
  friend Decimal operator+(Decimal a, Decimal b) { return from_raw(a.raw_ + b.raw_); }
  friend Decimal operator-(Decimal a, Decimal b) { return from_raw(a.raw_ - b.raw_); }
  friend Decimal operator*(Decimal a, Decimal b);
  friend Decimal operator/(Decimal a, Decimal b);
  friend constexpr bool operator==(Decimal a, Decimal b) { return a.raw_ == b.raw_; }
  friend constexpr std::strong_ordering operator<=>(Decimal a, Decimal b) {
    return a.raw_ < b.raw_ ? std::strong_ordering::less
         : a.raw_ > b.raw_ ? std::strong_ordering::greater
                           : std::strong_ordering::equal;
  }

 private:
  raw_t raw_ = 0;
};

inline Decimal min(Decimal a, Decimal b) { return a < b ? a : b; }
inline Decimal max(Decimal a, Decimal b) { return a < b ? b : a; }

// xBase ROUND(value, decimals): half away from zero.
inline Decimal ROUND(Decimal v, int decimals) { return v.round(decimals); }

}  // namespace tx
