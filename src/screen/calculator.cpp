// The pop-up calculator: the machine and its dialog.
#include "screen/calculator.hpp"

#include <algorithm>
#include <array>

#include "base/codepage.hpp"
#include "base/picture.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"

namespace tx::screen {

namespace {

constexpr std::string_view kWhole = "@Ez 99,999,999,999";
constexpr std::string_view kFraction = "@Ez 99,999,999,999.9999";
constexpr int kNumberEnd = 23, kMemoryCol = 2, kOperatorCol = 25;

char upper(int k) { return static_cast<char>(k >= 'a' && k <= 'z' ? k - 32 : k); }

}  // namespace

// ---- the machine ---------------------------------------------------------------

void Calculator::start_entry() {
  int_part_.clear();
  dec_part_.clear();
  has_point_ = negative_ = closed_ = false;
  entering_ = true;
}

Decimal Calculator::entry_value() const {
  std::string text = (int_part_.empty() ? "0" : int_part_) + (dec_part_.empty() ? "" : "." + dec_part_);
  Decimal v = Decimal::parse(text).value_or(Decimal());
  return negative_ ? -v : v;
}

Decimal Calculator::shown() const { return entering_ ? entry_value() : acc_; }

Calculator::Outcome Calculator::digit(char c) {
  if (!entering_ || closed_) start_entry();
  if (!has_point_) {
    if (int_part_.empty() && c == '0') return Outcome::Continue;
    if (static_cast<int>(int_part_.size()) >= kIntDigits) return Outcome::Beep;
    int_part_ += c;
  } else {
    if (static_cast<int>(dec_part_.size()) >= kDecDigits) return Outcome::Beep;
    dec_part_ += c;
  }
  return Outcome::Continue;
}

Calculator::Outcome Calculator::point() {
  if (!entering_ || closed_) start_entry();
  if (has_point_) return Outcome::Beep;
  has_point_ = decimals_ = true;
  return Outcome::Continue;
}

bool Calculator::finish() {
  if (!entering_) return true;
  Decimal v = entry_value();
  switch (op_) {
    case '+': acc_ = acc_ + v; break;
    case '-': acc_ = acc_ - v; break;
    case '*': acc_ = acc_ * v; break;
    case '/':
      if (v.is_zero()) {
        failed_ = true;
        acc_ = Decimal();
        op_ = 0;
        entering_ = false;
        return false;
      }
      acc_ = acc_ / v;
      decimals_ = true;
      break;
    default: acc_ = v; break;
  }
  op_ = 0;
  entering_ = false;
  return true;
}

Calculator::Outcome Calculator::operate(char op) {
  if (!finish()) return Outcome::Beep;
  op_ = op;
  return Outcome::Continue;
}

Calculator::Outcome Calculator::key(int k) {
  if (k == key::kEsc) return Outcome::Cancel;
  if (k == key::kCtrlEnter) {
    if (failed_ || !finish()) return Outcome::Cancel;
    return Outcome::Accept;
  }
  const char c = k >= 32 && k <= 255 ? upper(k) : 0;
  if (c == 'C' && !memory_key_) {
    *this = [m = memory_] { Calculator fresh; fresh.memory_ = m; return fresh; }();
    return Outcome::Continue;
  }
  if (failed_) return Outcome::Beep;
  if (memory_key_) {
    memory_key_ = false;
    switch (c) {
      case '+': memory_ = memory_ + shown(); closed_ = entering_; return Outcome::Continue;
      case '-': memory_ = memory_ - shown(); closed_ = entering_; return Outcome::Continue;
      case 'C': memory_ = Decimal(); return Outcome::Continue;
      case 'R': {
        start_entry();
        Decimal m = memory_.round(kDecDigits);
        negative_ = m.negative();
        std::string text = m.abs().str(kDecDigits);
        auto dot = text.find('.');
        int_part_ = text.substr(0, dot);
        if (int_part_ == "0") int_part_.clear();
        std::string frac = text.substr(dot + 1);
        while (!frac.empty() && frac.back() == '0') frac.pop_back();
        if (!frac.empty()) {
          dec_part_ = frac;
          has_point_ = decimals_ = true;
        }
        return Outcome::Continue;
      }
      default: return Outcome::Beep;
    }
  }
  if (c >= '0' && c <= '9') return digit(c);
  switch (c) {
    case '.': case ',': return point();
    case '+': case '-': case '*': case '/': return operate(c);
    case '=': return finish() ? Outcome::Continue : Outcome::Beep;
    case 'I':
      if (entering_ && !closed_) negative_ = !negative_;
      else { acc_ = -shown(); entering_ = false; }
      return Outcome::Continue;
    case 'M': memory_key_ = true; return Outcome::Continue;
    default: break;
  }
  if (k == key::kEnter) return finish() ? Outcome::Continue : Outcome::Beep;
  if (k == key::kBackspace) {
    start_entry();
    return Outcome::Continue;
  }
  return Outcome::Beep;
}

std::string Calculator::number_text() const {
  return TRANSFORM(shown(), decimals_ ? kFraction : kWhole);
}

std::string Calculator::display() const {
  std::string row(kDisplayWidth, ' ');
  if (!memory_.is_zero()) row[kMemoryCol] = 'M';
  std::string n = number_text();
  int start = std::max(0, kNumberEnd + 1 - static_cast<int>(n.size()));
  row.replace(static_cast<std::size_t>(start), std::min(n.size(), row.size() - static_cast<std::size_t>(start)), n);
  if (op_) row[kOperatorCol] = op_ == '/' ? "÷"_cp.view()[0] : op_;
  return row;
}

// ---- the dialog ------------------------------------------------------------------

namespace {

// The key chart, one row of cells per line.
constexpr std::array<std::array<std::string_view, 5>, 5> kChart = {{
    {"Mr ", "Mc ", "M- ", "M+ ", " ^Enter "},
    {" 7 ", " 8 ", " 9 ", " * ", "  ESC   "},
    {" 4 ", " 5 ", " 6 ", " + ", "  <--   "},
    {" 1 ", " 2 ", " 3 ", " - ", "(C)lear "},
    {" 0 ", " . ", " = ", " / ", " I +/-  "},
}};

void draw(Screen& screen, int top, int left, const Calculator& calc, unsigned char attr, unsigned char lit) {
  auto& con = screen.console();
  const int row0 = top + platform::kScreenTop;
  con.put_text(row0 + 1, left, calc.display(), lit);
  for (std::size_t r = 0; r < kChart.size(); ++r) {
    std::string line = " ";
    for (std::size_t c = 0; c < kChart[r].size(); ++c) line += std::string(kChart[r][c]) + (c < 4 ? " " : "");
    con.put_text(row0 + 3 + 2 * static_cast<int>(r), left, PADR(line, kCalculatorCols), attr);
  }
}

}  // namespace

bool CALCULADORA(Screen& screen, int, int top, int left, Decimal& RESULT) {
  top = std::clamp(top, 1, 11);
  left = std::clamp(left, 0, 48);
  auto d = screen.LDLGSHOW(top, left, top + kCalculatorRows - 1, left + kCalculatorCols - 1, "Calculadora");
  const auto attr = static_cast<unsigned char>(ACHACOR(d ? d->cColor : std::string("N/W")));
  const auto lit = static_cast<unsigned char>(ACHACOR(screen.colours.COR_GET));
  Calculator calc;
  bool accepted = false;
  for (;;) {
    draw(screen, top, left, calc, attr, lit);
    int k = screen.wait_key();
    if (k == kQuitKey) break;
    if (k == 0) continue;
    auto out = calc.key(k);
    if (out == Calculator::Outcome::Beep) screen.console().tone(880, 2);
    if (out == Calculator::Outcome::Cancel) break;
    if (out == Calculator::Outcome::Accept) {
      RESULT = calc.result().round(Calculator::kDecDigits);
      accepted = true;
      break;
    }
  }
  if (d) d->close();
  return accepted;
}

void install_calculator(Screen& screen) {
  screen.calculator = [&screen] {
    Decimal result;
    CALCULADORA(screen, 0, 11, 11, result);
  };
}

}  // namespace tx::screen
