// Paste (Alt-V) and copy of the active entry field through the console's
// clipboard.
#include <gtest/gtest.h>

#include <string>

#include "base/date.hpp"
#include "platform/console_headless.hpp"
#include "platform/keys.hpp"
#include "screen/field_editor.hpp"
#include "get_value_text.hpp"
#include "screen/get_clipboard.hpp"
#include "screen/get_keys.hpp"

namespace tx::screen {
namespace {

struct PasteCase {
  const char* name;
  GetValue start;
  const char* picture;
  const char* clipboard;
  GetValue want;  // equal to start when nothing may change
  bool beeps;
};

void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

class Paste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(Paste, ConvertsToTheFieldsKind) {
  const PasteCase& c = GetParam();
  auto con = platform::make_headless_console("{Alt-V}{Enter}");
  con->clipboard = c.clipboard;
  GetValue value = c.start;
  GetField f;
  f.row = 1;
  f.col = 1;
  f.picture = c.picture;
  f.value = {[&value] { return value; }, [&value](const GetValue& v) { value = v; }};
  FieldEditor ed(*con, {f});
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(shown(value), shown(c.want));
  EXPECT_EQ(!con->tones().empty(), c.beeps);
}

const Decimal k0(0);

INSTANTIATE_TEST_SUITE_P(
    Kinds, Paste,
    ::testing::Values(
        PasteCase{"text_padded", std::string("xxxxxx"), "", "ab", std::string("ab    "), false},
        PasteCase{"text_cut", std::string("xxx"), "", "abcdef", std::string("abc"), false},
        PasteCase{"text_first_line_only", std::string("xxxx"), "", "ab\r\ncd", std::string("ab  "), false},
        PasteCase{"text_upper", std::string("xxx"), "@!", "abc", std::string("ABC"), false},
        PasteCase{"text_empty_changes_nothing", std::string("keep"), "", "  ", std::string("keep"), true},
        PasteCase{"cpf_as_shown", std::string(11, ' '), "@R 999.999.999-99", "123.456.789-09",
                  std::string("12345678909"), false},
        PasteCase{"cpf_digits_only", std::string(11, ' '), "@R 999.999.999-99", "12345678909",
                  std::string("12345678909"), false},
        PasteCase{"cpf_letters_refused", std::string("11111111111"), "@R 999.999.999-99", "abc",
                  std::string("11111111111"), true},
        PasteCase{"number_brazilian", k0, "@E 999,999.99", "1.234,56", Decimal::from_units(123456, 2), false},
        PasteCase{"number_plain", k0, "@E 999,999.99", "1234.56", Decimal::from_units(123456, 2), false},
        PasteCase{"number_negative", k0, "999.99", "-12,5", Decimal::from_units(-1250, 2), false},
        PasteCase{"number_rounded_to_the_picture", k0, "999.99", "1.005", Decimal::from_units(101, 2), false},
        PasteCase{"number_too_large_refused", Decimal(5), "999.99", "12345", Decimal(5), true},
        PasteCase{"number_text_refused", Decimal(5), "999.99", "R$ 10", Decimal(5), true},
        PasteCase{"number_empty_refused", Decimal(5), "999.99", "", Decimal(5), true},
        PasteCase{"date_pasted", Date(), "", "30/04/2014", Date::ymd(2014, 4, 30), false},
        PasteCase{"date_impossible_refused", Date::ymd(2014, 1, 1), "", "31/02/2014", Date::ymd(2014, 1, 1),
                  true},
        PasteCase{"date_other_form_refused", Date::ymd(2014, 1, 1), "", "2014-04-30", Date::ymd(2014, 1, 1),
                  true},
        PasteCase{"logical", false, "", "S", true, false}),
    [](const ::testing::TestParamInfo<PasteCase>& i) { return std::string(i.param.name); });

TEST(ClipNumber, ReadsBothNotations) {
  struct Row {
    const char* text;
    std::optional<Decimal> want;
  };
  const Row rows[] = {
      {"1.234,56", Decimal::from_units(123456, 2)}, {"1234.56", Decimal::from_units(123456, 2)},
      {"1.234.567", Decimal(1234567)},              {" 7 ", Decimal(7)},
      {"-0,5", Decimal::from_units(-5, 1)},         {"1,2,3", std::nullopt},
      {"1,5.3", std::nullopt},                      {"12 34", std::nullopt},
      {"", std::nullopt},                           {"abc", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(clip_number(r.text), r.want) << r.text;
}

// The value of the active field, as text a paste reads back.
struct CopyCase {
  const char* name;
  GetValue start;
  const char* picture;
  const char* script;  // before the copy key
  const char* want;
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

class Copy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(Copy, PutsTheActiveValueOnTheClipboard) {
  const CopyCase& c = GetParam();
  auto con = platform::make_headless_console(std::string(c.script) + "{Key 1003}{Esc}");
  GetValue value = c.start;
  GetField f;
  f.picture = c.picture;
  f.value = {[&value] { return value; }, [&value](const GetValue& v) { value = v; }};
  FieldEditor ed(*con, {f});
  EXPECT_FALSE(ed.read());
  EXPECT_EQ(con->clipboard, c.want);
  EXPECT_EQ(shown(value), shown(c.start));  // Esc: copying changed nothing
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Copy,
    ::testing::Values(CopyCase{"text_trimmed", std::string("abc   "), "", "", "abc"},
                      CopyCase{"text_being_typed", std::string("abc   "), "", "{End}d", "abcd"},
                      CopyCase{"cpf_value_without_literals", std::string("12345678909"), "@R 999.999.999-99", "",
                               "12345678909"},
                      CopyCase{"number", Decimal::from_units(123450, 2), "@E 999,999.99", "", "1234,50"},
                      CopyCase{"number_too_large_for_its_picture", Decimal(12345), "9,999.99", "", "12345,00"},
                      CopyCase{"date", Date::ymd(2014, 4, 30), "", "", "30/04/2014"},
                      CopyCase{"empty_date", Date(), "", "", ""}),
    [](const ::testing::TestParamInfo<CopyCase>& i) { return std::string(i.param.name); });

TEST(CopyKey, PgDnKeepsEndingTheFormAndCopiesNothing) {
  static_assert(getkey::kCopyField != key::kPgDn);
  auto con = platform::make_headless_console("{PgDn}");
  con->clipboard = "before";
  std::string v = "abc";
  GetField f;
  f.value = bind(v);
  FieldEditor ed(*con, {f});
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(ed.last_key(), key::kPgDn);
  EXPECT_EQ(con->clipboard, "before");
}

TEST(CopyKey, CopiedAmountPastesBackIntoAnotherField) {
  auto con = platform::make_headless_console("{Key 1003}{Enter}{Alt-V}{Enter}");
  Decimal from = Decimal::from_units(-98765, 2), to;
  GetField a, b;
  a.picture = b.picture = "@E 999,999.99";
  a.value = bind(from);
  b.row = 1;
  b.value = bind(to);
  FieldEditor ed(*con, {a, b});
  EXPECT_TRUE(ed.read());
  EXPECT_EQ(to, from);
}

}  // namespace
}  // namespace tx::screen
