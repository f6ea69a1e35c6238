// The drawing helpers every console shares; they go through put()/get() so a
// driver only has to keep its grid.
#include "platform/console.hpp"

namespace tx::platform {

namespace {
bool inside(int row, int col) { return row >= 0 && row < kRows && col >= 0 && col < kCols; }
std::size_t area(int top, int left, int bottom, int right) {
  return static_cast<std::size_t>(bottom - top + 1) * static_cast<std::size_t>(right - left + 1);
}
}  // namespace

void Console::put_text(int row, int col, std::string_view cp850, unsigned char attr) {
  if (row < 0 || row >= kRows) return;
  for (std::size_t i = 0; i < cp850.size(); ++i) {
    int c = col + static_cast<int>(i);
    if (c >= kCols) break;
    if (c >= 0) put(row, c, static_cast<unsigned char>(cp850[i]), attr);
  }
}

void Console::fill(int top, int left, int bottom, int right, unsigned char ch,
                   unsigned char attr) {
  if (top < 0) top = 0;
  if (left < 0) left = 0;
  if (bottom >= kRows) bottom = kRows - 1;
  if (right >= kCols) right = kCols - 1;
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) put(r, c, ch, attr);
}

std::vector<Cell> Console::save(int top, int left, int bottom, int right) const {
  std::vector<Cell> cells;
  if (bottom < top || right < left) return cells;
  cells.reserve(area(top, left, bottom, right));
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) cells.push_back(inside(r, c) ? get(r, c) : Cell{});
  return cells;
}

void Console::restore(int top, int left, int bottom, int right, const std::vector<Cell>& cells) {
  // A vector of another size belongs to another rectangle: writing it would
  // smear cells across the screen, so nothing is written.
  if (bottom < top || right < left || cells.size() != area(top, left, bottom, right)) return;
  std::size_t i = 0;
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c, ++i)
      if (inside(r, c)) put(r, c, cells[i].ch, cells[i].attr);
}

}  // namespace tx::platform
