// Record layouts of every table the system creates itself.
//
// Interface
//   table_layout(number)     -> the fields, in record order, of table `number`:
//                               declaration tables 1-20, working copies 21-40
//                               (the very same layout object as number - 20),
//                               office tables 41-44, 50, 52-54, 56, 57, 63, 67,
//                               68, 70, 72, 73, 74. nullptr for the delivered
//                               reference tables (their structure is whatever
//                               the delivered file has) and unknown numbers.
//   record_length(fields)    -> bytes of one record: 1 deletion byte + widths
//   creation_message(number) -> the progress text shown while the table file
//                               is created; empty for tables created without
//                               a progress box
//
// Invariants (checked by the tests for every table): names are upper case,
// 1-10 characters and unique within a table; C widths 1-512; N widths 1-20
// with fewer decimals than width; D is 8 bytes and L 1.
//
// The layouts are built once, on first use, from the compact rows of
// layout_rows.hpp and never change afterwards, so the pointers stay valid for
// the whole run.
#pragma once

#include <string>
#include <vector>

#include "storage/field.hpp"

namespace tx::storage {

const std::vector<FieldDef>* table_layout(int number);

int record_length(const std::vector<FieldDef>& fields);

std::string creation_message(int number);

}  // namespace tx::storage
