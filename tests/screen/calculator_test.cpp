// The pop-up calculator: key scripts into the machine, and the dialog on the
// headless console.
#include "screen/calculator.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "platform/keys.hpp"
#include "screen_rig.hpp"

namespace tx::screen {
namespace {

// Keys as text: every character is typed, except '<' (Backspace), '~'
// (Enter) and '^' (Ctrl-Enter). Returns the number of beeps; the last
// outcome in `last`.
int feed(Calculator& c, std::string_view keys, Calculator::Outcome* last = nullptr) {
  int beeps = 0;
  for (char ch : keys) {
    int k = ch == '<' ? key::kBackspace : ch == '~' ? key::kEnter : ch == '^' ? key::kCtrlEnter : ch;
    auto out = c.key(k);
    if (out == Calculator::Outcome::Beep) ++beeps;
    if (last) *last = out;
  }
  return beeps;
}

struct Script {
  std::string keys;
  std::string shown;    // the value, as Decimal text with 4 places
  std::string number;   // the number as displayed, trimmed
  int beeps;
};

TEST(Calculator, KeyScripts) {
  const std::vector<Script> cases = {
      {"12+3=", "15.0000", "15", 0},
      {"12+3~", "15.0000", "15", 0},
      {"2+3*4=", "20.0000", "20", 0},        // running result, no precedence
      {"1/4=", "0.2500", "0,2500", 0},       // a division shows decimals
      {"1,5+1.5=", "3.0000", "3,0000", 0},
      {"1234567", "1234567.0000", "1.234.567", 0},
      {"12345678901", "1234567890.0000", "1.234.567.890", 1},  // 10 digits at most
      {"1.23456", "1.2345", "1,2345", 1},    // 4 decimals at most
      {"1.2.3", "1.2300", "1,2300", 1},      // one point
      {"5I", "-5.0000", "-5", 0},
      {"5=I", "-5.0000", "-5", 0},
      {"123<4", "4.0000", "4", 0},           // Backspace clears the entry
      {"3M+4", "4.0000", "4", 0},            // after M+ a digit starts anew
      {"9+1C", "0.0000", "", 0},
      {"x", "0.0000", "", 1},
      {"7/0=", "0.0000", "", 1},
      {"7/0=5+", "0.0000", "", 3},           // nothing but C after that
      {"7/0=C5", "5.0000", "5", 1},
  };
  for (const auto& s : cases) {
    Calculator c;
    EXPECT_EQ(feed(c, s.keys), s.beeps) << s.keys;
    EXPECT_EQ(c.shown().str(4), s.shown) << s.keys;
    std::string n = c.number_text();
    n.erase(0, n.find_first_not_of(' '));
    EXPECT_EQ(n, s.number) << s.keys;
  }
}

TEST(Calculator, Memory) {
  struct M { std::string keys; std::string memory, shown; };
  for (const auto& m : std::vector<M>{
           {"2.5M+C", "2.5000", "0.0000"},
           {"2.5M+CMR", "2.5000", "2.5000"},
           {"3M+M-", "0.0000", "3.0000"},
           {"3M+MC", "0.0000", "3.0000"},
           {"3M+2M-", "1.0000", "2.0000"},
           {"1/3=M+CMR", "0.3333", "0.3333"},
           {"4M+CIMR", "4.0000", "4.0000"},
       }) {
    Calculator c;
    EXPECT_EQ(feed(c, m.keys), 0) << m.keys;
    EXPECT_EQ(c.memory().round(4).str(4), m.memory) << m.keys;
    EXPECT_EQ(c.shown().str(4), m.shown) << m.keys;
  }
  Calculator c;
  EXPECT_EQ(feed(c, "MX"), 1);  // M and an unknown letter
}

TEST(Calculator, RecalledDecimalsAreShown) {
  Calculator c;
  feed(c, "2.75M+C");
  EXPECT_EQ(c.number_text().find(','), std::string::npos);
  feed(c, "MR");
  std::string n = c.number_text();
  EXPECT_EQ(n.substr(n.find_first_not_of(' ')), "2,7500");
}

TEST(Calculator, DisplayRow) {
  Calculator c;
  feed(c, "7");
  std::string row = c.display();
  ASSERT_EQ(row.size(), 26u);
  EXPECT_EQ(row[23], '7');
  EXPECT_EQ(row[25], ' ');
  EXPECT_EQ(row[2], ' ');
  feed(c, "/");
  EXPECT_EQ(c.display()[25], "÷"_cp.view()[0]);
  feed(c, "*");
  EXPECT_EQ(c.display()[25], '*');
  feed(c, "2M+");
  EXPECT_EQ(c.display()[2], 'M');
  feed(c, "MC");
  EXPECT_EQ(c.display()[2], ' ');
}

TEST(Calculator, LeavingKeys) {
  struct L { std::string keys; Calculator::Outcome out; std::string result; };
  for (const auto& l : std::vector<L>{
           {"2+3^", Calculator::Outcome::Accept, "5.0000"},
           {"2+3=^", Calculator::Outcome::Accept, "5.0000"},
           {"7/0=^", Calculator::Outcome::Cancel, "0.0000"},
           {"7/0^", Calculator::Outcome::Cancel, "0.0000"},
           {"2+3\x1b", Calculator::Outcome::Cancel, "3.0000"},
       }) {
    Calculator c;
    Calculator::Outcome out{};
    feed(c, l.keys, &out);
    EXPECT_EQ(out, l.out) << l.keys;
    EXPECT_EQ(c.result().str(4), l.result) << l.keys;
  }
}

TEST(CalculatorDialog, AcceptsWithCtrlEnterAndRestoresTheScreen) {
  test::Rig rig("12*3{Ctrl-Enter}");
  rig.pattern();
  auto before = rig.all();
  Decimal result;
  EXPECT_TRUE(CALCULADORA(rig.screen, 1, 11, 11, result));
  EXPECT_EQ(result, Decimal(36));
  EXPECT_EQ(rig.all(), before);
}

TEST(CalculatorDialog, DivisionByZeroBeepsAndGivesNothing) {
  test::Rig rig("7/0={Ctrl-Enter}");
  Decimal result = 99;
  EXPECT_FALSE(CALCULADORA(rig.screen, 1, 11, 11, result));
  EXPECT_EQ(result, Decimal(99));
  EXPECT_FALSE(rig.con->tones().empty());
}

TEST(CalculatorDialog, DrawnWithinItsLimits) {
  test::Rig rig("12/");  // the script runs out with the dialog open
  Decimal result;
  EXPECT_FALSE(CALCULADORA(rig.screen, 1, 20, 70, result));
  const std::string& seen = rig.con->exhausted_message();
  EXPECT_NE(seen.find("Calculadora"), std::string::npos) << seen;
  EXPECT_NE(seen.find("^Enter"), std::string::npos) << seen;
  // Placed at row 11, column 48 at most: the number ends at column 48 + 23,
  // the operator at 48 + 25.
  auto at = seen.find("12 ÷");
  ASSERT_NE(at, std::string::npos) << seen;
  auto line_start = seen.rfind('\n', at) + 1;
  std::string line = seen.substr(line_start, at - line_start);
  std::string cells = line.substr(line.find(':') + 2);
  EXPECT_EQ(cells.size(), 48u + 22u) << seen;
}

TEST(CalculatorDialog, AltAInAChoiceOpensIt) {
  test::Rig rig("5{Esc}{Tick}x");
  install_calculator(rig.screen);
  ASSERT_TRUE(rig.screen.calculator);
  rig.screen.calculator();
  EXPECT_EQ(rig.con->events_left(), 1u);  // Esc closed it; "x", typed later, is left
  EXPECT_TRUE(rig.con->tones().empty());
}

}  // namespace
}  // namespace tx::screen
