// Matrix: the in-memory tables of formatted strings that the matrix editor
// (ItemEditor::MBROWSE) edits - twelve months plus a total row, or a fixed
// set of lines - and the description of one such list.
//
// Every cell is text exactly as shown; a numeric column's cells are the
// number formatted with the column's picture (`pictures`, TAB_MASC), so an
// edit reads the text back through that picture, edits the number and
// writes it formatted again.
//
// MatrixDescriptor is data as ListDescriptor is: the list code, the window,
// the frozen columns, the keys that leave besides Tab, Shift-Tab, Esc and
// F1, which cells refuse an edit (with the message shown), and the
// recomputation run after every edit.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/decimal.hpp"
#include "screen/panel.hpp"

namespace tx::items {

struct Matrix {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> pictures;   // one per column
  std::vector<std::string> headings;   // one per column

  int row_count() const { return static_cast<int>(rows.size()); }
  int column_count() const { return static_cast<int>(headings.size()); }
  // Cell (1-based); "" outside.
  const std::string& at(int row, int col) const;
  void set(int row, int col, std::string text);
  // The number a cell shows ("" and unreadable text give 0).
  Decimal number(int row, int col) const;
  // Writes a number formatted with the column's picture.
  void set_number(int row, int col, Decimal v);
};

struct MatrixDescriptor {
  int code = 0;
  std::string title;
  screen::Rect window{6, 11, 20, 41};
  int frame = 2;
  int frozen = 0;
  std::vector<int> leave_keys;
  // The message that refuses an edit of a cell; empty when it may be edited.
  std::function<std::string(const Matrix&, int row, int col)> refuse;
  std::function<void(Matrix&, int row, int col)> recompute;  // after an edit of (row, col)
  // Extra keys: run on the cell under the cursor.
  std::map<int, std::function<void(Matrix&, int row, int col)>> key_actions;
};

}  // namespace tx::items
