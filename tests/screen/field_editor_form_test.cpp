// Forms of several fields: moving between them, checks, conditions,
// revalidation, abandoning, key bindings, mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console_headless.hpp"
#include "platform/keys.hpp"
#include "screen/field_editor.hpp"

namespace tx::screen {
namespace {

GetField text_field(int row, int col, std::string& v, const char* name = "") {
  GetField f;
  f.name = name;
  f.row = row;
  f.col = col;
  f.value = bind(v);
  return f;
}

// Three text fields of width 4 on rows 2, 3 and 4, column 20; field 1 is
// entered only while `second_open`; field 2 refuses the text "BAD ".
class Form : public ::testing::Test {
 protected:
  std::string a = "    ", b = "    ", c = "    ";
  bool second_open = true;
  int checks_of_first = 0;
  std::unique_ptr<platform::HeadlessConsole> con;
  std::vector<int> seen;  // active field at each {F10}

  std::vector<GetField> fields() {
    GetField f0 = text_field(2, 20, a, "A");
    f0.valid = [this] {
      ++checks_of_first;
      return a != "    ";
    };
    GetField f1 = text_field(3, 20, b, "B");
    f1.when = [this] { return second_open; };
    GetField f2 = text_field(4, 20, c, "C");
    f2.valid = [this] { return c != "BAD "; };
    return {f0, f1, f2};
  }

