// Calculator: the small pop-up calculator of choice panels and the letter
// editor.
//
// Calculator is the machine alone (no screen), fed one key at a time:
//   digits            at most 10 before and 4 after the decimal point
//   "." or ","        the decimal point (once per entry)
//   Backspace         clears the entry
//   "I"               changes the sign of the number shown
//   + - * /           operate on the running result (the pending operation
//                     is done first)
//   "=" or Enter      shows the result
//   "M" then + - R C  memory: add the number shown, subtract it, put the
//                     memory into the entry (decimals included), clear it
//   "C"               clears everything but the memory
//   Esc               leaves without a result (Outcome::Cancel)
//   Ctrl-Enter        finishes the pending operation and leaves accepting
//                     (Outcome::Accept), unless a division by zero happened:
//                     then it leaves without a result (Outcome::Cancel)
// A refused key (a digit beyond the limits, a second point, an unknown key,
// a division by zero) answers Outcome::Beep and changes nothing else. After
// a division by zero the display shows nothing and every key but "C", Esc
// and Ctrl-Enter beeps.
//
// display() is the display row, as wide as the dialog: "M" at column 2
// while the memory is not zero, the number right-aligned up to column 23
// ("@Ez 99,999,999,999", or "@Ez 99,999,999,999.9999" once a point was
// typed, a division made or a memory with decimals recalled) and the
// pending operator at column 25 ("÷" for division).
//
// CALCULADORA(screen, panel, top, left, RESULT) runs it in a dialog
// "Calculadora" of 14 rows and 26 columns (top at most 11, left at most 48);
// true when a result was accepted into RESULT. `panel` is the calling
// choice panel, left as it is. install_calculator(screen) makes Alt-A in
// choices open it at the default place (row 11, column 11).
#pragma once

#include <string>

#include "base/decimal.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

class Calculator {
 public:
  enum class Outcome { Continue, Beep, Accept, Cancel };

  Outcome key(int k);

  Decimal shown() const;       // the number on the display
  Decimal result() const { return shown(); }
  Decimal memory() const { return memory_; }
  char pending() const { return op_; }   // '+', '-', '*', '/' or 0
  bool failed() const { return failed_; }
  std::string number_text() const;  // the number as the display shows it
  std::string display() const;

  static constexpr int kIntDigits = 10, kDecDigits = 4, kDisplayWidth = 26;

 private:
  Outcome digit(char c);
  Outcome point();
  Outcome operate(char op);
  bool finish();  // does the pending operation; false on a division by zero
  Decimal entry_value() const;
  void start_entry();

  std::string int_part_, dec_part_;  // the entry being typed
  bool entering_ = false, has_point_ = false, negative_ = false;
  bool closed_ = false;      // the entry is shown but the next digit starts a new one
  Decimal acc_;
  char op_ = 0;
  Decimal memory_;
  bool memory_key_ = false;  // "M" typed, waiting for + - R C
  bool decimals_ = false;    // show four decimals
  bool failed_ = false;      // division by zero since the last "C"
};

inline constexpr int kCalculatorRows = 14, kCalculatorCols = 26;

bool CALCULADORA(Screen& screen, int panel, int top, int left, Decimal& RESULT);
void install_calculator(Screen& screen);

}  // namespace tx::screen
