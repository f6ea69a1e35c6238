// Clock: the one source of "today" and "now".
//
// Interface
//   Clock::from_env()  the system clock, with TX2014_HOJE=dd/mm/yyyy fixing
//                      the date and TX2014_AGORA=hh:mm:ss fixing the time of
//                      day; a value that is not a valid date / time is
//                      ignored and told by env_error()
//   fix_date / fix_time / set_source   overrides for tests (set_source
//                      replaces the system clock entirely)
//   now()      date and seconds since midnight read together, so that a
//              call at midnight never pairs one day's date with the other
//              day's time
//   DATE()     today;  TIME() "hh:mm:ss";  SECONDS() since midnight
//   monotonic_ms()  a running count of milliseconds for waits and timeouts
//
// A fixed date or time stays fixed: it does not advance while the program
// runs (so screens and printouts under test show the same text every
// time). Anything that waits or counts seconds down must use
// monotonic_ms(), which is never fixed; otherwise a wait under a fixed time
// would never end.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/date.hpp"

namespace tx::platform {

struct Moment {
  Date date;
  long seconds = 0;  // since midnight, 0-86399
};

class Clock {
 public:
  using Source = std::function<Moment()>;

  Clock() = default;  // the system clock, nothing fixed
  static Clock from_env();

  void fix_date(Date d) { date_ = d; }
  void fix_time(long seconds_since_midnight) { time_ = seconds_since_midnight; }
  void release() { date_.reset(); time_.reset(); }
  void set_source(Source s) { source_ = std::move(s); }

  Moment now() const;
  Date DATE() const { return now().date; }
  std::string TIME() const;
  long SECONDS() const { return now().seconds; }
  std::int64_t monotonic_ms() const;

  const std::string& env_error() const { return env_error_; }

  // "hh:mm:ss" -> seconds, or none unless 00:00:00-23:59:59.
  static std::optional<long> parse_time(const std::string& text);

 private:
  std::optional<Date> date_;
  std::optional<long> time_;
  Source source_;
  std::string env_error_;
};

}  // namespace tx::platform
