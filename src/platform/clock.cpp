#include "platform/clock.hpp"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "base/helpers.hpp"

namespace tx::platform {

namespace {

Moment system_moment() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  Moment m;
  m.date = Date::ymd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  // A leap second shows as the last second of the day.
  long s = tm.tm_hour * 3600L + tm.tm_min * 60L + (tm.tm_sec > 59 ? 59 : tm.tm_sec);
  m.seconds = s;
  return m;
}

bool digits_at(const std::string& s, std::size_t pos, std::size_t n) {
  for (std::size_t i = pos; i < pos + n; ++i)
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

std::optional<long> Clock::parse_time(const std::string& t) {
  if (t.size() != 8 || t[2] != ':' || t[5] != ':' || !digits_at(t, 0, 2) || !digits_at(t, 3, 2) ||
      !digits_at(t, 6, 2))
    return std::nullopt;
  long h = (t[0] - '0') * 10 + (t[1] - '0');
  long m = (t[3] - '0') * 10 + (t[4] - '0');
  long s = (t[6] - '0') * 10 + (t[7] - '0');
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return h * 3600 + m * 60 + s;
}

Clock Clock::from_env() {
  Clock c;
  if (const char* v = std::getenv("TX2014_HOJE"); v && *v) {
    std::string text = v;
    Date d = text.size() == 10 ? CTOD(text) : Date();
    if (d.empty()) c.env_error_ += "TX2014_HOJE=" + text + " (dd/mm/aaaa)";
    else c.date_ = d;
  }
  if (const char* v = std::getenv("TX2014_AGORA"); v && *v) {
    std::string text = v;
    auto s = parse_time(text);
    if (!s) {
      if (!c.env_error_.empty()) c.env_error_ += "; ";
      c.env_error_ += "TX2014_AGORA=" + text + " (hh:mm:ss)";
    } else {
      c.time_ = *s;
    }
  }
  return c;
}

Moment Clock::now() const {
  Moment m = source_ ? source_() : system_moment();
  if (date_) m.date = *date_;
  if (time_) m.seconds = *time_;
  return m;
}

std::string Clock::TIME() const { return SEG_HORA(now().seconds); }

std::int64_t Clock::monotonic_ms() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tx::platform
