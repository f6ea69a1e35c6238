// GetField: one entry field of a form, described as data so that a form is
// a table of fields.
//
// A field names where it stands (row and column of the program's 25x80
// screen), what it edits (a GetBinding: a getter/setter pair over a text,
// Decimal, Date or logical value), how it is shown and typed (an xBase
// picture), when it may be entered (`when`) and how it is checked when the
// operator leaves it going forward (`valid`).
//
// Invariants:
//   - the binding's kind never changes: the kind of the value it returns
//     when the form starts is the kind of the field;
//   - `width` 0 means "from the picture, else from the value" (a text's own
//     length, a number's 10); for a number without template `decimals` gives
//     the digits after the point;
//   - `when` and `valid` may be empty (always enterable / always accepted);
//     `valid` sees the field's new value already stored through the binding
//     and may show its own messages; it returns false to keep the cursor in
//     the field.
#pragma once

#include <functional>
#include <string>
#include <variant>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::screen {

enum class GetKind { Text, Number, Date, Logical };

// The value of a field: alternatives in GetKind order.
using GetValue = std::variant<std::string, Decimal, Date, bool>;

inline GetKind kind_of(const GetValue& v) { return static_cast<GetKind>(v.index()); }

struct GetBinding {
  std::function<GetValue()> get;
  std::function<void(const GetValue&)> set;
};

// Bindings to plain variables (the variable must outlive the form).
GetBinding bind(std::string& text);
GetBinding bind(Decimal& number);
GetBinding bind(Date& date);
GetBinding bind(bool& logical);

struct GetField {
  int row = 0;                 // program row 0..24
  int col = 0;                 // column 0..79
  std::string name;            // optional: the value's name, for look-ups by name
  GetBinding value;
  std::string picture;         // xBase picture, may be empty
  int width = 0;               // value width; 0 = from the picture or the value
  int decimals = 0;            // numbers without template
  std::function<bool()> when;  // empty = always
  std::function<bool()> valid; // empty = always accepted
  unsigned char color = 0x70;         // entry colour (black on white)
  unsigned char active_color = 0x1F;  // active entry colour (bright white on blue)
  bool upper = false;          // text typed in upper case (as "@!")
};

}  // namespace tx::screen
