// ItemEditor: lists run from their descriptors, windows, stores and locks.
#include "items/item_editor.hpp"

#include <filesystem>
#include <vector>

#include "base/codepage.hpp"
#include "items/list_run.hpp"
#include "platform/keys.hpp"

namespace tx::items {

namespace {

// The window of a list or matrix: frame kind 0 draws inside the current
// screen; the other kinds open a dialog whose bottom row is one above the
// given one. Closes itself.
class ListWindow {
 public:
  ListWindow(screen::Screen& s, screen::Rect r, int frame, const std::string& title) : screen_(s), grid_(r) {
    if (frame == 0) return;
    grid_.bottom = r.bottom - 1;
    dialog_ = s.LDLGSHOW(r.top, r.left, grid_.bottom, r.right, title, s.colours.COR_SAY);
  }
  ~ListWindow() {
    if (dialog_) dialog_->close();
  }
  screen::Rect grid() const { return grid_; }

 private:
  screen::Screen& screen_;
  screen::Rect grid_;
  std::shared_ptr<screen::Dialog> dialog_;
};

}  // namespace

ItemEditor::ItemEditor(screen::Screen& screen, AreaOf areas) : screen_(&screen), areas_(std::move(areas)) {}

ListRun* ItemEditor::below() const { return run_ ? run_->parent() : nullptr; }

bool ItemEditor::lock(storage::WorkArea& area) {
  if (lock_record) return lock_record(area);
  if (area.exclusive() || area.lock_record()) return true;
  screen_->AVISOSN("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp.str(), 0);
  return false;
}

std::string ItemEditor::EDITA(const std::string& name, int extra) {
  auto it = catalogue.find(name);
  if (it == catalogue.end()) return "";
  const ListDescriptor list = it->second;
  return EDITA(list, extra);
}

std::string ItemEditor::EDITA(const ListDescriptor& list, int /*extra*/) {
  storage::WorkArea* wa = area(list.area);
  if (!wa || !wa->used() || list.columns.empty()) return "";
  // The area as the caller had it comes back afterwards.
  const std::string filter = wa->filter_text();
  const int order = wa->order();
  const bool hide = wa->hide_deleted();
  wa->set_hide_deleted(true);
  if (!list.filter.empty()) wa->set_filter(list.filter);
  if (list.order >= 0) wa->set_order(list.order);
  wa->go_top();
  // Alt-U belongs to the lists while they run.
  const int alt_u = key::Alt('U');
  std::optional<screen::KeyBinding> global_u;
  if (const auto* b = screen_->key_binding(alt_u)) global_u = *b;
  if (global_u) screen_->set_key(alt_u, std::nullopt);

  // The orders the area has now; sorting adds temporary ones.
  struct Order { std::string path, key; };
  std::vector<Order> orders;
  for (int k = 1; k <= wa->order_count(); ++k) orders.push_back({wa->order_at(k)->path, wa->order_at(k)->expr.text()});

  MOSTRA(list);

  if (global_u) screen_->set_key(alt_u, global_u);
  if (wa->order_count() > static_cast<int>(orders.size())) {
    // Drop the temporary sort orders (and their files); the list's own
    // orders are opened again as they were.
    std::vector<std::string> temporary;
    for (int k = static_cast<int>(orders.size()) + 1; k <= wa->order_count(); ++k)
      temporary.push_back(wa->order_at(k)->path);
    wa->close_orders();
    for (const auto& o : orders) wa->add_order(o.path, o.key);
    std::error_code ec;
    for (const auto& path : temporary) std::filesystem::remove(path, ec);
  }
  wa->set_order(order);
  if (filter.empty()) wa->clear_filter(); else wa->set_filter(filter);
  wa->set_hide_deleted(hide);
  return "";
}

void ItemEditor::MOSTRA(const ListDescriptor& list) {
  storage::WorkArea* wa = area(list.area);
  if (!wa || !wa->used()) return;
  {
    ListWindow win(*screen_, list.window, list.frame, list.title);
    CL5BROWSE(list, win.grid());
  }
  wa->commit();
}

void ItemEditor::CL5BROWSE(const ListDescriptor& list, screen::Rect grid) {
  storage::WorkArea* wa = area(list.area);
  if (!wa || !wa->used()) return;
  ListRun run(*this, list, *wa, grid);
  if (!SO_MOS) {
    run.show_only();
    return;
  }
  run.run();
}

void ItemEditor::MOSBROW(Matrix& m, const MatrixDescriptor& d) {
  ListWindow win(*screen_, d.window, d.frame, d.title);
  MBROWSE(m, d, win.grid());
}

bool ItemEditor::ADIC_REG() { return run_ && run_->add_record(); }

bool ItemEditor::F_TROCA(const GetValue& value) { return run_ && run_->store(value); }

bool ItemEditor::F_TROCA(const std::string& field, const GetValue& value) {
  return run_ && run_->store(field, value);
}

}  // namespace tx::items
