// ItemEditor::MBROWSE and GETMTX: the grid over a matrix of strings.
#include <algorithm>

#include "base/codepage.hpp"
#include "base/picture.hpp"
#include "items/item_editor.hpp"
#include "platform/keys.hpp"
#include "screen/browse.hpp"
#include "screen/colour.hpp"
#include "screen/field_editor.hpp"

namespace tx::items {

namespace {

bool numeric_picture(const std::string& pic) {
  Picture p = parse_picture(pic);
  return !p.tmpl.empty() && p.tmpl.find_first_of("9#") != std::string::npos && p.scroll == 0;
}

class MatrixRun {
 public:
  MatrixRun(ItemEditor& ed, Matrix& m, const MatrixDescriptor& d, screen::Rect r)
      : ed_(ed), m_(m), d_(d), grid_(ed.screen().console(), r.top, r.left, r.bottom, r.right) {
    const auto& s = ed.screen().colours;
    grid_.ColorSpec = screen::colour_slot(s.CORNORM, 0) + "," + screen::colour_slot(s.CORNORM, 1);
    grid_.HeadSep = "─┼─"_cp.str();
    grid_.ColSep = "│"_cp.str();
    // The source: a row number that never leaves the matrix.
    grid_.GoTopBlock = [this] { cur_ = 1; };
    grid_.GoBottomBlock = [this] { cur_ = std::max(1, m_.row_count()); };
    grid_.SkipBlock = [this](long n) {
      long to = std::clamp<long>(cur_ + n, 1, std::max(1, m_.row_count()));
      long done = to - cur_;
      cur_ = static_cast<int>(to);
      return done;
    };
    grid_.EmptyBlock = [this] { return m_.row_count() == 0; };
    for (int c = 1; c <= m_.column_count(); ++c) {
      screen::TBColumn col;
      col.Heading = m_.headings[static_cast<std::size_t>(c - 1)];
      col.Block = [this, c]() -> GetValue { return m_.at(cur_, c); };
      int w = static_cast<int>(col.Heading.size());
      for (int r2 = 1; r2 <= m_.row_count(); ++r2) w = std::max(w, static_cast<int>(m_.at(r2, c).size()));
      col.Width = std::max(1, w);
      grid_.AddColumn(std::move(col));
    }
    grid_.SetFreeze(d_.frozen);
    grid_.Configure();
    grid_.SetColPos(std::min(d_.frozen + 1, std::max(1, m_.column_count())));
  }

  void run() {
    using namespace key;
    for (;;) {
      if (ed_.LSAI) {
        ed_.ULTTECLA = 0;
        ed_.TECLAMUDA = false;
        return;
      }
      grid_.ForceStable();
      platform::Event ev = ed_.screen().wait_event();
      if (ev.kind == platform::Event::Quit) {
        ed_.LSAI = true;
        continue;
      }
      if (ev.kind != platform::Event::Key) continue;
      const int k = ev.key;
      if (k == kTab || k == kShiftTab || k == kEsc || k == kF1 ||
          std::find(d_.leave_keys.begin(), d_.leave_keys.end(), k) != d_.leave_keys.end()) {
        ed_.ULTTECLA = k;
        ed_.TECLAMUDA = true;
        return;
      }
      if (auto a = d_.key_actions.find(k); a != d_.key_actions.end()) {
        a->second(m_, cur_, grid_.ColPos());
        grid_.RefreshAll();
        continue;
      }
      switch (k) {
        case kEnter: after_edit(GETMTX(k)); break;
        case kDown: grid_.Down(); break;
        case kUp: grid_.Up(); break;
        case kPgDn: grid_.PageDown(); break;
        case kPgUp: grid_.PageUp(); break;
        case kCtrlPgUp: grid_.GoTop(); break;
        case kCtrlPgDn: grid_.GoBottom(); break;
        case kLeft:
          if (grid_.ColPos() - 1 > d_.frozen) grid_.Left();
          break;
        case kRight: grid_.Right(); break;
        case kHome: grid_.Home(); keep_out(); break;
        case kEnd: grid_.End(); keep_out(); break;
        case kCtrlLeft: grid_.PanLeft(); keep_out(); break;
        case kCtrlRight: grid_.PanRight(); keep_out(); break;
        case kCtrlHome: grid_.PanHome(); keep_out(); break;
        case kCtrlEnd: grid_.PanEnd(); keep_out(); break;
        default:
          if (k == Alt('M')) ed_.CLIPTEX = m_.number(cur_, grid_.ColPos());
          else if (k == Alt('C')) paste();
          else if (k >= 32 && k <= 255) after_edit(GETMTX(k));
          break;
      }
    }
  }

