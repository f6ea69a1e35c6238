#include "base/helpers.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/picture.hpp"

namespace tx {
namespace {

Decimal D(const char* s) { return *Decimal::parse(s); }

struct CutCase { const char* value; int width, dec, mode; const char* number; const char* text; };

TEST(Despreza, RoundsTwoPlacesFurtherThenCuts) {
  const CutCase cases[] = {
      {"1.23996", 10, 2, 0, "1.24", "    1.24"},
      {"1.2349", 10, 2, 0, "1.23", "    1.23"},
      {"1.23995", 10, 2, 0, "1.24", "    1.24"},   // 1.2400 after rounding
      {"1.23994", 10, 2, 0, "1.23", "    1.23"},
      {"-1.23996", 10, 2, 0, "-1.24", "   -1.24"},
      {"-1.2349", 10, 2, 0, "-1.23", "   -1.23"},
      {"333.333333", 15, 2, 0, "333.33", "       333.33"},
      {"0.1234567", 12, 4, 0, "0.1234", "    0.1234"},  // 0.123457 cut to 4
      {"12.999", 8, 0, 0, "13", "    13"},
      {"12.98", 8, 0, 0, "12", "    12"},
      {"1.23996", 10, 2, 1, "1.23", "    1.23"},   // mode 1: no rounding first
      {"-1.23996", 10, 2, 1, "-1.23", "   -1.23"},
      {"1.23996", 10, 2, 7, "1.24", "    1.24"},   // unknown modes act as 0
      // Too wide for its width: the number stays exact, the text overflows.
      {"12345678.129", 8, 2, 0, "12345678.12", "******"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " w" << c.width << " d" << c.dec << " m" << c.mode);
    EXPECT_EQ(DESPREZA(D(c.value), c.width, c.dec, c.mode), D(c.number));
    EXPECT_EQ(DESPREZA_TXT(D(c.value), c.width, c.dec, c.mode), c.text);
  }
}

struct TypedCase { const char* text; const char* value; bool clean; };

TEST(CarToVal, BrazilianTypedAmounts) {
  const TypedCase cases[] = {
      {"1.234,56", "1234.56", true},
      {"", "0", true},
      {"              ", "0", true},
      {"  1.234.567,89", "1234567.89", true},
      {"     -1.234,50", "-1234.5", true},
      {"         -0,01", "-0.01", true},
      {"12,3,4", "12.3", false},    // second comma: VAL stops there
      {"1.5", "15", true},          // a dot is never a decimal point here
      {"10,", "10", true},
      {",5", "0.5", true},
      {"abc", "0", false},
      {"***.***.***,**", "0", false},  // an amount that did not fit its picture
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CAR_TO_VAL(c.text), D(c.value));
    auto checked = CAR_TO_VAL_CHECKED(c.text);
    EXPECT_EQ(checked.has_value(), c.clean);
    if (checked) {
      EXPECT_EQ(*checked, D(c.value));
    }
  }
}

TEST(CarToVal, MonthlyMatrixCellsRoundTrip) {
  // Cells are kept as "@Ez 999,999,999.99" text and read back.
  const char* pic = "@Ez 999,999,999.99";
  const char* values[] = {"0", "0.01", "1234.5", "-77.7", "999999999.99", "12.345"};
  for (const char* v : values) {
    SCOPED_TRACE(v);
    EXPECT_EQ(CAR_TO_VAL(TRANSFORM(D(v), pic)), D(v).round(2));
  }
  EXPECT_FALSE(CAR_TO_VAL_CHECKED(TRANSFORM(D("1000000000"), pic)).has_value());
}

TEST(Names, MonthsAndWeekdays) {
  const char* padded[] = {"Janeiro  ", "Fevereiro", "Marco    ", "Abril    ", "Maio     ", "Junho    ",
                          "Julho    ", "Agosto   ", "Setembro ", "Outubro  ", "Novembro ", "Dezembro "};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(TRAZ_MES(m), padded[m - 1]);
    std::string trimmed = padded[m - 1];
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    EXPECT_EQ(NOME_MES(m), trimmed);
  }
  EXPECT_EQ(TRAZ_MES(0), "         ");
  EXPECT_EQ(TRAZ_MES(13), "         ");
  EXPECT_EQ(NOME_MES(13), "");

