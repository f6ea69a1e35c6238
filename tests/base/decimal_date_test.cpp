#include <gtest/gtest.h>

#include "base/codepage.hpp"
#include "base/date.hpp"
#include "base/decimal.hpp"

using namespace tx;

static Decimal D(const char* s) { return *Decimal::parse(s); }

TEST(Decimal, RoundsHalvesAwayFromZero) {
  struct { const char* in; int dec; const char* out; } cases[] = {
      {"1.005", 2, "1.01"}, {"-1.005", 2, "-1.01"}, {"1.0049999", 2, "1.00"},
      {"2.5", 0, "3"},      {"-2.5", 0, "-3"},      {"0.004", 2, "0.00"},
      {"-0.004", 2, "0.00"}, {"1234.5", -2, "1200"}, {"1250", -2, "1300"},
  };
  for (auto& c : cases) EXPECT_EQ(D(c.in).round(c.dec).str(c.dec < 0 ? 0 : c.dec), c.out) << c.in;
}

TEST(Decimal, ArithmeticIsExactAndDivisionByZeroIsZero) {
  EXPECT_EQ((D("0.1") + D("0.2")).str(2), "0.30");
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ((D("999999999.99") * D("0.275")).str(4), "274999999.9973");
  EXPECT_EQ((D("1000") / D("3")).str(2), "333.33");
  EXPECT_EQ(D("5") / Decimal(), Decimal());
  // Large amounts multiply without overflow.
  EXPECT_EQ((D("999999999999.99") * D("999999.99")).str(2), "999999989999990000.00");
}

TEST(Decimal, ParseIsStrictValIsLenient) {
  EXPECT_FALSE(Decimal::parse("").has_value());
  EXPECT_FALSE(Decimal::parse("1,5").has_value());
  EXPECT_FALSE(Decimal::parse("**.**").has_value());
  EXPECT_FALSE(Decimal::parse("-").has_value());
  EXPECT_EQ(Decimal::parse("  -12.50 ")->str(2), "-12.50");
  EXPECT_EQ(Decimal::val("  12.5abc").str(1), "12.5");
  EXPECT_EQ(Decimal::val("abc"), Decimal());
  EXPECT_EQ(Decimal::from_units(12345, 2), D("123.45"));
}

TEST(Date, RoundTripsAndCalendarRules) {
  Date d = Date::ymd(2014, 4, 30);
  EXPECT_EQ(DTOS(d), "20140430");
  EXPECT_EQ(DTOC(d), "30/04/2014");
  EXPECT_EQ(CTOD("30/04/2014"), d);
  EXPECT_EQ(STOD("20140430"), d);
  EXPECT_EQ(d.dow(), 4);  // a Wednesday
  EXPECT_EQ((d + 1).month(), 5);
  EXPECT_EQ(Date::ymd(2014, 5, 1) - Date::ymd(2013, 5, 1), 365);
  EXPECT_TRUE(Date::ymd(2013, 2, 29).empty());
  EXPECT_FALSE(Date::ymd(2000, 2, 29).empty());
  EXPECT_TRUE(Date::ymd(1900, 2, 29).empty());
  EXPECT_TRUE(CTOD("  /  /    ").empty());
  EXPECT_EQ(DTOC(Date()), "  /  /    ");
  EXPECT_EQ(DTOS(Date()), "        ");
  EXPECT_TRUE(STOD("2014043a").empty());
}

TEST(CodePage, LiteralAndConversionsAgree) {
  auto s = "Confirma saída do programa?"_cp;
  EXPECT_EQ(s.size(), 27u);
  EXPECT_EQ(static_cast<unsigned char>(s.view()[11]), 0xA1);  // í
  EXPECT_EQ(to_utf8(s.view()), "Confirma saída do programa?");
  bool ok = false;
  EXPECT_EQ(from_utf8("ÇÃÕçãõ", &ok), std::string("\x80\xC7\xE5\x87\xC6\xE4"));
  EXPECT_TRUE(ok);
  from_utf8("€", &ok);
  EXPECT_FALSE(ok);
  for (int b = 0x20; b < 256; ++b) {
    unsigned char back = 0;
    ASSERT_TRUE(unicode_to_cp850(cp850_to_unicode(static_cast<unsigned char>(b)), back));
    EXPECT_EQ(back, b);
  }
}

TEST(Date, FirstAndLastRepresentableDaysAreNotEmpty) {
  for (Date d : {Date::ymd(1, 1, 1), Date::ymd(9999, 12, 31), Date::ymd(1948, 12, 31)}) {
    EXPECT_FALSE(d.empty());
    EXPECT_EQ(STOD(DTOS(d)), d);
  }
}