 private:
  void keep_out() {
    if (grid_.ColPos() <= d_.frozen && d_.frozen < grid_.ColCount()) grid_.SetColPos(d_.frozen + 1);
  }

  std::string refusal(int row, int col) const { return d_.refuse ? d_.refuse(m_, row, col) : std::string(); }

  void paste() {
    const int col = grid_.ColPos();
    if (!refusal(cur_, col).empty()) return;
    const std::string& pic = m_.pictures[static_cast<std::size_t>(col - 1)];
    if (auto* v = std::get_if<Decimal>(&ed_.CLIPTEX); v && numeric_picture(pic)) m_.set_number(cur_, col, *v);
    else if (auto* t = std::get_if<std::string>(&ed_.CLIPTEX); t && !numeric_picture(pic)) m_.set(cur_, col, *t);
    else return;
    if (d_.recompute) d_.recompute(m_, cur_, col);
    grid_.RefreshAll();
  }

  // Edits the cell under the cursor; the key that ended the edit (0: none).
  int GETMTX(int first_key) {
    const int row = cur_, col = grid_.ColPos();
    if (std::string why = refusal(row, col); !why.empty()) {
      ed_.screen().AVISOSN(why, 0);
      grid_.Invalidate();
      return 0;
    }
    ed_.LASTECLA = first_key;
    const std::string pic = m_.pictures[static_cast<std::size_t>(col - 1)];
    const bool number = numeric_picture(pic);
    GetValue edited = number ? GetValue(m_.number(row, col)) : GetValue(m_.at(row, col));
    screen::GetField f;
    f.row = grid_.data_row(grid_.RowPos());
    f.col = grid_.column_place(col).first;
    f.value.get = [&] { return edited; };
    f.value.set = [&](const GetValue& v) { edited = v; };
    f.picture = pic;
    f.width = number ? PICTURE_WIDTH(pic, ValueKind::Number) : static_cast<int>(m_.at(row, col).size());
    f.color = f.active_color = static_cast<unsigned char>(screen::ACHACOR(ed_.screen().colours.COR_GET));
    std::vector<screen::GetField> fields;
    fields.push_back(std::move(f));
    screen::FieldEditor editor(ed_.screen().console(), std::move(fields));
    for (int k : {key::kUp, key::kDown, key::kPgUp, key::kPgDn})
      editor.bind_key(k, [](screen::FieldEditor&) { return screen::KeyAction::Accept; });
    if (first_key >= 32 && first_key <= 255) ed_.screen().console().push_key(first_key);
    const bool accepted = editor.read();
    if (editor.quit()) ed_.LSAI = true;
    if (accepted) {
      if (number) m_.set_number(row, col, std::get<Decimal>(edited));
      else m_.set(row, col, std::get<std::string>(edited));
      if (d_.recompute) d_.recompute(m_, row, col);
    }
    grid_.RefreshAll();
    return accepted ? editor.last_key() : 0;
  }

  void after_edit(int k) {
    using namespace key;
    if (k == kEnter || (k >= 32 && k <= 255)) {
      if (grid_.ColPos() < grid_.ColCount()) grid_.Right();
      else {
        grid_.SetColPos(d_.frozen + 1);
        grid_.Down();
      }
    } else if (k == kDown || k == kPgDn) {
      grid_.Down();
    } else if (k == kUp || k == kPgUp) {
      grid_.Up();
    }
  }

  ItemEditor& ed_;
  Matrix& m_;
  const MatrixDescriptor& d_;
  screen::TBrowse grid_;
  int cur_ = 1;
};

}  // namespace

void ItemEditor::MBROWSE(Matrix& m, const MatrixDescriptor& d, screen::Rect grid) {
  if (m.column_count() == 0) return;
  const int opc = OPC;
  OPC = d.code;
  MatrixRun run(*this, m, d, grid);
  run.run();
  OPC = opc;
}

}  // namespace tx::items
