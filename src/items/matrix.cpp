// Matrix cells as text and as numbers.
#include "items/matrix.hpp"

#include "base/helpers.hpp"
#include "base/picture.hpp"

namespace tx::items {

namespace {
const std::string kNone;
}

const std::string& Matrix::at(int row, int col) const {
  if (row < 1 || row > row_count()) return kNone;
  const auto& r = rows[static_cast<std::size_t>(row - 1)];
  if (col < 1 || col > static_cast<int>(r.size())) return kNone;
  return r[static_cast<std::size_t>(col - 1)];
}

void Matrix::set(int row, int col, std::string text) {
  if (row < 1 || row > row_count() || col < 1) return;
  auto& r = rows[static_cast<std::size_t>(row - 1)];
  if (static_cast<int>(r.size()) < col) r.resize(static_cast<std::size_t>(col));
  r[static_cast<std::size_t>(col - 1)] = std::move(text);
}

Decimal Matrix::number(int row, int col) const {
  const std::string& t = at(row, col);
  std::string pic = col >= 1 && col <= static_cast<int>(pictures.size()) ? pictures[static_cast<std::size_t>(col - 1)] : "";
  if (!pic.empty()) {
    if (auto v = PICTURE_VALUE(t, pic)) return *v;
  }
  return CAR_TO_VAL(t);
}

void Matrix::set_number(int row, int col, Decimal v) {
  std::string pic = col >= 1 && col <= static_cast<int>(pictures.size()) ? pictures[static_cast<std::size_t>(col - 1)] : "";
  set(row, col, TRANSFORM(v, pic));
}

}  // namespace tx::items
