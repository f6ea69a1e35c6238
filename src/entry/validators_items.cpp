#include "entry/validators_items.hpp"

#include "items/field_value.hpp"
#include "items/item_editor.hpp"

namespace tx::entry {

items::Check item_check(const std::string& name, const ItemCheckSetup& setup) {
  const Validator* v = validators().find(name);
  if (!v) return {};
  return [v, setup](items::EditContext& c) {
    CheckInput in;
    in.field = c.column ? c.column->field : std::string();
    in.value = c.value;
    storage::WorkArea* area = &c.area;
    in.get = [area](std::string_view f) -> GetValue {
      if (!items::field_def(*area, f)) return std::string();
      return items::read_field(*area, f);
    };
    in.refs = setup.refs;
    in.cpf = setup.cpf;
    if (setup.today) in.today = setup.today();
    CheckResult r = (*v)(in);
    if (!r.message.empty() && setup.show) setup.show(r.message);
    if (!r.ok) return false;
    for (const Assign& a : r.sets) {
      if (a.field == in.field) {
        c.value = a.value;
        continue;
      }
      auto def = items::field_def(c.area, a.field);
      if (!def) continue;
      // A blank text written to a date or number field is its empty value.
      GetValue value = a.value;
      if (!items::kind_fits(value, def->type)) {
        const auto* s = std::get_if<std::string>(&value);
        if (!s || !s->empty()) continue;
        value = items::blank_of(def->type);
      }
      c.editor.F_TROCA(a.field, value);
      c.refresh_all = true;
    }
    return true;
  };
}

void install_item_checks(items::Registry& registry, const ItemCheckSetup& setup) {
  for (const std::string& name : validators().names()) registry.add_check(name, item_check(name, setup));
}

}  // namespace tx::entry
