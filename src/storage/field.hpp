// Field descriptors and the read-only view of one record that index keys,
// filters and layouts share.
//
// Interface
//   FieldDef{name, type, len, dec}   type: 'C' 'N' 'D' 'L' 'M'; names upper case
//   RecordView                       what an expression reads from a record:
//     field_index(name)  -> index or -1 (names matched without regard to case)
//     field(i)           -> its descriptor
//     raw(i)             -> the field's bytes exactly as stored (len bytes)
//
// Invariant: raw(i).size() == field(i).len for every field.
#pragma once

#include <string>
#include <string_view>

namespace tx::storage {

struct FieldDef {
  std::string name;  // upper case, at most 10 characters
  char type = 'C';   // C N D L M
  int len = 1;       // bytes in the record (C up to 65535, N up to 20, D 8, L 1, M 10)
  int dec = 0;       // decimals of N
};

class RecordView {
 public:
  virtual ~RecordView() = default;
  virtual int field_count() const = 0;
  virtual int field_index(std::string_view name) const = 0;
  virtual const FieldDef& field(int i) const = 0;
  virtual std::string_view raw(int i) const = 0;
};

}  // namespace tx::storage
