// ListRun: rows - insert, delete, renumber, sort, the clipboards, the
// registers and the monthly-values window.
#include <algorithm>
#include <filesystem>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "items/field_value.hpp"
#include "items/list_run.hpp"
#include "items/monthly_window.hpp"
#include "platform/keys.hpp"
#include "screen/colour.hpp"

namespace tx::items {

namespace {

std::string trim(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && s[a] == ' ') ++a;
  while (b > a && s[b - 1] == ' ') --b;
  return std::string(s.substr(a, b - a));
}

std::string two_digits(int n) { return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10); }

// The lines of a pasted text (CR LF, LF or CR breaks); a break at the very
// end does not make an empty last line.
std::vector<std::string> text_lines(const std::string& text, bool& had_break) {
  std::vector<std::string> out;
  std::string cur;
  had_break = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.push_back(cur);
      cur.clear();
      had_break = true;
    } else {
      cur += c;
    }
  }
  if (!cur.empty() || out.empty()) out.push_back(cur);
  return out;
}

// Record field values kept as bytes (memo fields as their text), to carry a
// record's data into another record.
struct RecordCopy {
  std::vector<std::string> bytes;
  std::vector<std::string> memos;
};

RecordCopy take_copy(storage::WorkArea& wa) {
  RecordCopy c;
  const auto& t = wa.table();
  for (int i = 0; i < t.field_count(); ++i) {
    c.bytes.emplace_back(t.raw(i));
    std::string memo;
    if (t.field(i).type == 'M') wa.get_memo(t.field(i).name, memo);
    c.memos.push_back(memo);
  }
  return c;
}

void put_copy(storage::WorkArea& wa, const RecordCopy& c) {
  const auto& t = wa.table();
  for (int i = 0; i < t.field_count(); ++i) {
    if (t.field(i).type == 'M') wa.replace_memo(t.field(i).name, c.memos[static_cast<std::size_t>(i)]);
    else wa.replace_raw(i, c.bytes[static_cast<std::size_t>(i)]);
  }
}

}  // namespace

bool ListRun::confirm(const std::string& question) {
  auto r = ed_.screen().AVISOSN(question, 1);
  grid_.Invalidate();
  return std::holds_alternative<bool>(r) && std::get<bool>(r);
}

void ListRun::message(const std::string& text) {
  ed_.screen().AVISOSN(text, 0);
  grid_.Invalidate();
}

std::vector<std::uint32_t> ListRun::following() {
  std::vector<std::uint32_t> out;
  if (area_.eof()) return out;
  std::uint32_t here = area_.recno();
  for (area_.skip(1); !area_.eof(); area_.skip(1)) out.push_back(area_.recno());
  area_.go(here);
  return out;
}

const ColumnDef* ListRun::flagged(bool ColumnDef::*flag) const {
  for (const auto& c : list_.columns)
    if (c.*flag) return &c;
  return nullptr;
}

// ---- insert -------------------------------------------------------------------

void ListRun::insert() {
  if (appending_ || area_.eof()) return;
  switch (list_.caps.insert) {
    case InsertStyle::After: insert_after(); break;
    case InsertStyle::Before: insert_before(); break;
    case InsertStyle::None: break;
  }
}

void ListRun::insert_after() {
  const ColumnDef* line = flagged(&ColumnDef::line_number);
  if (!confirm("Insere uma linha após esse Item?"_cp.str())) return;
  const Decimal current = line ? area_.get_number(line->field) : Decimal(0);
  const auto after = following();
  if (!add_record()) return;
  const std::uint32_t added = area_.recno();
  if (line && ed_.lock(area_)) {
    write_field(area_, line->field, GetValue(current + Decimal(1)));
    area_.commit();
    area_.unlock();
  }
  if (line) {
    int k = 1;
    for (auto rec : after) {
      area_.go(rec);
      if (!ed_.lock(area_)) continue;
      write_field(area_, line->field, GetValue(current + Decimal(1) + Decimal(10 * k++)));
      area_.commit();
      area_.unlock();
    }
  }
  follow(added, grid_.RowPos() + 1);
}

