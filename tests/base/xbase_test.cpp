#include "base/xbase.hpp"

#include <gtest/gtest.h>

#include "base/codepage.hpp"

namespace tx {
namespace {

Decimal D(const char* s) { return *Decimal::parse(s); }

TEST(Padding, CutsAndFills) {
  EXPECT_EQ(PADR("abc", 5), "abc  ");
  EXPECT_EQ(PADR("abcdef", 3), "abc");
  EXPECT_EQ(PADR("ab", 4, '*'), "ab**");
  EXPECT_EQ(PADL("abc", 5), "  abc");
  EXPECT_EQ(PADL("abcdef", 3), "def");
  EXPECT_EQ(PADL("7", 2, '0'), "07");
  EXPECT_EQ(PADC("ab", 5), " ab  ");
  EXPECT_EQ(PADC("ab", 6, '-'), "--ab--");
  EXPECT_EQ(PADC("abcdef", 4), "abcd");
  EXPECT_EQ(PADR("abc", 0), "");
  EXPECT_EQ(PADL("abc", -2), "");
}

struct StrCase { const char* value; int width, dec; const char* str, *strzero; };

TEST(Str, RightAlignedRoundedOrAsterisks) {
  const StrCase cases[] = {
      {"5", 10, 0, "         5", "0000000005"},
      {"1.005", 6, 2, "  1.01", "001.01"},     // half away from zero
      {"-1.005", 6, 2, " -1.01", "-01.01"},
      {"2.5", 3, 0, "  3", "003"},
      {"-2.5", 3, 0, " -3", "-03"},
      {"1234", 3, 0, "***", "***"},          // too wide
      {"-123", 3, 0, "***", "***"},          // the sign needs a place too
      {"123", 3, 0, "123", "123"},
      {"0.004", 5, 2, " 0.00", "00.00"},
      {"-0.004", 5, 2, " 0.00", "00.00"},     // no "-0.00"
      {"12.5", 4, 1, "12.5", "12.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(STR(D(c.value), c.width, c.dec), c.str);
    EXPECT_EQ(STRZERO(D(c.value), c.width, c.dec), c.strzero);
  }
  EXPECT_EQ(STR(42), "        42");
}

TEST(Case, AsciiAndAccentedPairs) {
  EXPECT_EQ(UPPER("Jose da Silva 12"), "JOSE DA SILVA 12");
  EXPECT_EQ(UPPER("joão conceição ñüé"_cp), "JOÃO CONCEIÇÃO ÑÜÉ"_cp.str());
  EXPECT_EQ(LOWER("ÁÉÍÓÚÂÊÔÃÕÇ"_cp), "áéíóúâêôãõç"_cp.str());
  EXPECT_EQ(UPPER("ß"_cp), "ß"_cp.str());  // no capital partner
  // Box-drawing bytes share values with nothing: they never change.
  std::string box = "\xC4\xB3\xDA\xBF";
  EXPECT_EQ(UPPER(box), box);
  EXPECT_EQ(LOWER(box), box);
}

TEST(Trim, BlanksOnly) {
  EXPECT_EQ(ALLTRIM("  a b  "), "a b");
  EXPECT_EQ(LTRIM("  a  "), "a  ");
  EXPECT_EQ(RTRIM("  a  "), "  a");
  EXPECT_EQ(TRIM("x \n"), "x \n");  // a line feed is not a blank to trim
  EXPECT_EQ(ALLTRIM("    "), "");
}

struct SubCase { long start, count; const char* want; };

TEST(Substr, OneBasedRules) {
  const SubCase cases[] = {
      {1, 3, "abc"},  {0, 2, "ab"},   {3, kAll, "cdef"}, {6, 5, "f"},
      {7, 1, ""},     {-1, 1, "f"},   {-3, 2, "de"},     {-6, 2, "ab"},
      {-10, 2, "ab"}, {2, 0, ""},     {2, -1, ""},       {1, 100, "abcdef"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.count);
    EXPECT_EQ(SUBSTR("abcdef", c.start, c.count), c.want);
  }
  EXPECT_EQ(SUBSTR("", 1, 1), "");
  EXPECT_EQ(LEFT("abc", 2), "ab");
  EXPECT_EQ(LEFT("abc", 9), "abc");
  EXPECT_EQ(LEFT("abc", -1), "");
  EXPECT_EQ(RIGHT("abc", 2), "bc");
  EXPECT_EQ(RIGHT("abc", 9), "abc");
}

TEST(Search, AtRatReplicateStrtran) {
  EXPECT_EQ(AT("b", "abcb"), 2);
  EXPECT_EQ(RAT("b", "abcb"), 4);
  EXPECT_EQ(AT("z", "abc"), 0);
  EXPECT_EQ(AT("", "abc"), 0);
  EXPECT_EQ(RAT("", "abc"), 0);
  EXPECT_EQ(REPLICATE("ab", 3), "ababab");
  EXPECT_EQ(REPLICATE("ab", 0), "");
  EXPECT_EQ(SPACE(3), "   ");
  EXPECT_EQ(STRTRAN("a.b.c", "."), "abc");
  EXPECT_EQ(STRTRAN("a.b.c.d", ".", ",", 2), "a.b,c,d");
  EXPECT_EQ(STRTRAN("a.b.c.d", ".", ",", 1, 1), "a,b.c.d");
  EXPECT_EQ(STRTRAN("aaa", "aa", "b"), "ba");  // occurrences do not overlap
  EXPECT_EQ(STRTRAN("abc", "", "x"), "abc");
}

TEST(Empty, BlanksZeroAndEmptyDate) {
  EXPECT_TRUE(EMPTY(""));
  EXPECT_TRUE(EMPTY(" \t\r\n"));
  EXPECT_FALSE(EMPTY(" 0 "));
  EXPECT_TRUE(EMPTY(Decimal()));
  EXPECT_FALSE(EMPTY(D("0.0001")));
  EXPECT_TRUE(EMPTY(Date()));
  EXPECT_FALSE(EMPTY(Date::ymd(2014, 1, 1)));
}

TEST(AjusCar, FoldsWindowsLettersTheProgramsWay) {
  struct Fold { unsigned char win; std::string cp850; };
  const Fold cases[] = {
      {0xE1, "á"_cp}, {0xE9, "é"_cp}, {0xED, "í"_cp}, {0xF3, "ó"_cp}, {0xFA, "ú"_cp},
      {0xE0, "à"_cp}, {0xE7, "ç"_cp}, {0xC7, "Ç"_cp}, {0xE2, "â"_cp}, {0xEA, "ê"_cp},
      {0xF4, "ô"_cp}, {0xFB, "û"_cp}, {0xC9, "É"_cp},
      {0xE3, "ä"_cp}, {0xF5, "ö"_cp},  // ã and õ deliberately become ä and ö
      {0xC1, "A"}, {0xCD, "I"}, {0xD3, "O"}, {0xDA, "U"}, {0xC3, "A"},
      {0xD5, "O"}, {0xC2, "A"}, {0xCA, "E"}, {0xD4, "O"}, {0xDB, "U"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.win));
    EXPECT_EQ(AJUS_CAR(std::string(1, static_cast<char>(c.win)), 1), c.cp850);
  }
  // "JOÃO Conceição" as the official program writes it.
  EXPECT_EQ(AJUS_CAR("JO\xC3O Concei\xE7\xE3o", 1), "JOAO Conceiç"_cp + std::string("\x84o"));
  EXPECT_EQ(AJUS_CAR("plain ASCII 123", 1), "plain ASCII 123");
  EXPECT_EQ(AJUS_CAR("\xE3", 0), "\xE3");  // other modes leave the text alone
}

}  // namespace
}  // namespace tx
