#include "base/date.hpp"

#include <cstdio>

namespace tx {

namespace {
// Days from civil (proleptic Gregorian); every valid date from year 1 on
// gives a positive count, so 0 is free to mean the empty date.
long to_days(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 305;  // 0001-01-01 -> 1
}

void from_days(long z, int& y, int& m, int& d) {
  z += 305;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

bool digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) if (c < '0' || c > '9') return false;
  return true;
}

int num(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}
}  // namespace

int Date::days_in_month(int y, int m) {
  static const int k[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12) return 0;
  return m == 2 && leap(y) ? 29 : k[m - 1];
}

Date Date::ymd(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > days_in_month(y, m)) return Date();
  Date r;
  r.days_ = to_days(y, m, d);
  return r;
}

int Date::year() const { int y = 0, m = 0, d = 0; if (!empty()) tx::from_days(days_, y, m, d); return y; }
int Date::month() const { int y = 0, m = 0, d = 0; if (!empty()) tx::from_days(days_, y, m, d); return m; }
int Date::day() const { int y = 0, m = 0, d = 0; if (!empty()) tx::from_days(days_, y, m, d); return d; }
int Date::dow() const {
  if (empty()) return 0;
  static const long sunday = to_days(2014, 4, 27);
  return static_cast<int>((((days_ - sunday) % 7) + 7) % 7) + 1;
}

std::string DTOS(Date d) {
  if (d.empty()) return std::string(8, ' ');
  char b[16];
  std::snprintf(b, sizeof b, "%04d%02d%02d", d.year(), d.month(), d.day());
  return b;
}

std::string DTOC(Date d) {
  if (d.empty()) return "  /  /    ";
  char b[16];
  std::snprintf(b, sizeof b, "%02d/%02d/%04d", d.day(), d.month(), d.year());
  return b;
}

Date CTOD(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  auto p1 = t.find('/');
  if (p1 == std::string_view::npos) return Date();
  auto p2 = t.find('/', p1 + 1);
  if (p2 == std::string_view::npos) return Date();
  auto sd = t.substr(0, p1), sm = t.substr(p1 + 1, p2 - p1 - 1), sy = t.substr(p2 + 1);
  if (!digits(sd) || !digits(sm) || !digits(sy) || sd.size() > 2 || sm.size() > 2) return Date();
  int y = num(sy);
  if (sy.size() <= 2) y += y >= 50 ? 1900 : 2000;
  else if (sy.size() != 4) return Date();
  return Date::ymd(y, num(sm), num(sd));
}

Date STOD(std::string_view t) {
  if (t.size() != 8 || !digits(t)) return Date();
  return Date::ymd(num(t.substr(0, 4)), num(t.substr(4, 2)), num(t.substr(6, 2)));
}

}  // namespace tx
