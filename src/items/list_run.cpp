// ListRun: the grid of a list, its key loop, moves and cell edits.
#include "items/list_run.hpp"

#include <algorithm>
#include <optional>

#include "base/codepage.hpp"
#include "items/field_value.hpp"
#include "items/item_keys.hpp"
#include "platform/keys.hpp"
#include "screen/browse_db.hpp"
#include "screen/colour.hpp"
#include "screen/field_editor.hpp"

namespace tx::items {

namespace {

// Colour slots of the grid: normal, cursor, append row, append row cursor.
constexpr screen::ColourPair kAppendColours{3, 4};

std::string grid_colours(const screen::ColourScheme& s) {
  return screen::colour_slot(s.CORNORM, 0) + "," + screen::colour_slot(s.CORNORM, 1) + "," + s.COR_SAY + "," +
         s.COR_ESC_CL;
}

screen::TBColumn make_column(ItemEditor& ed, storage::WorkArea& area, const ColumnDef& c) {
  const std::string& shown = c.shown.empty() ? c.field : c.shown;
  screen::TBColumn col = screen::field_column(area, c.heading, shown, c.picture);
  if (const Accessor* acc = ed.registry.accessor(c.expression)) {
    storage::WorkArea* wa = &area;
    Accessor a = *acc;
    col.Block = [wa, a] { return a(*wa); };
  } else if (c.shown_width > 0) {
    auto inner = col.Block;
    int n = c.shown_width;
    col.Block = [inner, n]() -> GetValue {
      GetValue v = inner();
      if (auto* t = std::get_if<std::string>(&v)) t->resize(std::min(t->size(), static_cast<std::size_t>(n)));
      return v;
    };
  }
  col.Footing = c.footing;
  return col;
}

}  // namespace

ListRun::ListRun(ItemEditor& editor, const ListDescriptor& list, storage::WorkArea& area, screen::Rect grid)
    : ed_(editor),
      list_(list),
      area_(area),
      grid_(screen::TBrowseDB(editor.screen().console(), grid.top, grid.left, grid.bottom, grid.right, area,
                              [this] { return appending_; })),
      parent_(editor.run_),
      saved_opc_(editor.OPC),
      saved_ponteiro_(editor.PONTEIRO),
      saved_pontvert_(editor.PONTVERT),
      saved_campo_(editor.EDI_CAMPO),
      saved_lappend_(editor.LAPPEND) {
  ed_.run_ = this;
  grid_.ColorSpec = grid_colours(ed_.screen().colours);
  grid_.HeadSep = "─┼─"_cp.str();
  grid_.ColSep = "│"_cp.str();
  bool footings = false;
  for (const auto& c : list_.columns) {
    grid_.AddColumn(make_column(ed_, area_, c));
    footings = footings || !c.footing.empty();
  }
  if (footings) grid_.FootSep = "─┴─"_cp.str();
  grid_.SetFreeze(list_.frozen);
  grid_.Configure();
  grid_.SetColPos(std::max(list_.start_column, list_.frozen + 1));
  keep_out_of_frozen();
  // An empty list starts on the append row.
  auto* skip = std::any_cast<std::shared_ptr<screen::TableSkip>>(&grid_.Cargo);
  if (list_.caps.append && skip && (*skip)->empty()) appending_ = true;
  sync_state();
}

ListRun::~ListRun() {
  ed_.run_ = parent_;
  ed_.OPC = saved_opc_;
  ed_.PONTEIRO = saved_ponteiro_;
  ed_.PONTVERT = saved_pontvert_;
  ed_.EDI_CAMPO = saved_campo_;
  ed_.LAPPEND = saved_lappend_;
}

const ColumnDef& ListRun::column() const {
  int n = std::clamp(grid_.ColPos(), 1, static_cast<int>(list_.columns.size()));
  return list_.columns[static_cast<std::size_t>(n - 1)];
}

void ListRun::sync_state() {
  ed_.OPC = list_.code;
  ed_.EDI_CAMPO = list_.columns.empty() ? std::string() : column().field;
  ed_.PONTEIRO = grid_.ColPos();
  ed_.PONTVERT = grid_.RowPos();
  ed_.LAPPEND = appending_;
}

void ListRun::settle() {
  grid_.ForceStable();
  if (appending_) {
    grid_.ColorRect({grid_.RowPos(), 1, grid_.RowPos(), grid_.ColCount()}, kAppendColours);
    grid_.ForceStable();
  }
  sync_state();
}

void ListRun::show_only() {
  settle();
  ed_.screen().console().refresh();
}

void ListRun::run() {
  // The hint goes on the message line while the list runs.
  struct MessageLine {
    platform::Console& con;
    std::vector<platform::Cell> under;
    int row = 24 + platform::kScreenTop;
    explicit MessageLine(platform::Console& c) : con(c) { under = c.save(row, 0, row, platform::kCols - 1); }
    ~MessageLine() { con.restore(row, 0, row, platform::kCols - 1, under); }
  };
  std::optional<MessageLine> line;
  if (!list_.hint.empty()) {
    line.emplace(ed_.screen().console());
    ed_.screen().MENS(0, list_.hint);
  }
  while (!done_) {
    if (ed_.LSAI) {
      ed_.ULTTECLA = 0;
      ed_.TECLAMUDA = false;
      return;
    }
    settle();
    platform::Event ev = ed_.screen().wait_event();
    if (ev.kind == platform::Event::Quit) {
      ed_.LSAI = true;
      continue;
    }
    if (ev.kind == platform::Event::Mouse && ev.button == 1) {
      click(ev);
      continue;
    }
    if (ev.kind == platform::Event::Key && !handle(ev.key)) return;
  }
}

void ListRun::leave(int key) {
  ed_.ULTTECLA = key;
  ed_.TECLAMUDA = true;
  done_ = true;
}

bool ListRun::handle(int k) {
  using namespace key;
  const auto& caps = list_.caps;
  if (k == kTab || k == kShiftTab || k == kEsc ||
      std::find(caps.leave_keys.begin(), caps.leave_keys.end(), k) != caps.leave_keys.end()) {
    leave(k);
    return false;
  }
  if (auto a = caps.key_actions.find(k); a != caps.key_actions.end()) return run_action(a->second, k);
  if (caps.open_register && k == caps.open_register->key) {
    open_register();
    return true;
  }
  switch (k) {
    case kEnter:
      if (!appending_ && area_.eof()) move_down();
      else if (column().monthly_on_enter && column().monthly != MonthlyKind::None) monthly();
      else edit_cell(k);
      return true;
    case kDown: move_down(); return true;
    case kUp: move_up(); return true;
    case kPgDn:
      if (!appending_) grid_.PageDown();
      return true;
    case kPgUp:
      if (appending_) leave_append(); else grid_.PageUp();
      return true;
    case kCtrlPgUp:
      if (appending_) leave_append();
      grid_.GoTop();
      return true;
    case kCtrlPgDn:
      if (appending_) leave_append();
      grid_.GoBottom();
      return true;
    case kLeft:
      if (grid_.ColPos() - 1 > list_.frozen) grid_.Left();
      return true;
    case kRight: grid_.Right(); return true;
    case kHome: grid_.Home(); keep_out_of_frozen(); return true;
    case kEnd: grid_.End(); keep_out_of_frozen(); return true;
    case kCtrlLeft: grid_.PanLeft(); keep_out_of_frozen(); return true;
    case kCtrlRight: grid_.PanRight(); keep_out_of_frozen(); return true;
    case kCtrlHome: grid_.PanHome(); keep_out_of_frozen(); return true;
    case kCtrlEnd: grid_.PanEnd(); keep_out_of_frozen(); return true;
    case kIns: insert(); return true;
    case kDel: remove(); return true;
    case kCtrlEnter:
      if (caps.take && parent_) take_from_register();
      else if (caps.send) send_to_register();
      return true;
    case ikey::kAltUp: clip_append(); return true;
    case ikey::kAltEnd: clip_flush(); return true;
    case ikey::kAltDown: paste_rows(); return true;
    default: break;
  }
  if (k == Alt('L')) insert_lines();
  else if (k == Alt('R')) renumber();
  else if (k == Alt('O')) sort();
  else if (k == Alt('M')) copy_cell();
  else if (k == Alt('C')) paste_cell();
  else if (k == Alt('U')) monthly();
  else if (k >= 32 && k <= 255) edit_cell(k);
  return true;
}

bool ListRun::run_action(const std::string& name, int key) {
  const Action* a = ed_.registry.action(name);
  if (!a) return true;
  EditContext ctx{ed_, area_, list_, &column(), std::string()};
  ActionResult r = (*a)(ctx);
  if (r == ActionResult::Leave) {
    leave(key);
    return false;
  }
  if (r == ActionResult::Refresh || ctx.refresh_all) {
    grid_.Invalidate();
    grid_.RefreshAll();
  }
  return true;
}

void ListRun::click(const platform::Event& ev) {
  screen::BrowseHit hit = grid_.hit_test(ev.row - platform::kScreenTop, ev.col);
  if (hit.area != screen::BrowseHit::Data) return;
  while (grid_.RowPos() < hit.row && grid_.row_exists(grid_.RowPos() + 1)) grid_.Down();
  while (grid_.RowPos() > hit.row) {
    int before = grid_.RowPos();
    move_up();
    if (grid_.RowPos() == before) break;
  }
  if (hit.column > 0) {
    while (grid_.ColPos() < hit.column && grid_.ColPos() < grid_.RightVisible()) grid_.Right();
    while (grid_.ColPos() > hit.column && grid_.ColPos() - 1 > list_.frozen) grid_.Left();
  }
  if (ev.double_click) {
    settle();
    edit_cell(key::kEnter);
  }
}

void ListRun::move_down() {
  grid_.Down();
  if (grid_.HitBottom() && !appending_ && list_.caps.append) {
    appending_ = true;
    grid_.Down();
    // An empty table has no row to step from: the append row is row 1.
    if (grid_.HitBottom()) grid_.RefreshCurrent();
  }
}

void ListRun::move_up() {
  if (appending_) {
    leave_append();
    return;
  }
  grid_.Up();
}

void ListRun::leave_append() {
  // Up from the append row while the skip still reaches it, then the row
  // below is no longer part of the list.
  grid_.Up();
  appending_ = false;
  grid_.RefreshAll();
}

void ListRun::keep_out_of_frozen() {
  if (grid_.ColPos() <= list_.frozen && list_.frozen < grid_.ColCount()) grid_.SetColPos(list_.frozen + 1);
}

void ListRun::follow(std::uint32_t recno, int row) {
  area_.go(recno);
  grid_.RefreshAt(row);
}

// ---- records ----------------------------------------------------------------

bool ListRun::add_record() {
  if (!area_.append_blank()) {
    message("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp.str());
    return false;
  }
  if (list_.defaults_cpf) write_field(area_, "CPF", GetValue(ed_.CPF));
  for (const auto& d : list_.defaults) write_field(area_, d.field, d.value);
  if (!list_.recno_line_field.empty() && area_.get_number(list_.recno_line_field) == Decimal(0))
    write_field(area_, list_.recno_line_field, GetValue(Decimal(static_cast<long long>(area_.recno()) * 10)));
  area_.commit();
  appending_ = false;
  grid_.RefreshCurrent();
  return true;
}

bool ListRun::store(const std::string& field, const GetValue& v) {
  if (field.empty()) return false;
  if (appending_ || area_.eof()) {
    if (!add_record()) return false;
  }
  if (!ed_.lock(area_)) return false;
  bool ok = write_field(area_, field, v);
  if (ok && list_.stamp_cpf) write_field(area_, "CPF", GetValue(ed_.CPF));
  area_.commit();
  area_.unlock();
  return ok;
}

void ListRun::refresh_after_store() {
  if (list_.caps.refresh_all_after_edit || area_.order() > 0) follow(area_.recno(), grid_.RowPos());
  else grid_.RefreshCurrent();
}

// ---- cell edit ----------------------------------------------------------------

void ListRun::edit_cell(int first_key) {
  int k = DOGET(first_key);
  EXITKEY(k);
}

int ListRun::DOGET(int first_key) {
  const ColumnDef& col = column();
  auto def = field_def(area_, col.field);
  if (!def || def->type == 'M') return 0;
  EditContext pre{ed_, area_, list_, &col, std::string()};
  if (const Check* when = ed_.registry.check(col.when); when && !(*when)(pre)) return 0;
  ed_.LASTECLA = first_key;
  settle();

  const GetValue original = appending_ || area_.eof() ? blank_of(def->type) : read_field(area_, col.field);
  GetValue edited = original;
  bool refresh_all = false;
  screen::GetField f;
  f.row = grid_.data_row(grid_.RowPos());
  f.col = grid_.column_place(grid_.ColPos()).first;
  f.name = col.field;
  f.value.get = [&] { return edited; };
  f.value.set = [&](const GetValue& v) { edited = v; };
  f.picture = col.picture;
  f.width = def->len;
  f.decimals = def->dec;
  f.color = f.active_color = static_cast<unsigned char>(screen::ACHACOR(ed_.screen().colours.COR_GET));
  if (const Check* valid = ed_.registry.check(col.valid)) {
    Check check = *valid;
    f.valid = [&, check] {
      EditContext ctx{ed_, area_, list_, &col, edited};
      bool ok = check(ctx);
      edited = ctx.value;
      refresh_all = refresh_all || ctx.refresh_all;
      return ok;
    };
  }
  std::vector<screen::GetField> fields;
  fields.push_back(std::move(f));
  screen::FieldEditor editor(ed_.screen().console(), std::move(fields));
  for (int k : {key::kUp, key::kDown, key::kPgUp, key::kPgDn})
    editor.bind_key(k, [](screen::FieldEditor&) { return screen::KeyAction::Accept; });
  if (first_key >= 32 && first_key <= 255) ed_.screen().console().push_key(first_key);
  bool accepted = editor.read();
  if (editor.quit()) ed_.LSAI = true;
  if (!accepted) {
    grid_.RefreshCurrent();
    return key::kEsc;
  }
  if (!(edited == original)) store(col.field, edited);
  if (refresh_all) grid_.RefreshAll();
  refresh_after_store();
  return editor.last_key();
}

void ListRun::EXITKEY(int k) {
  using namespace key;
  if (k == kEnter || (k >= 32 && k <= 255)) {
    if (grid_.ColPos() == list_.ult_pos) {
      grid_.SetColPos(list_.frozen + 1);
      move_down();
    } else {
      grid_.Right();
    }
  } else if (k == kPgDn || k == kDown) {
    if (k == kDown || !appending_) move_down();
  } else if (k == kPgUp || k == kUp) {
    if (k == kUp || !appending_) move_up();
  }
}

}  // namespace tx::items
