// What the item editor's named checks, actions and accessors see, and the
// registry that holds them by name.
//
// A check runs when a cell is left (`valid`) or before its input opens
// (`when`). It sees the list, its work area standing on the row, the column
// and the value typed (which it may replace). Returning false keeps the
// cursor in the cell (`valid`) or refuses the edit (`when`); a check may
// store fields itself through ItemEditor::F_TROCA and ask for every row to
// be redrawn (refresh_all).
//
// An action is bound to a key by a list's key_actions (or replaces the
// plain delete); it returns what the editor does next.
//
// An accessor computes a column's shown value from the row (a display
// expression such as a percentage times 100).
#pragma once

#include <functional>
#include <map>
#include <string>

#include "items/list_descriptor.hpp"
#include "storage/workarea.hpp"

namespace tx::items {

class ItemEditor;

struct EditContext {
  ItemEditor& editor;
  storage::WorkArea& area;
  const ListDescriptor& list;
  const ColumnDef* column = nullptr;   // null for actions outside a column
  GetValue value;                      // the value being stored
  bool refresh_all = false;
};

enum class ActionResult { Stay, Refresh, Leave };

using Check = std::function<bool(EditContext&)>;
using Action = std::function<ActionResult(EditContext&)>;
using Accessor = std::function<GetValue(storage::WorkArea&)>;

class Registry {
 public:
  void add_check(const std::string& name, Check c) { checks_[name] = std::move(c); }
  void add_action(const std::string& name, Action a) { actions_[name] = std::move(a); }
  void add_accessor(const std::string& name, Accessor a) { accessors_[name] = std::move(a); }
  const Check* check(const std::string& name) const { return find(checks_, name); }
  const Action* action(const std::string& name) const { return find(actions_, name); }
  const Accessor* accessor(const std::string& name) const { return find(accessors_, name); }

 private:
  template <class M>
  static const typename M::mapped_type* find(const M& m, const std::string& name) {
    if (name.empty()) return nullptr;
    auto it = m.find(name);
    return it == m.end() ? nullptr : &it->second;
  }
  std::map<std::string, Check> checks_;
  std::map<std::string, Action> actions_;
  std::map<std::string, Accessor> accessors_;
};

}  // namespace tx::items
