// GetBuffer: the text of one entry field while it is being edited, and the
// editing rules of its picture. It knows nothing of the screen: the field
// editor draws display() at the field's place and puts the cursor at
// cursor().
//
// Texts and dates: the buffer holds the shown bytes; only template
// positions can be typed (literals are skipped). Slot rules: "9" digits,
// "#" digits, blank, sign or point, "A" letters, "N" letters and digits,
// "L" T/F/Y/N, "Y" Y/N, "X" anything, "!" anything in upper case; "@!" or
// the field's upper flag makes every position upper case. Typing overwrites,
// or in insert mode shifts the rest right (refused when that would push a
// non-blank byte out). Dates are "dd/mm/yyyy", always overwritten. "@S<n>"
// shows n bytes of a wider text and scrolls with the cursor. "@K": the
// first typed key clears the text.
//
// Numbers are typed from the right: the integer digits enter next to the
// decimal point and push the earlier ones left; "." or "," moves to the
// decimals, which fill left to right; "-" turns the sign over. The first
// value key (digit, point, comma, sign) after the field is entered clears
// the number, so typing replaces the value; any cursor or editing key
// before it keeps the value and lets the operator continue it. Backspace
// takes back the last digit, Del and Ctrl-Y clear the number. A digit that
// would not fit the template is refused, so a value is never shown as
// asterisks because of typing; a value that did not fit when loaded shows
// asterisks and is kept exactly unless the operator edits it.
//
// Invariants: display() is always display_width() bytes; the cursor is on
// a typable position (for a field with none, on its first byte); value()
// is nullopt only for a date that is not a real date.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/picture.hpp"
#include "screen/get_field.hpp"

namespace tx::screen {

enum class EditResult {
  Unchanged,  // nothing to do (e.g. Backspace on the first position)
  Changed,    // the buffer or the cursor changed
  Filled,     // a byte went into the last position: the field is full
  Refused,    // not allowed here: the caller beeps
};

class GetBuffer {
 public:
  GetBuffer() = default;
  GetBuffer(GetKind kind, std::string_view picture, int width, int decimals, bool upper);
  static GetBuffer for_field(const GetField& f, const GetValue& current);

  // Shows a value; the cursor goes to the first position and the buffer
  // counts as not edited.
  void load(const GetValue& v);
  // The edited value; nullopt for an impossible or incomplete date.
  std::optional<GetValue> value() const;
  bool edited() const { return edited_; }
  GetKind kind() const { return kind_; }

  std::string display() const;
  int display_width() const;
  int cursor() const;  // offset of the cursor in display()

  EditResult type(unsigned char c, bool insert);
  EditResult backspace();
  EditResult del();
  EditResult clear_to_end();  // Ctrl-Y
  EditResult home();
  EditResult end();
  EditResult left();
  EditResult right();
  // Puts the cursor on the typable position nearest to a display offset.
  void cursor_to(int offset);

  // Replaces the value by a clipboard text converted to the field's kind;
  // false (nothing changed) when the text is empty or does not convert or
  // does not fit.
  bool paste(std::string_view clip);
  // The value as text for the clipboard.
  std::string copy_text() const;

 private:
  bool is_number() const { return kind_ == GetKind::Number; }
  // text / date helpers
  int slot_index() const;  // index of pos_ among the typable positions, -1 none
  void move_to_slot(int k);
  void keep_in_view();
  bool accepts(char slot, unsigned char c) const;
  unsigned char fold(char slot, unsigned char c) const;
  std::string text_value() const;
  // number helpers
  Decimal number_value() const;
  int significant_int_digits() const;
  void clear_number();
  void begin_number_key();
  std::string number_picture_display(Decimal v) const;

  GetKind kind_ = GetKind::Text;
  bool edited_ = false;
  bool clear_first_ = false;  // "@K"
  bool fresh_ = false;  // the first value key clears

  // texts, dates, logicals
  std::string buf_;     // shown bytes (the whole width, before scrolling)
  std::string slots_;   // template byte of each typable position, '\0' for literals
  std::vector<int> typable_;  // indices of typable positions
  bool insert_literals_ = false;  // "@R": literals are not part of the value
  bool upper_all_ = false;
  int scroll_ = 0;      // "@S<n>"
  int offset_ = 0;      // first shown byte when scrolling
  int pos_ = 0;         // cursor index in buf_
  std::string tail_;    // bytes of the loaded text beyond the picture
  bool logical_yn_ = false;

  // numbers
  std::string pic_;     // picture with a template, for TRANSFORM
  std::string tmpl_;
  int int_slots_ = 0, dec_slots_ = 0;
  std::vector<int> int_pos_, dec_pos_;  // display indices of digit positions
  Decimal loaded_;
  std::string int_digits_;  // as typed, no sign
  std::string dec_digits_;  // exactly dec_slots_ digits
  bool neg_ = false;
  int dec_cursor_ = -1;     // -1: on the integer part; else the decimal position
};

}  // namespace tx::screen
