// The form checks as the item editor's named checks.
//
// install_item_checks puts every check of validators() into an item-editor
// registry under its own name. Run on a cell, a check sees the column's
// field and the typed value, reads the other fields from the row, shows
// its box through `show` (the refusal, or a notice on acceptance), and on
// acceptance stores what it changes: the cell's own field by replacing the
// typed value, the others through the editor (F_TROCA), asking for the
// rows to be redrawn. Fields the row's table does not have are left alone;
// lists offered for choosing are not opened from a cell.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "entry/validators.hpp"
#include "items/edit_context.hpp"

namespace tx::entry {

struct ItemCheckSetup {
  const References* refs = nullptr;
  CpfCheck cpf;
  std::function<void(const std::vector<std::string>&)> show;  // the box
  std::function<Date()> today;
};

// The one check `name` of validators() as an item-editor check (empty when
// there is no such check).
items::Check item_check(const std::string& name, const ItemCheckSetup& setup);
void install_item_checks(items::Registry& registry, const ItemCheckSetup& setup);

}  // namespace tx::entry
