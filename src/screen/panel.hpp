// Panel: one of the ten numbered framed text areas of the screen.
//
// A panel remembers its rectangle (program rows 0-24, columns 0-79), its
// three attributes (text, frame, shade/highlight), its frame type, the last
// text written into it (without colour codes) and, while open, the exact
// cells it covers. Frame types:
//   0  no frame: the text (usually carrying its own box characters) fills
//      the rectangle;
//   1  single box one cell outside: box from (top-1, left-1) to
//      (bottom-1, right-1), text from (top, left);
//   2  single box on the rectangle, text from (top+1, left+1);
//   7  shadow: the text fills the rectangle less two shade columns at the
//      right and a shade row below it (defining one adds two rows).
// Invariant: text is only ever written inside the area that opening the
// panel saved, so closing it restores the screen exactly.
#pragma once

#include <string>
#include <vector>

#include "platform/console.hpp"

namespace tx::screen {

inline constexpr int kPanelCount = 10;
inline constexpr int kScreenRows = 25;  // the program's rows 0-24
inline constexpr int kScreenCols = 80;
inline constexpr unsigned char kCodeColour1 = 1, kCodeColour2 = 2, kCodeColour3 = 3, kCodeRepeat = 4;
inline constexpr int kMoveBack = 129;  // MOVEVER up / MOVEHOR left

struct Rect {
  int top = 0, left = 0, bottom = -1, right = -1;
  bool empty() const { return bottom < top || right < left; }
  int height() const { return bottom - top + 1; }
  int width() const { return right - left + 1; }
};

struct Panel {
  int number = 0;
  int colour1 = 48, colour2 = 112, colour3 = 7;
  int top = 0, left = 0, bottom = 24, right = 79;
  int type = 1;
  std::string text;                    // last text written, colour codes removed
  bool open = false;
  Rect saved_rect;                     // what ABREJAN saved (program rows)
  std::vector<platform::Cell> saved;

  // Rows and columns the text may use, and its usable width.
  Rect text_area() const;
  int text_width() const;
  // The cells ABREJAN saves, clipped to the program's screen.
  Rect save_area() const;
};

}  // namespace tx::screen