  FieldEditor editor(const char* script, ReadOptions o = {}) {
    con = platform::make_headless_console(script);
    EXPECT_EQ(con->script_error(), "");
    FieldEditor ed(*con, fields(), o);
    ed.bind_key(key::F(10), [this](FieldEditor& e) {
      seen.push_back(e.active());
      return KeyAction::Stay;
    });
    return ed;
  }
};

TEST_F(Form, EnterMovesOnAndEndsAfterTheLast) {
  FieldEditor ed = editor("x{Enter}y{Enter}z{Enter}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(a, "x   ");
  EXPECT_EQ(b, "y   ");
  EXPECT_EQ(c, "z   ");
  EXPECT_EQ(ed.last_key(), key::kEnter);
  EXPECT_EQ(ed.end_field(), 2);
  EXPECT_TRUE(ed.updated(0) && ed.updated(1) && ed.updated(2));
}

TEST_F(Form, ValidRefusingKeepsTheCursor) {
  FieldEditor ed = editor("{Enter}{F10}{Down}{F10}q{Tab}{F10}{PgDn}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(seen, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(a, "q   ");
  EXPECT_EQ(checks_of_first, 3);
}

TEST_F(Form, WhenFalseIsSkippedBothWays) {
  second_open = false;
  FieldEditor ed = editor("x{Enter}{F10}{Up}{F10}{Down}k{PgDn}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(seen, (std::vector<int>{2, 0}));
  EXPECT_EQ(b, "    ");
  EXPECT_EQ(c, "k   ");
}

TEST_F(Form, NoEnterableFieldEndsAtOnce) {
  con = platform::make_headless_console("");
  GetField f = text_field(1, 1, a);
  f.when = [] { return false; };
  FieldEditor ed(*con, {f});
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(ed.end_field(), -1);
  EXPECT_FALSE(con->script_exhausted());
}

TEST_F(Form, UpOnTheFirstFieldStays) {
  FieldEditor ed = editor("{Up}{F10}x{PgDn}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(seen, (std::vector<int>{0}));
}

TEST_F(Form, EscPutsEveryValueBack) {
  a = "old ";
  FieldEditor ed = editor("new{Enter}two{Enter}{Esc}");
  EXPECT_FALSE(ed.read());
  EXPECT_EQ(a, "old ");
  EXPECT_EQ(b, "    ");
  EXPECT_FALSE(ed.any_updated());
  EXPECT_EQ(ed.last_key(), key::kEsc);
  EXPECT_EQ(ed.end_field(), 2);
  // The screen shows the values put back.
  EXPECT_EQ(con->row_text(2 + platform::kScreenTop).substr(20, 4), "old ");
}

TEST_F(Form, EscIgnoredWhenTheFormMayNotBeLeftSo) {
  ReadOptions o;
  o.exit_on_esc = false;
  FieldEditor ed = editor("x{Esc}{PgDn}", o);
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(ed.last_key(), key::kPgDn);
}

TEST_F(Form, TerminalGoneAbandons) {
  FieldEditor ed = editor("x{Enter}");
  EXPECT_FALSE(ed.read());
  EXPECT_TRUE(ed.quit());
  EXPECT_EQ(a, "    ");
}

TEST_F(Form, PgDnChecksTheActiveFieldFirst) {
  FieldEditor ed = editor("{PgDn}{F10}x{PgDn}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(seen, (std::vector<int>{0}));
  EXPECT_EQ(ed.last_key(), key::kPgDn);
  EXPECT_EQ(ed.end_field(), 0);
}

TEST_F(Form, PgUpEndsWithoutCheckAndTellsTheKey) {
  FieldEditor ed = editor("{PgUp}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(ed.last_key(), key::kPgUp);
  EXPECT_EQ(checks_of_first, 0);
}

TEST_F(Form, UpdatedOnlyWhereTheValueChanged) {
  a = "same";
  FieldEditor ed = editor("same{Enter}{Ctrl-W}");  // "same" fills field 0
  EXPECT_TRUE(ed.read());
  EXPECT_FALSE(ed.updated(0));  // typed over with the same bytes
  EXPECT_FALSE(ed.updated(1));
  EXPECT_EQ(ed.last_key(), key::kCtrlEnd);
}

// The check of every field when the form ends, by validation mode.
struct RevalidateCase {
  int mode;
  bool mouse_or_buttons;
  bool revalidates;
};

class Revalidation : public Form, public ::testing::WithParamInterface<RevalidateCase> {};

TEST_P(Revalidation, RestartsAtTheFirstInvalidField) {
  c = "BAD ";  // never entered before PgDn, so only a revalidation finds it
  ReadOptions o;
  o.valid_mode = GetParam().mode;
  o.mouse_or_buttons = GetParam().mouse_or_buttons;
  FieldEditor ed = editor("ok{PgDn}{F10}{Ctrl-Y}GOOD", o);
  EXPECT_TRUE(ed.read());
  if (GetParam().revalidates) {
    EXPECT_EQ(seen, (std::vector<int>{2}));
    EXPECT_EQ(c, "GOOD");
    EXPECT_EQ(ed.end_field(), 2);
  } else {
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(c, "BAD ");
    EXPECT_EQ(ed.end_field(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, Revalidation,
                         ::testing::Values(RevalidateCase{0, false, false}, RevalidateCase{0, true, true},
                                           RevalidateCase{1, false, true}, RevalidateCase{2, true, false}));

TEST_F(Form, RevalidationSkipsFieldsThatCannotBeEntered) {
  second_open = false;
  ReadOptions o;
  o.valid_mode = 1;
  con = platform::make_headless_console("x{PgDn}");
  std::vector<GetField> fs = fields();
  fs[1].valid = [] { return false; };  // would loop forever if it were checked
  FieldEditor ed(*con, fs, o);
  EXPECT_TRUE(ed.read());
}

TEST_F(Form, MouseClickMovesToTheField) {
  // Field 2 stands on program row 4, physical row 5; column 22 is its third byte.
  FieldEditor ed = editor("{Click 5,22}{F10}z{Click 9,9}{F10}{PgDn}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(seen, (std::vector<int>{2, 2}));
  EXPECT_EQ(c, "  z ");
  EXPECT_EQ(checks_of_first, 0);  // a click is no forward move
}

TEST_F(Form, ClickOnAFieldThatCannotBeEnteredIsIgnored) {
  second_open = false;
  FieldEditor ed = editor("{Click 4,20}{F10}x{PgDn}");
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(seen, (std::vector<int>{0}));
  EXPECT_EQ(a, "x   ");
  EXPECT_EQ(ed.index_of("B"), 1);
  EXPECT_EQ(ed.index_of(""), -1);
}

TEST_F(Form, UpperCaseForTextsWithoutPicture) {
  ReadOptions o;
  o.upper_plain_texts = true;
  con = platform::make_headless_console("ab{Enter}cd{Enter}{PgDn}");
  std::vector<GetField> fs = fields();
  fs[1].picture = "XXXX";
  FieldEditor ed(*con, fs, o);
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(a, "AB  ");
  EXPECT_EQ(b, "cd  ");
}

TEST_F(Form, ActiveFieldDrawnInItsActiveColour) {
  FieldEditor ed = editor("{F10}{Enter}");
  std::string attrs_during;
  int cursor_row = -1;
  ed.bind_key(key::F(10), [&](FieldEditor&) {
    attrs_during = con->screen_attrs();
    cursor_row = con->cursor_row();
    return KeyAction::Stay;
  });
  a = "x   ";
  ed.read();
  // Line 3 of the dump is physical row 3 = program row 2; column 20.
  auto attr_at = [](const std::string& dump, int row, int col) {
    return dump.substr(static_cast<std::size_t>(row * (80 * 2 + 1) + col * 2), 2);
  };
  EXPECT_EQ(attr_at(attrs_during, 3, 20), "1F");
  EXPECT_EQ(attr_at(attrs_during, 4, 20), "70");
  EXPECT_EQ(cursor_row, 3);
}

TEST_F(Form, BindingPicksAValueAndEndsTheForm) {
  FieldEditor ed = editor("{F2}{Enter}{F3}");
  ed.bind_key(key::F(2), [](FieldEditor& e) {
    EXPECT_TRUE(e.set_active_value(std::string("PICKED")));  // cut to the width
    EXPECT_FALSE(e.set_active_value(Decimal(1)));  // not a text
    return KeyAction::Stay;
  });
  ed.bind_key(key::F(3), [](FieldEditor&) { return KeyAction::Accept; });
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(a, "PICK");
  EXPECT_TRUE(ed.updated(0));
  EXPECT_EQ(ed.last_key(), key::F(3));
  EXPECT_EQ(ed.end_field(), 1);
}

TEST_F(Form, BindingWinsOverTheEditorsOwnKey) {
  FieldEditor ed = editor("x{Enter}{Esc}");
  ed.bind_key(key::kEnter, [](FieldEditor&) { return KeyAction::Accept; });
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(ed.end_field(), 0);
  ed.unbind_key(key::kEnter);
}

TEST_F(Form, ValidSeesTheNewValueAndMayRewriteIt) {
  con = platform::make_headless_console("ab{Enter}{PgDn}");
  std::vector<GetField> fs = fields();
  fs[0].valid = [this] {
    a = "AB!!";  // a check that normalises the value
    return true;
  };
  FieldEditor ed(*con, fs);
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(a, "AB!!");
  EXPECT_EQ(con->row_text(2 + platform::kScreenTop).substr(20, 4), "AB!!");
}

}  // namespace
}  // namespace tx::screen
