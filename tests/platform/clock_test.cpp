// The clock: fixed by the environment, overridden in tests, read in one go.
#include "platform/clock.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tx::platform {
namespace {

class ClockEnv : public testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("TX2014_HOJE");
    ::unsetenv("TX2014_AGORA");
  }
  void TearDown() override { SetUp(); }
};

TEST_F(ClockEnv, EnvironmentFixesDateAndTime) {
  ::setenv("TX2014_HOJE", "30/04/2014", 1);
  ::setenv("TX2014_AGORA", "23:59:58", 1);
  Clock c = Clock::from_env();
  EXPECT_EQ(c.env_error(), "");
  EXPECT_EQ(c.DATE(), Date::ymd(2014, 4, 30));
  EXPECT_EQ(c.TIME(), "23:59:58");
  EXPECT_EQ(c.SECONDS(), 86398);
}

TEST_F(ClockEnv, OnlyTheDateFixedLeavesTheTimeRunning) {
  ::setenv("TX2014_HOJE", "01/05/2014", 1);
  Clock c = Clock::from_env();
  c.set_source([] { return Moment{Date::ymd(2026, 1, 2), 3723}; });
  EXPECT_EQ(c.DATE(), Date::ymd(2014, 5, 1));
  EXPECT_EQ(c.TIME(), "01:02:03");
}

TEST_F(ClockEnv, BadValuesAreIgnoredAndTold) {
  struct Case { const char* hoje; const char* agora; };
  const Case cases[] = {
      {"31/02/2014", "25:00:00"}, {"2014-04-30", "12:60:00"}, {"30/04/14", "1:02:03"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.hoje << " " << k.agora);
    ::setenv("TX2014_HOJE", k.hoje, 1);
    ::setenv("TX2014_AGORA", k.agora, 1);
    Clock c = Clock::from_env();
    c.set_source([] { return Moment{Date::ymd(2014, 3, 15), 100}; });
    EXPECT_NE(c.env_error().find("TX2014_HOJE"), std::string::npos);
    EXPECT_NE(c.env_error().find("TX2014_AGORA"), std::string::npos);
    EXPECT_EQ(c.DATE(), Date::ymd(2014, 3, 15));
    EXPECT_EQ(c.SECONDS(), 100);
  }
}

TEST(Clock, OverridesForTests) {
  Clock c;
  int calls = 0;
  c.set_source([&] { ++calls; return Moment{Date::ymd(2014, 4, 29), 86399}; });
  Moment m = c.now();
  EXPECT_EQ(calls, 1);  // date and time from one reading
  EXPECT_EQ(m.date, Date::ymd(2014, 4, 29));
  EXPECT_EQ(m.seconds, 86399);
  c.fix_date(Date::ymd(2014, 1, 2));
  c.fix_time(0);
  EXPECT_EQ(c.DATE(), Date::ymd(2014, 1, 2));
  EXPECT_EQ(c.TIME(), "00:00:00");
  c.release();
  EXPECT_EQ(c.DATE(), Date::ymd(2014, 4, 29));
}

TEST(Clock, ParseTime) {
  EXPECT_EQ(Clock::parse_time("00:00:00"), 0);
  EXPECT_EQ(Clock::parse_time("23:59:59"), 86399);
  EXPECT_EQ(Clock::parse_time("24:00:00"), std::nullopt);
  EXPECT_EQ(Clock::parse_time("12:3:45"), std::nullopt);
  EXPECT_EQ(Clock::parse_time(""), std::nullopt);
}

TEST(Clock, SystemClockGivesARealDate) {
  Clock c;
  Moment m = c.now();
  EXPECT_FALSE(m.date.empty());
  EXPECT_GE(m.date.year(), 2014);
  EXPECT_GE(m.seconds, 0);
  EXPECT_LT(m.seconds, 86400);
  EXPECT_LE(c.monotonic_ms(), c.monotonic_ms());
}

}  // namespace
}  // namespace tx::platform
