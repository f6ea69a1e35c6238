// The pick-list routine: opening a list for a field, its grid and keys, and
// writing the choice back.
#include "screen/picklist.hpp"

#include <map>
#include <memory>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "platform/paths.hpp"
#include "screen/browse_db.hpp"
#include "storage/expr.hpp"

namespace tx::screen {

namespace {

GetValue to_get_value(const storage::Value& v) {
  switch (v.type) {
    case 'N': return v.num;
    case 'D': return v.date;
    case 'L': return v.logical;
    default: return v.text;
  }
}

std::string value_text(const GetValue& v) {
  if (auto s = std::get_if<std::string>(&v)) return ALLTRIM(*s);
  if (auto n = std::get_if<Decimal>(&v)) return ALLTRIM(STR(*n, 20, 0));
  if (auto d = std::get_if<Date>(&v)) return DTOC(*d);
  return std::get<bool>(v) ? "T" : "F";
}

// The status names of table 66 by code.
std::map<long long, std::string> status_names(storage::Tables& tables) {
  std::map<long long, std::string> names;
  storage::WorkArea& st = tables.area(66);
  const bool opened = !st.used();
  // The start-up already told about a missing reference table.
  if (opened && !platform::resolve(tables.table_path(66) + ".DBF")) return names;
  if (opened && !tables.ABERTURA(66)) return names;
  for (st.go_top(); !st.eof(); st.skip())
    names[Decimal::val(st.trimmed("COD")).to_long()] = st.trimmed("DESCRICAO");
  if (opened) st.close();
  return names;
}

std::optional<storage::Expr> compile(std::string_view text, storage::WorkArea& area) {
  std::string error;
  return storage::Expr::try_compile(text, area.table(), &error);
}

constexpr std::string_view kStatusName = "STATUSNAME";

}  // namespace

// ---- footings ------------------------------------------------------------------

std::string taxpayer_footing(storage::WorkArea& area, PickFooting kind) {
  if (kind == PickFooting::None) return {};
  const std::uint32_t keep = area.recno();
  long n = 0, simple = 0, rural = 0;
  for (area.go_top(); !area.eof(); area.skip()) {
    ++n;
    if (area.trimmed("USAPADRAO") == "S") ++simple;
    if (area.trimmed("TEMRURAL") == "S") ++rural;
  }
  if (keep) area.go(keep);
  const long complete = n - simple;
  auto percent = [n](long part) { return n ? (part * 100 + n / 2) / n : 0; };
  switch (kind) {
    case PickFooting::Declarations: return std::to_string(n) + " Declaraçöes"_cp;
    case PickFooting::SimplePercent: return std::to_string(percent(simple)) + "% Simples";
    case PickFooting::CompletePercent: return std::to_string(percent(complete)) + "% Compl";
    case PickFooting::Rural: return std::to_string(rural);
    case PickFooting::Simple: return std::to_string(simple);
    case PickFooting::SimpleComplete: return "simp. " + std::to_string(complete) + " comp.";
    case PickFooting::None: break;
  }
  return {};
}

// ---- opening a list ----------------------------------------------------------------

std::string PickList::field_name() const {
  if (TEMHLP) return QUALHLP;
  if (editor && editor->active() >= 0) return editor->field(static_cast<std::size_t>(editor->active())).name;
  if (screen_.current_field) return screen_.current_field();
  return QUALHLP;
}

PickResult PickList::GERAL(int mode) {
  if (PROG) return {};
  QUALHLP = field_name();
  TEMHLP = false;
  const PickDef* def = find_pick_list(QUALHLP, mode);
  if (!def) return {};
  PickResult r = run(*def);
  if (r.chosen) ENTER(r);
  return r;
}

PickResult PickList::show(const PickDef& def) {
  if (PROG) return {};
  TEMHLP = false;
  PickResult r = run(def);
  if (r.chosen) ENTER(r);
  return r;
}

PickResult PickList::GERAL2() {
  if (PROG) return {};
  TEMHLP = false;
  COD.clear();
  const PickDef* def = find_pick_list(QUALHLP, 0);
  if (!def) return {};
  PickResult r = run(*def);
  if (r.chosen && !r.values.empty()) COD = value_text(r.values.front().second);
  return r;
}

PickResult PickList::GERAL3() {
  if (PROG) return {};
  std::string f = UPPER(field_name());
  QUALHLP = f == "M->DESTINO" ? "M->DESTINO" : "M->ORIGEM";
  TEMHLP = false;
  PickResult r = run(*find_pick_list(QUALHLP, 0));
  if (r.chosen) ENTER(r);
  return r;
}

PickResult PickList::GERAL4() {
  if (PROG) return {};
  QUALHLP = "M->CPF";
  TEMHLP = false;
  PickResult r = run(*find_pick_list(QUALHLP, 0), 3);
  if (r.chosen) ENTER(r);
  return r;
}

PickResult PickList::GERAL5() {
  if (PROG) return {};
  QUALHLP = "M->CPF";
  TEMHLP = false;
  PickResult r = run(*find_pick_list(QUALHLP, 0), 2);
  if (r.chosen) ENTER(r);
  return r;
}

PickResult PickList::run(const PickDef& def, int order_override) {
  if (PROG) return {};
  PROG = true;
  const int selected = tables_.selected();
  storage::WorkArea& area = tables_.area(def.table);
  const bool opened = !area.used();
  if (opened && !tables_.ABERTURA(def.table)) {
    tables_.SELECT(selected);
    PROG = false;
    return {};
  }
  const int order = area.order();
  const std::string filter = area.filter_text();
  const std::uint32_t recno = area.recno();
  int wanted = order_override >= 0 ? order_override : def.order;
  if (wanted <= area.order_count()) area.set_order(wanted);
  if (!def.filter.empty()) area.set_filter(def.filter);
  if (opened || !def.filter.empty() || area.eof()) area.go_top();
  tables_.SELECT(def.table);

  const Rect& r = def.rect;
  auto d = screen_.LDLGSHOW(r.top, r.left, r.bottom, r.right, "", colour_slot(screen_.colours.CORSELE, 0));
  PickResult result = HBROWSE(def, r.top, r.left, r.bottom, r.right);
  if (d) d->close();

  if (!def.filter.empty()) {
    area.clear_filter();
    if (!filter.empty()) area.set_filter(filter);
  }
  area.set_order(order);
  if (opened) area.close();
  else if (!result.chosen && recno) area.go(recno);
  tables_.SELECT(selected);
  PROG = false;
  return result;
}

// ---- the grid ------------------------------------------------------------------------

PickResult PickList::HBROWSE(const PickDef& def, int top, int left, int bottom, int right) {
  storage::WorkArea& area = tables_.area(def.table);
  if (!area.used()) return {};
  auto& c = screen_.colours;
  TBrowse grid = TBrowseDB(screen_.console(), top, left, bottom, right, area);
  grid.ColorSpec = c.COR_CLI_HE + "," + (c.COR_ESC_CL == c.COR_CLI_HE ? c.COR_2_CLI : c.COR_ESC_CL);
  grid.HeadSep = "═"_cp;
  grid.ColSep = "│"_cp;

  std::map<long long, std::string> statuses;
  bool any_footing = false;
  std::vector<std::function<std::string()>> texts;
  for (const auto& pc : def.columns) {
    TBColumn col;
    col.Heading = std::string(pc.heading);
    col.Picture = std::string(pc.picture);
    col.Width = pc.width;
    if (pc.expr == kStatusName) {
      if (statuses.empty()) statuses = status_names(tables_);
      auto names = std::make_shared<std::map<long long, std::string>>(statuses);
      storage::WorkArea* wa = &area;
      col.Block = [names, wa]() -> GetValue {
        auto it = names->find(wa->get_number("ESTATUS").to_long());
        return it == names->end() ? std::string() : it->second;
      };
    } else if (auto e = compile(pc.expr, area)) {
      auto expr = std::make_shared<storage::Expr>(std::move(*e));
      storage::WorkArea* wa = &area;
      col.Block = [expr, wa]() -> GetValue {
        if (wa->eof()) return std::string();
        return to_get_value(expr->eval(wa->table()));
      };
      if (expr->type() == 'N') {
        int idx = area.table().field_index(pc.expr);
        if (idx >= 0) {
          col.ValueWidth = area.table().field(idx).len;
          col.ValueDecimals = area.table().field(idx).dec;
        }
      }
    } else {
      col.Block = [] { return GetValue(std::string()); };
    }
    if (pc.footing != PickFooting::None) {
      col.Footing = taxpayer_footing(area, pc.footing);
      any_footing = true;
    }
    texts.push_back([col] { return col.text(); });
    grid.AddColumn(std::move(col));
  }
  if (any_footing) grid.FootSep = grid.HeadSep;
  const auto first_text = texts.empty() ? std::function<std::string()>([] { return std::string(); }) : texts.front();

  for (;;) {
    grid.ForceStable();
    int k = screen_.wait_key();
    switch (k) {
      case kQuitKey:
      case key::kEsc:
      case key::kCtrlEnter: return {};
      case key::kEnter:
        if (area.eof()) return {};
        return choose(def, area);
      case key::kUp: grid.Up(); continue;
      case key::kDown: grid.Down(); continue;
      case key::kPgUp: grid.PageUp(); continue;
      case key::kPgDn: grid.PageDown(); continue;
      case key::kCtrlPgUp: grid.GoTop(); continue;
      case key::kCtrlPgDn: grid.GoBottom(); continue;
      case key::kLeft: grid.Left(); continue;
      case key::kRight: grid.Right(); continue;
      case key::kHome: grid.Home(); continue;
      case key::kEnd: grid.End(); continue;
      case key::kCtrlLeft: grid.PanLeft(); continue;
      case key::kCtrlRight: grid.PanRight(); continue;
      case key::kCtrlHome: grid.PanHome(); continue;
      case key::kCtrlEnd: grid.PanEnd(); continue;
      default: break;
    }
    const int order = k == key::F(1) ? 2 : k == key::F(2) ? 1 : k == key::F(3) ? 3 : 0;
    if (order) {
      if (order <= area.order_count()) {
        area.set_order(order);
        grid.RefreshAt(grid.RowPos());
      }
      continue;
    }
    if (def.taxpayer && (k == key::F(6) || k == key::F(11))) {
      if (!area.eof()) {
        if (k == key::F(6)) MOS_DETAL();
        else MOS_PEND();
      }
      grid.Invalidate();
      continue;
    }
    if (k >= 32 && k <= 255) jump(def, grid, area, static_cast<char>(k), first_text);
  }
}

void PickList::jump(const PickDef& def, TBrowse& grid, storage::WorkArea& area, char typed,
                    const std::function<std::string()>& first_text) {
  const bool digit = typed >= '0' && typed <= '9';
  const int order = digit ? def.digit_order : def.letter_order;
  if (order < 0) return;
  const std::string key = UPPER(std::string(1, typed));
  if (order > 0 && order <= area.order_count()) {
    area.set_order(order);
    area.seek(key, true);  // the first entry from the key on: itself, or the nearest
    if (area.eof()) area.go_bottom();
  } else {
    // No index for it: the first entry starting with the key, else the first
    // one after it, else the last.
    std::uint32_t after = 0, last = 0, hit = 0;
    for (area.go_top(); !area.eof(); area.skip()) {
      std::string t = UPPER(ALLTRIM(first_text()));
      last = area.recno();
      if (t.rfind(key, 0) == 0) { hit = last; break; }
      if (!after && t > key) after = last;
    }
    std::uint32_t to = hit ? hit : after ? after : last;
    if (to) area.go(to);
  }
  grid.RefreshAt(1);
}

PickResult PickList::choose(const PickDef& def, storage::WorkArea& area) {
  PickResult r;
  r.chosen = true;
  const std::string self = QUALHLP;
  for (const auto& p : def.puts) {
    auto e = compile(p.expr, area);
    if (!e) continue;
    std::string target = p.target == "=" ? self : std::string(p.target);
    r.values.emplace_back(target, to_get_value(e->eval(area.table())));
  }
  return r;
}

// ---- writing the choice back ------------------------------------------------------------

void PickList::ENTER(const PickResult& result) {
  if (!result.chosen) return;
  std::string active;
  if (editor && editor->active() >= 0) active = UPPER(editor->field(static_cast<std::size_t>(editor->active())).name);
  for (const auto& [target, value] : result.values) {
    if (!active.empty() && UPPER(target) == active) {
      if (editor->set_active_value(value)) continue;
      // The field holds the value in the other kind (a code typed as text).
      if (std::holds_alternative<Decimal>(value) && editor->set_active_value(value_text(value))) continue;
      if (auto s = std::get_if<std::string>(&value); s && editor->set_active_value(Decimal::val(*s))) continue;
    }
    if (hooks.put) hooks.put(target, value);
  }
  if (hooks.redisplay) hooks.redisplay();
}

}  // namespace tx::screen
