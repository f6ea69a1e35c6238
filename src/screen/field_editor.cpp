#include "screen/field_editor.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/get_keys.hpp"

namespace tx::screen {

namespace {

// Keys that move between fields or end the form.
enum class Move { Next, Previous, End, Back, Escape };
struct MoveKey {
  int key;
  Move move;
};
constexpr std::array kMoveKeys{
    MoveKey{key::kEnter, Move::Next},    MoveKey{key::kDown, Move::Next},
    MoveKey{key::kTab, Move::Next},      MoveKey{key::kUp, Move::Previous},
    MoveKey{key::kShiftTab, Move::Previous}, MoveKey{key::kPgDn, Move::End},
    MoveKey{key::kCtrlEnd, Move::End},   MoveKey{key::kPgUp, Move::Back},
    MoveKey{key::kEsc, Move::Escape},
};

// Keys that edit inside the active field.
using EditOp = EditResult (GetBuffer::*)();
struct EditKey {
  int key;
  EditOp op;
};
constexpr std::array kEditKeys{
    EditKey{key::kHome, &GetBuffer::home},         EditKey{key::kEnd, &GetBuffer::end},
    EditKey{key::kLeft, &GetBuffer::left},         EditKey{key::kRight, &GetBuffer::right},
    EditKey{key::kDel, &GetBuffer::del},           EditKey{key::kBackspace, &GetBuffer::backspace},
    EditKey{getkey::kClearToEnd, &GetBuffer::clear_to_end},
};

Move move_of(KeyAction a) {
  switch (a) {
    case KeyAction::Next: return Move::Next;
    case KeyAction::Previous: return Move::Previous;
    case KeyAction::Accept: return Move::End;
    case KeyAction::Abandon: return Move::Escape;
    case KeyAction::Stay: break;
  }
  return Move::Next;
}

}  // namespace

FieldEditor::FieldEditor(platform::Console& console, std::vector<GetField> fields, ReadOptions options)
    : con_(console), fields_(std::move(fields)), opt_(options), updated_(fields_.size(), false) {
  if (opt_.upper_plain_texts)
    for (GetField& f : fields_)
      if (f.picture.empty()) f.upper = true;
}

void FieldEditor::bind_key(int key, KeyHandler handler) { keys_[key] = std::move(handler); }
void FieldEditor::unbind_key(int key) { keys_.erase(key); }

bool FieldEditor::any_updated() const {
  return std::any_of(updated_.begin(), updated_.end(), [](bool b) { return b; });
}

bool FieldEditor::enterable(std::size_t i) const {
  const GetField& f = fields_[i];
  return !f.when || f.when();
}

int FieldEditor::next_enterable(int from, int step) const {
  for (int i = from; i >= 0 && i < static_cast<int>(fields_.size()); i += step)
    if (enterable(static_cast<std::size_t>(i))) return i;
  return -1;
}

void FieldEditor::enter(int i) {
  const int was = cur_;
  cur_ = i;
  const GetField& f = fields_[static_cast<std::size_t>(i)];
  buf_ = GetBuffer::for_field(f, f.value.get());
  if (was >= 0 && was != i) draw_field(static_cast<std::size_t>(was));
  draw_field(static_cast<std::size_t>(i));
}

bool FieldEditor::commit() {
  if (cur_ < 0) return true;
  auto v = buf_.value();
  if (!v) return false;
  if (!buf_.edited()) return true;
  GetField& f = fields_[static_cast<std::size_t>(cur_)];
  if (!(f.value.get() == *v)) {
    f.value.set(*v);
    updated_[static_cast<std::size_t>(cur_)] = true;
  }
  // The stored value is now what the field shows.
  buf_ = GetBuffer::for_field(f, f.value.get());
  return true;
}

// Stores the active field and runs its check; false keeps the cursor there.
bool FieldEditor::leave_forward() {
  if (!commit()) {
    beep();
    return false;
  }
  GetField& f = fields_[static_cast<std::size_t>(cur_)];
  if (f.valid && !f.valid()) {
    // The check may have changed the value or drawn over the form.
    buf_ = GetBuffer::for_field(f, f.value.get());
    redraw();
    return false;
  }
  return true;
}

bool FieldEditor::set_active_value(const GetValue& v) {
  if (cur_ < 0 || kind_of(v) != buf_.kind()) return false;
  GetField& f = fields_[static_cast<std::size_t>(cur_)];
  GetValue fitted = v;
  if (const std::string* t = std::get_if<std::string>(&v)) {
    // A text keeps the field's width.
    const long w = f.width > 0 ? f.width : static_cast<long>(std::get<std::string>(f.value.get()).size());
    fitted = PADR(*t, w);
  }
  if (!(f.value.get() == fitted)) {
    f.value.set(fitted);
    updated_[static_cast<std::size_t>(cur_)] = true;
  }
  buf_ = GetBuffer::for_field(f, f.value.get());
  draw_field(static_cast<std::size_t>(cur_));
  return true;
}

int FieldEditor::index_of(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (!name.empty() && fields_[i].name == name) return static_cast<int>(i);
  return -1;
}

void FieldEditor::copy() {
  if (cur_ >= 0) con_.clipboard = buf_.copy_text();
}

bool FieldEditor::paste() {
  if (cur_ < 0 || !buf_.paste(con_.clipboard)) {
    beep();
    return false;
  }
  draw_field(static_cast<std::size_t>(cur_));
  return true;
}

void FieldEditor::beep() { con_.tone(880, 2); }

void FieldEditor::draw_field(std::size_t i) {
  const GetField& f = fields_[i];
  const bool active = reading_ && static_cast<int>(i) == cur_;
  const std::string text = active ? buf_.display() : GetBuffer::for_field(f, f.value.get()).display();
  con_.put_text(f.row + platform::kScreenTop, f.col, text, active ? f.active_color : f.color);
}

void FieldEditor::redraw() {
  for (std::size_t i = 0; i < fields_.size(); ++i) draw_field(i);
  place_cursor();
}

void FieldEditor::place_cursor() {
  if (!reading_ || cur_ < 0) {
    con_.set_cursor(0, 0, false);
    return;
  }
  const GetField& f = fields_[static_cast<std::size_t>(cur_)];
  con_.set_cursor(f.row + platform::kScreenTop, f.col + buf_.cursor(), true);
}

int FieldEditor::field_at(int row, int col) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const GetField& f = fields_[i];
    const int w = GetBuffer::for_field(f, f.value.get()).display_width();
    if (f.row + platform::kScreenTop == row && col >= f.col && col < f.col + w) return static_cast<int>(i);
  }
  return -1;
}