void ListRun::insert_before() {
  if (!confirm("Insere uma linha ANTES desse Item?"_cp.str())) return;
  // The visible rows from here to the end, then a new one: each takes the
  // data of the visible row before it. Hidden (deleted or filtered) records
  // are never touched.
  std::vector<std::uint32_t> rows{area_.recno()};
  for (auto r : following()) rows.push_back(r);
  if (!add_record()) return;
  rows.push_back(area_.recno());
  for (std::size_t i = rows.size() - 1; i >= 1; --i) {
    area_.go(rows[i - 1]);
    RecordCopy c = take_copy(area_);
    area_.go(rows[i]);
    if (!ed_.lock(area_)) return;
    put_copy(area_, c);
    area_.commit();
    area_.unlock();
  }
  // The freed row keeps the list's own fields and the taxpayer's CPF.
  area_.go(rows.front());
  if (ed_.lock(area_)) {
    const auto& t = area_.table();
    for (int i = 0; i < t.field_count(); ++i) {
      const auto& f = t.field(i);
      bool keep = std::find(list_.keep_on_insert.begin(), list_.keep_on_insert.end(), f.name) != list_.keep_on_insert.end();
      if (f.name == "CPF" && (list_.defaults_cpf || list_.stamp_cpf)) keep = true;
      if (keep) continue;
      if (f.type == 'M') area_.replace_memo(f.name, "");
      else write_field(area_, f.name, blank_of(f.type));
    }
    area_.commit();
    area_.unlock();
  }
  follow(rows.front(), grid_.RowPos());
}

void ListRun::insert_lines() {
  if (!list_.caps.insert_lines || appending_ || area_.eof()) return;
  const int row = grid_.data_row(grid_.RowPos());
  const int left = grid_.nLeft;
  auto& con = ed_.screen().console();
  auto under = con.save(row + platform::kScreenTop, left, row + platform::kScreenTop, left + 31);
  con.put_text(row + platform::kScreenTop, left, "Insere    linhas após esse Item."_cp.str(),
               static_cast<unsigned char>(screen::ACHACOR(ed_.screen().colours.COR_SAY)));
  screen::Variable count = Decimal(0);
  bool ok = ed_.screen().edit_one_field(row, left + 7, count, 1, 0, "@Z 9", {});
  con.restore(row + platform::kScreenTop, left, row + platform::kScreenTop, left + 31, under);
  int n = ok ? static_cast<int>(std::get<Decimal>(count).to_long()) : 0;
  if (n <= 0) return;
  const ColumnDef* line = flagged(&ColumnDef::line_number);
  const std::uint32_t here = area_.recno();
  const Decimal current = line ? area_.get_number(line->field) : Decimal(0);
  for (int i = 1; i <= n; ++i) {
    if (!add_record()) break;
    if (line && ed_.lock(area_)) {
      write_field(area_, line->field, GetValue(current + Decimal(i)));
      area_.commit();
      area_.unlock();
    }
  }
  follow(here, grid_.RowPos());
}

// ---- delete -------------------------------------------------------------------

void ListRun::remove() {
  if (appending_ || area_.eof() || !list_.caps.remove) return;
  if (!list_.caps.remove_action.empty()) {
    run_action(list_.caps.remove_action, key::kDel);
    grid_.RefreshAll();
    return;
  }
  if (!ed_.lock(area_)) return;
  if (!confirm("Confirma a Exclusão dessa linha?"_cp.str())) {
    area_.unlock();
    return;
  }
  area_.delete_record();
  area_.commit();
  area_.unlock();
  int row = grid_.RowPos();
  area_.skip(1);
  if (area_.eof()) {
    area_.go_bottom();
    --row;
  }
  if (area_.eof()) appending_ = list_.caps.append;
  grid_.RefreshAt(std::max(1, row));
}

// ---- renumber, sort -------------------------------------------------------------

