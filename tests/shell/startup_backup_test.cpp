// The backup reminder of the first four months of 2014.
#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

const std::string kLeave = answer("{Esc}") + answer("S");

class BackupReminder : public StartupTest {
 protected:
  void last_backup(Date d) {
    config("00", d, [d](storage::WorkArea& wa) { wa.replace_date("ULTBACK", d); });
  }
  // Runs out at the first question and tells whether it was the reminder.
  std::string first_question(Date today) {
    auto r = run("", today);
    return r.where;
  }
};

TEST_F(BackupReminder, ShownOnlyAfterMoreThanThreeDaysUntilApril) {
  no_update_check();
  struct Case { Date last, today; const char* shown; };
  const Case cases[] = {
      {Date::ymd(2014, 4, 7), Date::ymd(2014, 4, 10), nullptr},
      {Date::ymd(2014, 4, 6), Date::ymd(2014, 4, 10), " Atenção   4 dias sem fazer o backup compactado."},
      {Date::ymd(2013, 12, 1), Date::ymd(2014, 1, 15), " Atenção  45 dias sem fazer o backup compactado."},
      {Date::ymd(2014, 4, 29), Date::ymd(2014, 4, 30), nullptr},
      {Date::ymd(2014, 1, 1), Date::ymd(2014, 5, 1), nullptr},
      {Date::ymd(2013, 1, 1), Date::ymd(2013, 4, 1), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DTOC(c.last) + " -> " + DTOC(c.today));
    last_backup(c.last);
    std::string where = first_question(c.today);
    if (c.shown) EXPECT_NE(where.find(c.shown), std::string::npos) << where;
    else EXPECT_EQ(where.find("sem fazer o backup"), std::string::npos) << where;
  }
}

TEST_F(BackupReminder, NoPostponesItForSevenDays) {
  no_update_check();
  const Date d = Date::ymd(2014, 2, 10);
  last_backup(d - 10);
  auto r = run(answer("N") + kLeave, d);
  ASSERT_EQ(r.status, 0) << r.where;
  EXPECT_EQ(config_date("00", "ULTBACK"), d + 4);
  for (int later = 1; later <= 7; ++later)
    EXPECT_EQ(first_question(d + later).find("sem fazer o backup"), std::string::npos) << "day D+" << later;
  EXPECT_NE(first_question(d + 8).find(" Atenção   4 dias sem fazer o backup compactado."), std::string::npos);
}

TEST_F(BackupReminder, YesChangesNothing) {
  no_update_check();
  const Date d = Date::ymd(2014, 3, 20);
  last_backup(d - 5);
  auto r = run(answer("S") + kLeave, d);
  ASSERT_EQ(r.status, 0) << r.where;
  EXPECT_EQ(config_date("00", "ULTBACK"), d - 5);
}

TEST_F(BackupReminder, BlankDateCountsFromToday) {
  no_update_check();
  const Date d = Date::ymd(2014, 3, 20);
  last_backup(Date{});
  EXPECT_EQ(first_question(d).find("sem fazer o backup"), std::string::npos);
  EXPECT_EQ(config_date("00", "ULTBACK"), d);
}

}  // namespace
}  // namespace tx::shell::testing