bool FieldEditor::revalidate_applies() const {
  switch (opt_.valid_mode) {
    case 0: return opt_.mouse_or_buttons;
    case 1: return true;
    default: return false;
  }
}

FieldEditor::Outcome FieldEditor::run_fields() {
  for (;;) {
    place_cursor();
    con_.refresh();
    const platform::Event ev = con_.next_event();
    if (ev.kind == platform::Event::Quit) {
      quit_ = true;
      return Outcome::Abandon;
    }
    if (ev.kind == platform::Event::Mouse) {
      const int j = field_at(ev.row, ev.col);
      if (j < 0 || !enterable(static_cast<std::size_t>(j))) continue;
      if (!commit()) {
        beep();
        continue;
      }
      enter(j);
      buf_.cursor_to(ev.col - fields_[static_cast<std::size_t>(j)].col);
      continue;
    }
    if (ev.kind != platform::Event::Key) continue;
    const int k = ev.key;
    last_key_ = k;

    std::optional<Move> move;
    if (auto b = keys_.find(k); b != keys_.end()) {
      const KeyAction a = b->second(*this);
      redraw();
      if (a == KeyAction::Stay) continue;
      move = move_of(a);
    } else if (auto m = std::find_if(kMoveKeys.begin(), kMoveKeys.end(), [k](const MoveKey& x) { return x.key == k; });
               m != kMoveKeys.end()) {
      move = m->move;
    }

    if (move) {
      switch (*move) {
        case Move::Next: {
          if (!leave_forward()) continue;
          const int n = next_enterable(cur_ + 1, 1);
          if (n < 0) return Outcome::Accept;
          enter(n);
          continue;
        }
        case Move::Previous: {
          if (!commit()) {
            beep();
            continue;
          }
          const int n = next_enterable(cur_ - 1, -1);
          if (n >= 0) enter(n);
          continue;
        }
        case Move::End:
          if (!leave_forward()) continue;
          return Outcome::Accept;
        case Move::Back:
          if (!commit()) {
            beep();
            continue;
          }
          return Outcome::Accept;
        case Move::Escape:
          if (!opt_.exit_on_esc) continue;
          return Outcome::Abandon;
      }
    }

    if (k == key::kIns) {
      insert_ = !insert_;
      continue;
    }
    if (k == getkey::kPaste) {
      paste();
      continue;
    }
    if (k == getkey::kCopyField) {
      copy();
      continue;
    }
    if (auto e = std::find_if(kEditKeys.begin(), kEditKeys.end(), [k](const EditKey& x) { return x.key == k; });
        e != kEditKeys.end()) {
      (buf_.*(e->op))();
      draw_field(static_cast<std::size_t>(cur_));
      continue;
    }
    if (k >= 32 && k <= 255) {
      const EditResult r = buf_.type(static_cast<unsigned char>(k), insert_);
      draw_field(static_cast<std::size_t>(cur_));
      if (r == EditResult::Refused) {
        beep();
      } else if (r == EditResult::Filled) {
        // The field is full: move on as Enter does.
        if (!leave_forward()) continue;
        const int n = next_enterable(cur_ + 1, 1);
        if (n < 0) return Outcome::Accept;
        enter(n);
      }
      continue;
    }
    // Any other key has no meaning in a field.
  }
}

bool FieldEditor::read(std::size_t start) {
  original_.clear();
  for (const GetField& f : fields_) original_.push_back(f.value.get());
  std::fill(updated_.begin(), updated_.end(), false);
  last_key_ = 0;
  quit_ = false;
  cur_ = -1;
  end_field_ = -1;
  reading_ = true;

  int first = next_enterable(static_cast<int>(start), 1);
  bool accepted = true;
  while (first >= 0) {
    enter(first);
    redraw();
    const Outcome o = run_fields();
    end_field_ = cur_;
    if (o == Outcome::Abandon) {
      for (std::size_t i = 0; i < fields_.size(); ++i)
        if (!(fields_[i].value.get() == original_[i])) fields_[i].value.set(original_[i]);
      std::fill(updated_.begin(), updated_.end(), false);
      accepted = false;
      break;
    }
    first = -1;
    if (revalidate_applies()) {
      for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (!enterable(i)) continue;
        const GetField& f = fields_[i];
        if (f.valid && !f.valid()) {
          first = static_cast<int>(i);
          break;
        }
      }
    }
  }
  reading_ = false;
  cur_ = -1;
  redraw();
  con_.refresh();
  return accepted;
}

}  // namespace tx::screen