void ListRun::renumber() {
  if (!list_.caps.renumber || appending_ || area_.eof()) return;
  const ColumnDef& col = column();
  int step = 0;
  if (col.item_number) {
    if (!confirm("Reorganiza os nros dos Bens/dividas após esse Item?"_cp.str())) return;
    step = 1;
  } else if (col.line_number) {
    if (!confirm("Reorganiza os nros das Linhas após esse Item?"_cp.str())) return;
    step = 10;
  } else {
    message("Posicione o cursor sobre a coluna Item ou Linha");
    return;
  }
  const Decimal current = area_.get_number(col.field);
  if (step == 1 && current == Decimal(0)) {
    message("Só é possível reorganizar a partir de um item diferente de Zero"_cp.str());
    return;
  }
  const std::uint32_t here = area_.recno();
  int k = 1;
  for (auto rec : following()) {
    area_.go(rec);
    if (area_.get_number(col.field) == Decimal(0)) continue;
    if (!ed_.lock(area_)) continue;
    write_field(area_, col.field, GetValue(current + Decimal(step * k++)));
    area_.commit();
    area_.unlock();
  }
  follow(here, grid_.RowPos());
}

void ListRun::sort() {
  const ColumnDef& col = column();
  if (col.sort_key.empty()) return;
  namespace fs = std::filesystem;
  fs::path folder = ed_.work_folder.empty() ? fs::temp_directory_path() : fs::path(ed_.work_folder);
  std::string name = "SRT" + two_digits(list_.area % 100) + ed_.terminal +
                     static_cast<char>('A' + std::min(25, grid_.ColPos() - 1)) + ".CDX";
  std::string path = (folder / name).string();
  int k = 0;
  for (int i = 1; i <= area_.order_count(); ++i)
    if (area_.order_at(i)->path == path) k = i;
  if (k) {
    area_.set_order(k);
    area_.rebuild_order(k);
  } else {
    if (!area_.add_order(path, col.sort_key, true)) return;
    area_.set_order(area_.order_count());
  }
  if (appending_) appending_ = false;
  grid_.GoTop();
}

// ---- clipboards -------------------------------------------------------------------

void ListRun::copy_cell() {
  if (!list_.caps.cell_clipboard || column().field.empty()) return;
  ed_.CLIPTEX = appending_ || area_.eof() ? GetValue(std::string()) : read_field(area_, column().field);
}

void ListRun::paste_cell() {
  if (!list_.caps.cell_clipboard) return;
  auto def = field_def(area_, column().field);
  if (!def || !kind_fits(ed_.CLIPTEX, def->type)) return;
  if (store(column().field, ed_.CLIPTEX)) refresh_after_store();
}

void ListRun::clip_append() {
  if (!list_.caps.row_clipboard || !column().row_text || appending_ || area_.eof()) return;
  std::string clip = std::holds_alternative<std::string>(ed_.CLIPTEX) ? std::get<std::string>(ed_.CLIPTEX) : "";
  GetValue v = read_field(area_, column().field);
  if (auto* d = std::get_if<Decimal>(&v)) clip += STR(*d, 12, 2);
  else if (auto* t = std::get_if<std::string>(&v)) clip += trim(*t);
  clip += "\r\n";
  ed_.CLIPTEX = clip;
}

void ListRun::clip_flush() {
  if (!list_.caps.row_clipboard) return;
  if (auto* t = std::get_if<std::string>(&ed_.CLIPTEX)) ed_.screen().console().clipboard = *t;
  ed_.CLIPTEX = std::string();
}

void ListRun::paste_rows() {
  if (!list_.caps.row_clipboard) return;
  const ColumnDef* target = flagged(&ColumnDef::paste_target);
  if (!target) return;
  auto def = field_def(area_, target->field);
  if (!def || def->type != 'C') return;
  bool had_break = false;
  auto lines = text_lines(ed_.screen().console().clipboard, had_break);
  // Every piece fits the field: a longer line becomes several rows.
  std::vector<std::string> pieces;
  const auto width = static_cast<std::size_t>(def->len);
  for (const auto& l : lines) {
    if (l.size() <= width) pieces.push_back(l);
    else
      for (std::size_t at = 0; at < l.size(); at += width) pieces.push_back(l.substr(at, width));
  }
  if (!had_break && pieces.size() == 1) {
    if (store(target->field, GetValue(pieces.front()))) refresh_after_store();
    return;
  }
  std::uint32_t first = 0;
  for (const auto& p : pieces) {
    if (!add_record()) break;
    if (!first) first = area_.recno();
    if (ed_.lock(area_)) {
      for (const auto& d : list_.paste_defaults) write_field(area_, d.field, d.value);
      write_field(area_, target->field, GetValue(p));
      area_.commit();
      area_.unlock();
    }
  }
  if (first) follow(first, grid_.RowPos());
}

