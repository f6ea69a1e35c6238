#include "base/decimal.hpp"

#include <cctype>

namespace tx {

namespace {

using raw_t = Decimal::raw_t;

raw_t pow10(int n) {
  raw_t p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// a / b rounded half away from zero (b > 0).
raw_t div_round(raw_t a, raw_t b) {
  if (b < 0) { a = -a; b = -b; }
  raw_t q = a / b, r = a % b;
  if (r < 0) r = -r;
  if (2 * r >= b) q += (a < 0 ? -1 : 1);
  return q;
}

// Step size in raw units for `decimals` places (decimals may be negative).
raw_t step_for(int decimals) {
  if (decimals >= Decimal::kScale) return 1;
  return pow10(Decimal::kScale - decimals);
}

}  // namespace

Decimal Decimal::from_units(long long units, int decimals) {
  if (decimals <= kScale) return from_raw(static_cast<raw_t>(units) * pow10(kScale - decimals));
  return from_raw(div_round(units, pow10(decimals - kScale)));
}

std::optional<Decimal> Decimal::parse(std::string_view t) {
  std::size_t i = 0, n = t.size();
  while (i < n && t[i] == ' ') ++i;
  while (n > i && t[n - 1] == ' ') --n;
  if (i == n) return std::nullopt;
  bool neg = false;
  if (t[i] == '-' || t[i] == '+') { neg = t[i] == '-'; ++i; }
  raw_t v = 0;
  int digits = 0, frac = 0;
  bool dot = false;
  for (; i < n; ++i) {
    char c = t[i];
    if (c == '.' && !dot) { dot = true; continue; }
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    ++digits;
    if (dot) {
      if (frac >= kScale) continue;  // beyond our precision: dropped
      ++frac;
    }
    if (v > (static_cast<raw_t>(1) << 120) / 10) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (digits == 0) return std::nullopt;
  v *= pow10(kScale - frac);
  return from_raw(neg ? -v : v);
}

Decimal Decimal::val(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  std::size_t j = i;
  if (j < t.size() && (t[j] == '-' || t[j] == '+')) ++j;
  bool dot = false;
  while (j < t.size() && (std::isdigit(static_cast<unsigned char>(t[j])) || (t[j] == '.' && !dot))) {
    if (t[j] == '.') dot = true;
    ++j;
  }
  auto d = parse(t.substr(i, j - i));
  return d ? *d : Decimal();
}

Decimal Decimal::round(int decimals) const {
  raw_t step = step_for(decimals);
  if (step == 1) return *this;
  return from_raw(div_round(raw_, step) * step);
}

Decimal Decimal::trunc(int decimals) const {
  raw_t step = step_for(decimals);
  if (step == 1) return *this;
  return from_raw((raw_ / step) * step);
}

std::string Decimal::str(int decimals) const {
  if (decimals < 0) decimals = 0;
  if (decimals > kScale) decimals = kScale;
  raw_t v = round(decimals).raw_;
  bool neg = v < 0;
  if (neg) v = -v;
  raw_t unit = pow10(kScale - decimals);
  v /= unit;  // now an integer count of 10^-decimals
  std::string digits;
  do { digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(v % 10))); v /= 10; } while (v > 0);
  while (static_cast<int>(digits.size()) <= decimals) digits.insert(digits.begin(), '0');
  std::string out;
  if (neg && digits.find_first_not_of('0') != std::string::npos) out += '-';
  out += digits.substr(0, digits.size() - decimals);
  if (decimals > 0) { out += '.'; out += digits.substr(digits.size() - decimals); }
  return out;
}

Decimal operator*(Decimal a, Decimal b) {
  // Split a into whole units and the rest so that large amounts do not
  // overflow the 128-bit product.
  raw_t whole = a.raw_ / Decimal::kOne, rest = a.raw_ % Decimal::kOne;
  return Decimal::from_raw(whole * b.raw_ + div_round(rest * b.raw_, Decimal::kOne));
}

Decimal operator/(Decimal a, Decimal b) {
  if (b.raw_ == 0) return Decimal();
  return Decimal::from_raw(div_round(a.raw_ * Decimal::kOne, b.raw_));
}

}  // namespace tx
