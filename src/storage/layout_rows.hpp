// The compact description from which table layouts are generated.
//
// Interface
//   LayoutRow{names, type, len, dec, from, to, span}
//     names  one or more name patterns separated by blanks, written in the
//            case the layouts have always used (they are stored upper case);
//            "#" is replaced by the counter, "##" by the counter with two
//            digits ("I3_##" -> I3_01)
//     type/len/dec  the type and width shared by every name of the row
//     from..to      the counter range; to < from means a row without counter
//     span          rows repeated together per counter value: this row and
//                   the span - 1 rows after it (which carry no range of their
//                   own); for each counter value every name of every row of
//                   the group is emitted in order, so "I3_## I4_##" over 1..10
//                   gives I3_01, I4_01, I3_02, I4_02 ... I4_10
//   layout_rows(number)  -> the rows of a table the system creates (1-20 and
//                           the office tables), empty for any other number
//   expand_layout(rows)  -> the fields in record order; throws
//                           std::invalid_argument on a malformed row (a "#"
//                           with no counter, a counter no name uses, a group
//                           running past the end)
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "storage/field.hpp"

namespace tx::storage {

struct LayoutRow {
  std::string_view names;
  char type = 'C';
  int len = 1;
  int dec = 0;
  int from = 0;
  int to = -1;
  int span = 1;
};

std::span<const LayoutRow> layout_rows(int number);

// The data behind layout_rows, one list per family of tables.
struct TableRows {
  int number;
  std::span<const LayoutRow> rows;
};
std::span<const TableRows> declaration_table_rows();  // tables 1-20
std::span<const TableRows> office_table_rows();       // tables 41-74 the system creates

std::vector<FieldDef> expand_layout(std::span<const LayoutRow> rows);

}  // namespace tx::storage
