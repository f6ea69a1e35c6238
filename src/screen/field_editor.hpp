// FieldEditor: runs an entry form (a list of GetField) modally: xBase's
// GETs followed by READ.
//
// read() draws every field (entry colour; the active one in its active
// colour) and edits them one at a time with the rules of GetBuffer. Keys:
//   Enter, Down, Tab        next field (the active field's `valid` runs first)
//   Up, Shift-Tab           previous field (no `valid`; stays on the first)
//   PgDn, Ctrl-W (Ctrl-End) end the form accepting (the active field's
//                           `valid` runs first)
//   PgUp                    end the form accepting, going back (no `valid`
//                           for the active field; last_key() tells PgUp)
//   Esc                     abandon: every bound value is put back as it was
//                           when read() started, read() returns false (only
//                           when exit_on_esc; otherwise Esc is ignored)
//   Ins                     insert / overwrite for texts (kept across fields)
//   Home End Left Right Del Backspace Ctrl-Y   editing inside the field
//   Alt-V                   paste the console's clipboard into the field
//   getkey::kCopyField      copy the field's value to the clipboard
//   mouse click on a field  moves to it (no `valid`, as with Up)
// A typed byte that fills the last position moves on as Enter does.
// Enter on the last field ends the form accepting. A field whose `when` is
// false is skipped in both directions; when no field can be entered read()
// ends at once accepting. Leaving a field stores its value through the
// binding when it was edited and differs (then updated(i) turns true); a
// date that is not a real date cannot be left (beep). A refused key beeps.
//
// When the form ends accepting, the fields are validated again according to
// ReadOptions::valid_mode (0: only when `mouse_or_buttons`, 1: always,
// 2: never): every enterable field's `valid` runs in order and at the first
// refusal the form restarts on that field.
//
// With upper_plain_texts every text field without picture gets its upper
// flag (the window's "texts in upper case" setting).
//
// Key bindings (bind_key) win over the keys above; a handler may use the
// editor (active field, set_active_value) and returns what happens next.
// The terminal going away (Quit) abandons the form like Esc.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "platform/console.hpp"
#include "screen/get_buffer.hpp"
#include "screen/get_field.hpp"

namespace tx::screen {

struct ReadOptions {
  int valid_mode = 0;            // 0, 1 or 2 (see above)
  bool mouse_or_buttons = false; // the form's window has buttons or takes mouse events
  bool exit_on_esc = true;
  bool upper_plain_texts = false;  // text fields without picture are typed in upper case
};

enum class KeyAction {
  Stay,      // handled; keep editing the active field
  Next,      // as Enter
  Previous,  // as Up
  Accept,    // as PgDn
  Abandon,   // as Esc
};

class FieldEditor;
using KeyHandler = std::function<KeyAction(FieldEditor&)>;

class FieldEditor {
 public:
  FieldEditor(platform::Console& console, std::vector<GetField> fields, ReadOptions options = {});

  void bind_key(int key, KeyHandler handler);
  void unbind_key(int key);

  // Runs the form from field `start` (or the first enterable one after it);
  // true when it ended accepting, false when abandoned.
  bool read(std::size_t start = 0);

  int last_key() const { return last_key_; }        // the key that ended the read
  int end_field() const { return end_field_; }      // -1 when no field was entered
  bool updated(std::size_t i) const { return i < updated_.size() && updated_[i]; }
  bool any_updated() const;
  bool quit() const { return quit_; }               // ended because the terminal went away
  bool insert_mode() const { return insert_; }

  std::size_t size() const { return fields_.size(); }
  const GetField& field(std::size_t i) const { return fields_.at(i); }
  int index_of(std::string_view name) const;  // -1 when no field has that name
  // While read() runs: the active field and its buffer.
  int active() const { return cur_; }
  const GetBuffer& buffer() const { return buf_; }
  // Stores a value into the active field at once and shows it (for pick
  // lists bound to a key); a text is padded or cut to the field's width;
  // false when the value is not of the field's kind.
  // Esc still puts the value of the start back.
  bool set_active_value(const GetValue& v);
  void copy();
  bool paste();
  // Draws every field again (after a handler drew over them).
  void redraw();

 private:
  enum class Outcome { Accept, Abandon };
  bool enterable(std::size_t i) const;
  int next_enterable(int from, int step) const;
  void enter(int i);
  bool commit();  // stores the active buffer; false for an impossible date
  bool leave_forward();
  Outcome run_fields();
  bool revalidate_applies() const;
  void draw_field(std::size_t i);
  void place_cursor();
  void beep();
  int field_at(int row, int col) const;

  platform::Console& con_;
  std::vector<GetField> fields_;
  ReadOptions opt_;
  std::map<int, KeyHandler> keys_;

  std::vector<GetValue> original_;
  std::vector<bool> updated_;
  GetBuffer buf_;
  int cur_ = -1;
  int last_key_ = 0;
  int end_field_ = -1;
  bool insert_ = false;
  bool quit_ = false;
  bool reading_ = false;
};

}  // namespace tx::screen
