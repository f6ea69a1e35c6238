// Typing into one field: keystroke scripts against pictures, read through
// the headless console.
#include <gtest/gtest.h>

#include <string>

#include "base/xbase.hpp"
#include "platform/console_headless.hpp"
#include "platform/keys.hpp"
#include "screen/field_editor.hpp"
#include "get_value_text.hpp"

namespace tx::screen {
namespace {

constexpr int kRow = 5, kCol = 10;

struct TypingCase {
  const char* name;
  GetValue start;
  const char* picture;
  int width;
  int decimals;
  const char* script;  // {F10} records what the field shows at that moment
  GetValue want;
  const char* screen;  // the field's cells after the read ("" = not checked)
  bool beeps;
  bool accepted = true;
  const char* at_f10 = "";  // the field's cells at each {F10}, joined by "|"
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name << " " << c.script; }

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, GivesValueAndScreen) {
  const TypingCase& c = GetParam();
  auto con = platform::make_headless_console(c.script);
  ASSERT_EQ(con->script_error(), "");
  GetValue value = c.start;
  GetField f;
  f.row = kRow;
  f.col = kCol;
  f.picture = c.picture;
  f.width = c.width;
  f.decimals = c.decimals;
  f.value = {[&value] { return value; }, [&value](const GetValue& v) { value = v; }};
  FieldEditor ed(*con, {f});
  std::string at_f10;
  ed.bind_key(key::F(10), [&](FieldEditor& e) {
    if (!at_f10.empty()) at_f10 += "|";
    at_f10 += con->row_text(kRow + platform::kScreenTop).substr(kCol, static_cast<std::size_t>(e.buffer().display_width()));
    return KeyAction::Stay;
  });

  EXPECT_EQ(ed.read(), c.accepted);
  EXPECT_EQ(shown(value), shown(c.want));
  if (*c.screen) {
    const std::string row = con->row_text(kRow + platform::kScreenTop);
    EXPECT_EQ(row.substr(kCol, std::string(c.screen).size()), c.screen);
  }
  EXPECT_EQ(!con->tones().empty(), c.beeps);
  EXPECT_EQ(at_f10, c.at_f10);
}

const Date kNoDate;
const Decimal k0(0);

INSTANTIATE_TEST_SUITE_P(
    Pictures, Typing,
    ::testing::Values(
        // CPF: literals skipped, filling the last digit ends the (only) field.
        TypingCase{"cpf_fills_and_advances", std::string(11, ' '), "@R 999.999.999-99", 0, 0,
                   "12345678909", std::string("12345678909"), "123.456.789-09", false},
        TypingCase{"cpf_refuses_letters", std::string(11, ' '), "@R 999.999.999-99", 0, 0,
                   "123a45678909", std::string("12345678909"), "123.456.789-09", true},
        TypingCase{"cpf_partial", std::string(11, ' '), "@R 999.999.999-99", 0, 0,
                   "1234{Enter}", std::string("1234       "), "123.4  .   -  ", false},
        // Amounts typed from the right; the comma jumps to the decimals.
        TypingCase{"amount_brazilian", k0, "@Ez 999,999,999.99", 0, 0, "1234,5{Enter}",
                   Decimal::from_units(123450, 2), "      1.234,50", false},
        TypingCase{"amount_shows_while_typing", k0, "@Ez 999,999,999.99", 0, 0,
                   "1234{F10},5{F10}{Enter}", Decimal::from_units(123450, 2), "", false, true,
                   "      1.234,00|      1.234,50"},
        TypingCase{"amount_first_key_clears", Decimal(500), "@E 9,999.99", 0, 0, "7{Enter}",
                   Decimal(7), "    7,00", false},
        TypingCase{"amount_continued_after_backspace", Decimal(500), "@E 9,999.99", 0, 0,
                   "{Backspace}{Backspace}3{Enter}", Decimal(53), "   53,00", false},
        TypingCase{"amount_too_many_digits_refused", k0, "@E 9,999.99", 0, 0, "12345{Enter}",
                   Decimal(1234), "1.234,00", true},
        TypingCase{"amount_decimals_fill_and_advance", k0, "@E 9,999.99", 0, 0, "12,345",
                   Decimal::from_units(1234, 2), "   12,34", false},
        TypingCase{"amount_negative", k0, "@E 9,999.99", 0, 0, "-12,3{Enter}",
                   Decimal::from_units(-1230, 2), "  -12,30", false},
        TypingCase{"amount_no_room_for_sign", k0, "99.9", 0, 0, "12-{Enter}", Decimal(12), "12.0", true},
        TypingCase{"amount_plain_point", k0, "999.99", 0, 0, "3.5{Enter}",
                   Decimal::from_units(350, 2), "  3.50", false},
        TypingCase{"amount_point_without_decimals", k0, "999", 0, 0, "4,{Enter}", Decimal(4), "  4", true},
        TypingCase{"amount_end_edits_the_last_decimal", Decimal::from_units(1234, 2), "@E 99.99", 0, 0,
                   "{End}9", Decimal::from_units(1239, 2), "12,39", false},
        TypingCase{"amount_left_from_decimals_back_to_integers", Decimal::from_units(1234, 2), "99.99", 0, 0,
                   "{Right}{Left}{Backspace}{Enter}", Decimal::from_units(134, 2), " 1.34", false},
        TypingCase{"amount_ctrl_y_clears", Decimal(77), "999", 0, 0, "{Right}{Ctrl-Y}{Enter}", k0, "  0", false},
        // A value that does not fit shows asterisks and is kept, never read back as 0.
        TypingCase{"too_large_kept", Decimal(12345), "@E 9,999.99", 0, 0, "{Enter}", Decimal(12345),
                   "*.***,**", false},
        TypingCase{"too_large_replaced_by_typing", Decimal(12345), "@E 9,999.99", 0, 0, "8{Enter}",
                   Decimal(8), "    8,00", false},
        TypingCase{"number_without_template", k0, "", 8, 2, "12.5{Enter}", Decimal::from_units(1250, 2),
                   "   12.50", false},
        TypingCase{"z9_blank_then_digit_fills", k0, "@Z 9", 0, 0, "{F10}5", Decimal(5), "5", false, true, " "},
        TypingCase{"z9_zero_blank", Decimal(3), "@Z 9", 0, 0, "{Del}{Enter}", k0, " ", false},
        // Texts.
        TypingCase{"upper_function", std::string("     "), "@!", 0, 0, "abc{Enter}", std::string("ABC  "),
                   "", false},
        TypingCase{"upper_slot_only_first", std::string("   "), "!XX", 0, 0, "abc", std::string("Abc"),
                   "Abc", false},
        TypingCase{"literal_without_r_is_part_of_value", std::string("     "), "99-99", 0, 0, "1234",
                   std::string("12-34"), "12-34", false},
        TypingCase{"scroll_shows_the_cursor_end", std::string(20, ' '), "@S10", 0, 0,
                   "abcdefghijklmno{F10}{Home}{F10}{Enter}", std::string("abcdefghijklmno     "),
                   "abcdefghij", false, true, "ghijklmno |abcdefghij"},
        TypingCase{"del_shifts_left", std::string("abcdef"), "", 0, 0, "{Right}{Del}{Enter}",
                   std::string("acdef "), "acdef ", false},
        TypingCase{"backspace_deletes_left", std::string("abc   "), "", 0, 0, "{End}{Backspace}{Enter}",
                   std::string("ab    "), "", false},
        TypingCase{"backspace_at_start_nothing", std::string("abc"), "", 0, 0, "{Backspace}{Enter}",
                   std::string("abc"), "", false},
        TypingCase{"insert_shifts_right", std::string("abc   "), "", 0, 0, "{Ins}XY{Enter}",
                   std::string("XYabc "), "", false},
        TypingCase{"insert_refused_when_full", std::string("abcdef"), "", 0, 0, "{Ins}X{Enter}",
                   std::string("abcdef"), "", true},
        TypingCase{"overwrite_default", std::string("abcdef"), "", 0, 0, "XY{Enter}", std::string("XYcdef"),
                   "", false},
        TypingCase{"ctrl_y_clears_to_end", std::string("abcdef"), "", 0, 0, "{Right*2}{Ctrl-Y}{Enter}",
                   std::string("ab    "), "", false},
        TypingCase{"k_clears_on_first_key", std::string("abcdef"), "@K", 0, 0, "xy{Enter}",
                   std::string("xy    "), "", false},
        TypingCase{"end_then_type_appends", std::string("ab    "), "", 0, 0, "{End}c{Enter}",
                   std::string("abc   "), "", false},
        // Dates.
        TypingCase{"date_typed", kNoDate, "", 0, 0, "30042014", Date::ymd(2014, 4, 30), "30/04/2014", false},
        TypingCase{"date_impossible_stays_then_fixed", kNoDate, "", 0, 0, "31022014{Enter}{Home}28022014",
                   Date::ymd(2014, 2, 28), "28/02/2014", true},
        TypingCase{"date_impossible_never_stored", kNoDate, "", 0, 0, "31022014{Enter}", kNoDate, "", true,
                   false},
        TypingCase{"date_cleared_is_empty", Date::ymd(2014, 1, 2), "", 0, 0, "{Ctrl-Y}{Enter}", kNoDate,
                   "  /  /    ", false},
        TypingCase{"date_refuses_letters", kNoDate, "", 0, 0, "3x0042014", Date::ymd(2014, 4, 30), "", true},
        // Logicals.
        TypingCase{"logical_yes_in_portuguese", false, "Y", 0, 0, "s", true, "", false},
        TypingCase{"logical_refuses_other", true, "", 0, 0, "q{Enter}", true, "T", true}),
    [](const ::testing::TestParamInfo<TypingCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace tx::screen
