// Button: a one-row push button of a window.
//
// The caption is shown without its "&" (the letter after it is the
// shortcut); a caption shorter than 10 characters without surrounding blanks
// is centred in 10. The button's rectangle is one row, right = left + shown
// caption length. Pressing it (click, its shortcut, Enter while it has the
// focus) runs the action and records its number as the window's last
// button.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tx::screen {

inline constexpr unsigned char kButtonAttr = 0x30;     // N/BG
inline constexpr unsigned char kButtonFocus = 0x2F;    // W+/G
inline constexpr unsigned char kButtonHot = 0x34;      // R/BG
inline constexpr unsigned char kButtonHotFocus = 0x2E; // GR+/G
inline constexpr unsigned char kButtonOff = 0x38;      // grey on cyan

// Caption as shown: "&" removed, centred in 10 when short. `hot` gets the
// shortcut letter in upper case (0 when none) and `hot_pos` its position in
// the shown text (-1 when none).
std::string button_caption(std::string_view caption, char* hot = nullptr, int* hot_pos = nullptr);

struct Button {
  int number = 0;                  // 1 + highest number already in the window
  std::string caption;             // as given
  std::string shown;               // as drawn
  char hot = 0;
  int hot_pos = -1;
  int top = 0, left = 0, bottom = 0, right = 0;   // program rows
  std::function<void()> action;
  std::function<bool()> when;      // the button works only while true
  bool enabled = true;

  bool usable() const { return enabled && (!when || when()); }
  bool hit(int row, int col) const { return row == top && col >= left && col < right; }
};

}  // namespace tx::screen
