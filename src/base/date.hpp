// Date: a calendar date, or the empty date of a blank field.
//
// Interface
//   Date::ymd(2014, 4, 30)       valid dates only; an impossible one is empty
//   DTOS(d) "20140430"           empty -> 8 blanks
//   DTOC(d) "30/04/2014"         empty -> "  /  /    " (century always on)
//   CTOD("30/04/2014")           "dd/mm/yyyy" (also dd/mm/yy: 19yy from 50 on)
//   STOD("20140430")             from the stored form; blank/bad -> empty
//   d + n, d - n, d1 - d2        days
//   year() month() day() dow()   dow: 1 = Sunday ... 7 = Saturday (xBase DOW)
#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace tx {

class Date {
 public:
  constexpr Date() = default;  // empty
  static Date ymd(int y, int m, int d);
  static Date from_days(long days) { Date r; r.days_ = days; return r; }

  bool empty() const { return days_ == 0; }
  long days() const { return days_; }  // days since a fixed origin; 0 = empty
  int year() const;
  int month() const;
  int day() const;
  int dow() const;

  friend Date operator+(Date a, long n) { return a.empty() ? a : from_days(a.days_ + n); }
  friend Date operator-(Date a, long n) { return a.empty() ? a : from_days(a.days_ - n); }
  friend long operator-(Date a, Date b) { return a.days_ - b.days_; }
  friend bool operator==(Date a, Date b) = default;
  friend auto operator<=>(Date a, Date b) = default;

  static bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
  static int days_in_month(int y, int m);

 private:
  long days_ = 0;
};

std::string DTOS(Date d);
std::string DTOC(Date d);
Date CTOD(std::string_view text);
Date STOD(std::string_view text);

}  // namespace tx