  // 27/04/2014 was a Sunday.
  const char* days[] = {"Domingo", "Segunda feira", "Terca feira", "Quarta feira",
                        "Quinta feira", "Sexta feira", "Sabado"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(DIA_SEMANA(Date::ymd(2014, 4, 27) + i), days[i]);
  EXPECT_EQ(DIA_SEMANA(Date()), "");
}

TEST(Clock, SecondsAndElapsedTime) {
  EXPECT_EQ(HORA_SEG("00:00:00"), 0);
  EXPECT_EQ(HORA_SEG("01:02:03"), 3723);
  EXPECT_EQ(HORA_SEG("23:59:59"), 86399);
  EXPECT_EQ(HORA_SEG("10:30"), 37800);
  EXPECT_EQ(SEG_HORA(3723), "01:02:03");
  EXPECT_EQ(SEG_HORA(0), "00:00:00");
  EXPECT_EQ(SEG_HORA(90000), "01:00:00");  // hours modulo 24
  EXPECT_EQ(SEG_HORA(-1), "23:59:59");

  struct Span { const char* start; const char* end; long seconds; const char* text; };
  const Span spans[] = {
      {"08:00:00", "09:30:15", 5415, "01:30:15"},
      {"23:59:50", "00:00:10", 20, "00:00:20"},   // across midnight: a whole day added
      {"22:00:00", "01:00:00", 10800, "03:00:00"},
      {"12:00:00", "12:00:00", 0, "00:00:00"},
      {"00:00:01", "00:00:00", 86399, "23:59:59"},
  };
  for (const auto& s : spans) {
    SCOPED_TRACE(testing::Message() << s.start << " -> " << s.end);
    EXPECT_EQ(TEMPO_PAS(s.start, s.end), s.seconds);
    EXPECT_EQ(TEMPO_PAS(s.start, s.end, 1), s.text);
    EXPECT_EQ(TEMPO_PAS(s.start, s.end, 0), std::to_string(s.seconds));
  }
}

class LineReading : public testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "lelinha_" + std::to_string(::getpid()) + ".txt";
    const std::string bytes("one\r\ntwo\n\0three\nlast", 20);
    FILE* f = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  void TearDown() override { std::remove(path_.c_str()); }

  static std::vector<std::string> expected() { return {"one\r\n", "two\n", "", "three\n", "last"}; }
  std::string path_;
};

TEST_F(LineReading, FromFileStream) {
  FILE* f = std::fopen(path_.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<std::string> got;
  std::string line;
  while (LELINHA(f, line)) got.push_back(line);
  EXPECT_EQ(got, expected());
  EXPECT_EQ(LELINHA(f), "");
  std::fclose(f);
}

TEST_F(LineReading, FromDescriptorLeavesTheRestUnread) {
  int fd = ::open(path_.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  std::vector<std::string> got;
  std::string line;
  while (LELINHA(fd, line)) got.push_back(line);
  EXPECT_EQ(got, expected());
  EXPECT_EQ(LELINHA(fd), "");
  ::close(fd);
}

TEST_F(LineReading, FromPipeByteByByte) {
  int p[2];
  ASSERT_EQ(::pipe(p), 0);
  const std::string bytes("a\nb\n", 4);
  ASSERT_EQ(::write(p[1], bytes.data(), bytes.size()), 4);
  ::close(p[1]);
  EXPECT_EQ(LELINHA(p[0]), "a\n");
  EXPECT_EQ(LELINHA(p[0]), "b\n");
  EXPECT_EQ(LELINHA(p[0]), "");
  ::close(p[0]);
}

}  // namespace
}  // namespace tx