// ---- registers ----------------------------------------------------------------------

void ListRun::send_to_register() {
  const RegisterSend& s = *list_.caps.send;
  storage::WorkArea* reg = ed_.area(s.area);
  if (!reg || !reg->used() || appending_ || area_.eof()) return;
  std::string key_value;
  for (const auto& [from, to] : s.fields)
    if (to == s.key_field) key_value = trim(area_.get_text(from));
  if (key_value.empty()) return;
  for (reg->go_top(); !reg->eof(); reg->skip(1))
    if (trim(reg->get_text(s.key_field)) == key_value) return;
  if (!reg->append_blank()) {
    message("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp.str());
    return;
  }
  for (const auto& [from, to] : s.fields) {
    GetValue v = read_field(area_, from);
    auto def = field_def(*reg, to);
    if (def && !kind_fits(v, def->type)) {
      // A number kept as text in the list (or the other way round).
      if (def->type == 'N' && std::holds_alternative<std::string>(v)) v = Decimal::val(std::get<std::string>(v));
      else if (def->type == 'C' && std::holds_alternative<Decimal>(v)) v = trim(std::get<Decimal>(v).str(0));
    }
    write_field(*reg, to, v);
  }
  reg->commit();
}

void ListRun::open_register() {
  auto it = ed_.catalogue.find(list_.caps.open_register->list);
  if (it == ed_.catalogue.end()) return;
  const ListDescriptor reg = it->second;
  const std::uint32_t here = area_.eof() ? 0 : area_.recno();
  const bool was_appending = appending_;
  ed_.EDITA(reg);
  // The register may have added a row here (Ctrl-Enter) and moved to it.
  ed_.ULTTECLA = 0;
  ed_.TECLAMUDA = false;
  ed_.run_ = this;
  if (area_.eof() && here) area_.go(here);
  appending_ = was_appending && area_.eof();
  grid_.Invalidate();
  grid_.RefreshAt(grid_.RowPos());
}

void ListRun::take_from_register() {
  const RegisterTake& t = *list_.caps.take;
  ListRun& into = *parent_;
  storage::WorkArea& dest = into.area();
  if (appending_ || area_.eof()) return;
  Decimal line(0);
  if (!t.line_field.empty() && !dest.eof()) line = dest.get_number(t.line_field) + Decimal(1);
  if (!into.add_record()) return;
  if (!ed_.lock(dest)) return;
  for (const auto& [from, to] : t.fields) write_field(dest, to, read_field(area_, from));
  if (!t.line_field.empty()) write_field(dest, t.line_field, GetValue(line));
  dest.commit();
  dest.unlock();
}

// ---- monthly values ------------------------------------------------------------------

void ListRun::monthly() {
  const ColumnDef& col = column();
  if (col.monthly == MonthlyKind::None || col.field.empty()) return;
  if ((appending_ || area_.eof()) && !add_record()) return;
  std::array<Decimal, 12> amounts{};
  if (col.monthly == MonthlyKind::Fields)
    for (int m = 1; m <= 12; ++m) amounts[static_cast<std::size_t>(m - 1)] = area_.get_number(col.monthly_prefix + two_digits(m));
  Matrix m = monthly_matrix(amounts, ed_.dollar_rate);
  ed_.MOSBROW(m, monthly_descriptor(ed_.dollar_rate));
  ed_.run_ = this;
  grid_.Invalidate();
  if (ed_.LSAI) return;
  if (!ed_.lock(area_)) return;
  if (col.monthly == MonthlyKind::Fields)
    for (int k = 1; k <= 12; ++k) write_field(area_, col.monthly_prefix + two_digits(k), GetValue(m.number(k, 2)));
  write_field(area_, col.field, GetValue(m.number(13, 2)));
  if (list_.stamp_cpf) write_field(area_, "CPF", GetValue(ed_.CPF));
  area_.commit();
  area_.unlock();
  refresh_after_store();
}

}  // namespace tx::items
