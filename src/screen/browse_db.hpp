// TBrowseDB: the grid over a table, and the table skip (SKIPPED) that
// moves it.
//
// TableSkip stands for one work area. SKIPPED(n) follows the grid's skip
// contract:
//   - a table without visible records skips 0;
//   - n = 0 re-reads the current record and skips 0;
//   - n > 0 moves forward one record at a time; reaching the end of the
//     table counts one more step and stops on the blank row after the last
//     record when `appending` says so, otherwise it goes back to the last
//     record (that step not counted); on that blank row it skips 0;
//   - n < 0 moves back one record at a time until n is reached or the first
//     record is passed;
//   - the result is the number of records really skipped (negative back).
// `appending` is read at every skip, so the caller may switch it while the
// grid runs. Hidden records (deleted, filtered) never count: the work area's
// own movements skip them.
#pragma once

#include <functional>
#include <memory>

#include "screen/browse.hpp"
#include "storage/workarea.hpp"

namespace tx::screen {

class TableSkip {
 public:
  explicit TableSkip(storage::WorkArea& area, std::function<bool()> appending = {})
      : area_(&area), appending_(std::move(appending)) {}
  long SKIPPED(long n);
  void go_top() { area_->go_top(); }
  void go_bottom() { area_->go_bottom(); }
  bool empty();                 // no visible record (the position is kept)
  storage::WorkArea& area() { return *area_; }

 private:
  storage::WorkArea* area_;
  std::function<bool()> appending_;
};

// A grid whose movements are those of `area` (the skip object is shared by
// the grid's blocks and kept in its Cargo).
TBrowse TBrowseDB(platform::Console& console, int top, int left, int bottom, int right,
                  storage::WorkArea& area, std::function<bool()> appending = {});

// A column over a field of `area`: its value as the field's type, shown with
// the picture; numbers without template take the field's width and decimals.
TBColumn field_column(storage::WorkArea& area, std::string heading, std::string field,
                      std::string picture = {});

}  // namespace tx::screen
