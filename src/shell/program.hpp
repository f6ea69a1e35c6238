// The program's entry and its top-level loop.
//
// run_program(argc, argv) picks the console: the terminal, or the headless
// console when `--headless-script FILE` (or TX2014_HEADLESS_SCRIPT=FILE) is
// given, in which case the final screen is printed to standard output as
// UTF-8 text (exit status 3 when the script ran out before the program
// ended, 2 when the script could not be read or parsed).
//
// Program holds the state of one run (the console it draws on, whether it
// is still running, the clock shown); start-up steps and the main menu are
// added to it, never kept in globals.
#pragma once

#include <functional>
#include <string>

#include "platform/console.hpp"

namespace tx::shell {

// Colours of the frame (attribute = background * 16 + foreground).
inline constexpr unsigned char kMenuBarAttr = 0x70;  // black on white
inline constexpr unsigned char kDesktopAttr = 0x17;  // white on blue
inline constexpr unsigned char kStatusAttr = 0x70;

class Program {
 public:
  // `clock` gives the time of day as "hh:mm:ss".
  Program(platform::Console& console, std::function<std::string()> clock);

  // Draws the frame and handles events until the operator leaves (Esc) or
  // the console goes away (Quit). Returns the exit status.
  int run();

  bool running() const { return running_; }

 private:
  void draw_frame();
  void draw_clock();
  void handle(const platform::Event& ev);

  platform::Console& console_;
  std::function<std::string()> clock_;
  bool running_ = false;
  std::string shown_clock_;
};

int run_program(int argc, char** argv);

}  // namespace tx::shell
