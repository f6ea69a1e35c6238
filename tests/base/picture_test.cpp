#include "base/picture.hpp"

#include <gtest/gtest.h>

#include "base/codepage.hpp"

namespace tx {
namespace {

Decimal D(const char* s) { return *Decimal::parse(s); }

struct NumCase { const char* value; const char* picture; const char* shown; };

TEST(TransformNumber, Table) {
  const NumCase cases[] = {
      // Brazilian amounts, blank when zero.
      {"1234567.891", "@Ez 999,999,999.99", "  1.234.567,89"},
      {"0", "@Ez 999,999,999.99", "              "},
      {"0.004", "@Ez 999,999,999.99", "              "},  // zero once rounded
      {"0.005", "@Ez 999,999,999.99", "          0,01"},  // half away from zero
      {"-0.005", "@Ez 999,999,999.99", "         -0,01"},
      {"12.345", "@EZ 999,999.99", "     12,35"},
      {"-1234.5", "@Ez 999,999,999.99", "     -1.234,50"},
      {"-23456.78", "@E 999,999.99", "-23.456,78"},
      {"-456.78", "@E 999,999.99", "   -456,78"},  // sign in a comma's place
      {"-123456.78", "@E 999,999.99", "***.***,**"},
      {"999999999.99", "@Ez 999,999,999.99", "999.999.999,99"},
      {"1000000000", "@Ez 999,999,999.99", "***.***.***,**"},   // does not fit
      {"-999999999", "@Ez 999,999,999.99", "***.***.***,**"},   // no room for "-"
      {"999.995", "@E 999.99", "***,**"},                       // rounding overflows
      // Plain (not Brazilian) templates.
      {"1234567.5", "999,999,999.99", "  1,234,567.50"},
      {"1234.5", "9999,999.99", "   1,234.50"},
      {"123", "9999,999.99", "     123.00"},
      {"12345678901.23456", "99,999,999,999.9999", "12,345,678,901.2346"},
      {"0.5", "99.99", " 0.50"},
      {"0", "99.99", " 0.00"},
      {"0.5", ".99", ".50"},
      // Short forms and bare templates.
      {"7", "@z 99", " 7"},
      {"0", "@z 99", "  "},
      {"7", "@Z99", " 7"},
      {"0", "@Z99", "  "},
      {"12.344", "@Z 999.99", " 12.34"},
      {"5", "@ 99", " 5"},
      {"123", "@ 99", "**"},
      {"-5", "@ 99", "-5"},
      {"-15", "@ 99", "**"},
      {"3.14159", "@Z 99.999999", " 3.141590"},
      {"1234", "@R ##99-9999", "    -1234"},
      {"2.0429", "@E 9.9999", "2,0429"},
      {"20.0429", "@E 9.9999", "*,****"},  // a dollar rate of 10 or more
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " in " << c.picture);
    EXPECT_EQ(TRANSFORM(D(c.value), c.picture), c.shown);
  }
}

TEST(TransformNumber, WithoutTemplateUsesFieldSize) {
  EXPECT_EQ(TRANSFORM(D("1234.5"), "@E", 10, 2), "   1234,50");
  EXPECT_EQ(TRANSFORM(D("0"), "@Z", 6, 2), "      ");
  EXPECT_EQ(TRANSFORM(D("12345678"), "", 5, 0), "*****");
  EXPECT_EQ(TRANSFORM(42, ""), "        42");
  EXPECT_EQ(TRANSFORM(D("1.5"), ""), "       1.5");
}

struct TextCase { const char* text; const char* picture; const char* shown; };

TEST(TransformText, Table) {
  const TextCase cases[] = {
      {"12345678909", "@R 999.999.999-99", "123.456.789-09"},
      {"", "@R 999.999.999-99", "   .   .   -  "},
      {"12345678000195", "@R 99.999.999/9999-99", "12.345.678/0001-95"},
      {"01310100", "@r 99999-999", "01310-100"},
      {"11987654321", "@R ##99-9999", "1198-7654"},  // extra bytes dropped
      {"ab1234", "@R !!!!!-!", "AB123-4"},
      {"abc", "@!", "ABC"},
      {"abc", "!XX", "Abc"},
      {"abcdef", "XX-XX", "ab-de"},  // without R a literal takes a byte's place
      {"a long description text", "@S6", "a long"},
      {"short", "@s8", "short   "},
      {"name", "@KS", "name"},
      {"maria", "@!s3", "MAR"},
      {"   ", "@Z", "   "},
      {"", "@Z 999", "   "},
      {"abc", "@K ", "abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" in " << c.picture);
    EXPECT_EQ(TRANSFORM(std::string(c.text), c.picture), c.shown);
  }
}

TEST(TransformText, AccentedLiteralsAndUpperCase) {
  EXPECT_EQ(TRANSFORM("joão"_cp, "@!"), "JOÃO"_cp.str());
  EXPECT_EQ(TRANSFORM("ação"_cp, "!XXX"), "Ação"_cp.str());
}

TEST(TransformOther, DatesAndLogicals) {
  Date d = Date::ymd(2014, 4, 30);
  EXPECT_EQ(TRANSFORM(d, "@D"), "30/04/2014");
  EXPECT_EQ(TRANSFORM(d, "@ D"), "30/04/2014");
  EXPECT_EQ(TRANSFORM(d, "@d"), "30/04/2014");
  EXPECT_EQ(TRANSFORM(Date(), "@D"), "  /  /    ");
  EXPECT_EQ(TRANSFORM(Date(), "@Z"), "          ");
  EXPECT_EQ(TRANSFORM(true, ""), "T");
  EXPECT_EQ(TRANSFORM(false, "Y"), "N");
}

TEST(PictureWidth, FromTemplateScrollOrField) {
  EXPECT_EQ(PICTURE_WIDTH("@Ez 999,999,999.99", ValueKind::Number), 14);
  EXPECT_EQ(PICTURE_WIDTH("@Z99", ValueKind::Number), 2);
  EXPECT_EQ(PICTURE_WIDTH("@E", ValueKind::Number, 8), 8);
  EXPECT_EQ(PICTURE_WIDTH("@E", ValueKind::Number), 10);
  EXPECT_EQ(PICTURE_WIDTH("@R 999.999.999-99", ValueKind::Text, 11), 14);
  EXPECT_EQ(PICTURE_WIDTH("@S18", ValueKind::Text, 60), 18);
  EXPECT_EQ(PICTURE_WIDTH("@!", ValueKind::Text, 40), 40);
  EXPECT_EQ(PICTURE_WIDTH("@D", ValueKind::Date), 10);
  EXPECT_EQ(PICTURE_WIDTH("", ValueKind::Logical), 1);
}

struct ReadCase { const char* text; const char* picture; ReadStatus status; const char* value; };

TEST(PictureRead, BlankValueOverflowInvalid) {
  const ReadCase cases[] = {
      {"  1.234.567,89", "@Ez 999,999,999.99", ReadStatus::Value, "1234567.89"},
      {"     -1.234,50", "@Ez 999,999,999.99", ReadStatus::Value, "-1234.5"},
      {"         -0,01", "@Ez 999,999,999.99", ReadStatus::Value, "-0.01"},
      {"              ", "@Ez 999,999,999.99", ReadStatus::Blank, "0"},
      {"", "@Ez 999,999,999.99", ReadStatus::Blank, "0"},
      {"***.***.***,**", "@Ez 999,999,999.99", ReadStatus::Overflow, "0"},
      {"*,****", "@E 9.9999", ReadStatus::Overflow, "0"},
      {"  1,234,567.50", "999,999,999.99", ReadStatus::Value, "1234567.5"},
      {"12a", "@Z 999", ReadStatus::Invalid, "0"},
      {"1,2,3", "@E 999.99", ReadStatus::Invalid, "0"},
      {"1.234,56", "999,999.99", ReadStatus::Invalid, "0"},  // separators swapped
      {"1,234.56", "@E 999,999.99", ReadStatus::Invalid, "0"},
      {"    -1234", "@R ##99-9999", ReadStatus::Value, "1234"},  // "-" of the template
      {"   -5-1234", "@R ###99-9999", ReadStatus::Value, "-51234"},
      {" 7", "@z 99", ReadStatus::Value, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" in " << c.picture);
    PictureRead r = PICTURE_READ(c.text, c.picture);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.value, D(c.value));
    auto v = PICTURE_VALUE(c.text, c.picture);
    EXPECT_EQ(v.has_value(), r.ok());
  }
}

TEST(PictureRead, EveryShownAmountReadsBack) {
  const char* pictures[] = {"@Ez 999,999,999.99", "@E 99,999,999,999.9999", "999,999.99", "@Z 999.99"};
  const char* values[] = {"0.01", "-0.5", "123.45", "999.99", "-99.99", "100"};
  for (const char* p : pictures)
    for (const char* v : values) {
      SCOPED_TRACE(testing::Message() << v << " in " << p);
      auto back = PICTURE_VALUE(TRANSFORM(D(v), p), p);
      ASSERT_TRUE(back.has_value());
      EXPECT_EQ(*back, D(v));
    }
}

}  // namespace
}  // namespace tx
