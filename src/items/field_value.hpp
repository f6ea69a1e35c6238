// Fields of a work area as editor values (GetValue): read by the field's
// type, written back with the type checked, and blank values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "screen/get_field.hpp"
#include "storage/workarea.hpp"

namespace tx::items {

using screen::GetValue;

// The field's descriptor, or nullopt when the area has no such field.
std::optional<storage::FieldDef> field_def(const storage::WorkArea& area, std::string_view field);
// The current record's value (text keeps its trailing blanks).
GetValue read_field(const storage::WorkArea& area, std::string_view field);
// False when the field is missing, the value's kind is not the field's, or
// the write was refused.
bool write_field(storage::WorkArea& area, std::string_view field, const GetValue& v);
// The empty value of a field of type C N D L ("" 0 blank-date false).
GetValue blank_of(char type);
// Whether a value's kind suits a field type.
bool kind_fits(const GetValue& v, char type);

}  // namespace tx::items
