// StatusBar: the parts shown on the console's bottom row for one window.
//
// A part shows a fixed text or, when it has an expression, the expression's
// value at every refresh (the one-second tick redraws the active window's
// bar). A part of width 0 is as wide as its text; parts are laid out left to
// right, one blank apart, and cut at the 80th column.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/console.hpp"

namespace tx::screen {

inline constexpr int kStatusRow = platform::kRows - 1;  // physical row 26
inline constexpr unsigned char kStatusAttr = 0x70;

struct SBPart {
  int index = 1;                            // 1 = first part
  std::string text;
  std::function<std::string()> expr;        // re-evaluated at every refresh
  std::string tooltip;
  int width = 0;                            // 0: the text's length
  std::string shown() const { return expr ? expr() : text; }
};

class StatusBar {
 public:
  std::vector<SBPart> parts;

  // Changes part `index` (1-based) and redraws when `console` is given.
  void setText(int index, std::string text, platform::Console* console = nullptr);
  void draw(platform::Console& console) const;
};

}  // namespace tx::screen
