// Work-area fields as editor values.
#include "items/field_value.hpp"

namespace tx::items {

std::optional<storage::FieldDef> field_def(const storage::WorkArea& area, std::string_view field) {
  if (!area.used()) return std::nullopt;
  int i = area.table().field_index(field);
  if (i < 0) return std::nullopt;
  return area.table().field(i);
}

GetValue blank_of(char type) {
  switch (type) {
    case 'N': return Decimal(0);
    case 'D': return Date{};
    case 'L': return false;
    default: return std::string();
  }
}

bool kind_fits(const GetValue& v, char type) {
  switch (type) {
    case 'N': return std::holds_alternative<Decimal>(v);
    case 'D': return std::holds_alternative<Date>(v);
    case 'L': return std::holds_alternative<bool>(v);
    default: return std::holds_alternative<std::string>(v);
  }
}

GetValue read_field(const storage::WorkArea& area, std::string_view field) {
  auto def = field_def(area, field);
  if (!def) return std::string();
  switch (def->type) {
    case 'N': return area.get_number(field);
    case 'D': return area.get_date(field);
    case 'L': return area.get_logical(field);
    default: return std::string(area.get_text(field));
  }
}

bool write_field(storage::WorkArea& area, std::string_view field, const GetValue& v) {
  auto def = field_def(area, field);
  if (!def || !kind_fits(v, def->type)) return false;
  switch (def->type) {
    case 'N': return area.replace_number(field, std::get<Decimal>(v)).is_ok();
    case 'D': return area.replace_date(field, std::get<Date>(v)).is_ok();
    case 'L': return area.replace_logical(field, std::get<bool>(v)).is_ok();
    default: {
      std::string t = std::get<std::string>(v);
      if (static_cast<int>(t.size()) > def->len) t.resize(static_cast<std::size_t>(def->len));
      return area.replace_text(field, t).is_ok();
    }
  }
}

}  // namespace tx::items
