// Key scripts of the headless console: names, repeats, clicks, text, errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "platform/console_headless.hpp"
#include "platform/keys.hpp"

using namespace tx;
using namespace tx::platform;

namespace {

std::vector<int> keys_of(std::string_view script) {
  std::string error;
  std::vector<int> out;
  for (const Event& ev : parse_key_script(script, error)) {
    EXPECT_EQ(ev.kind, Event::Key) << script;
    out.push_back(ev.key);
  }
  EXPECT_EQ(error, "") << script;
  return out;
}

struct TokenCase {
  const char* token;
  int code;
};

TEST(KeyScript, EveryNamedKeyGivesItsClassicCode) {
  const TokenCase cases[] = {
      {"{Enter}", 13},       {"{Esc}", 27},          {"{Up}", 5},           {"{Down}", 24},
      {"{Left}", 19},        {"{Right}", 4},         {"{Home}", 1},         {"{End}", 6},
      {"{PgUp}", 18},        {"{PgDn}", 3},          {"{Ctrl-PgUp}", 31},   {"{Ctrl-PgDn}", 30},
      {"{Ctrl-Home}", 29},   {"{Ctrl-End}", 23},     {"{Ctrl-Left}", 26},   {"{Ctrl-Right}", 2},
      {"{Ctrl-Enter}", 10},  {"{Ins}", 22},          {"{Del}", 7},          {"{Backspace}", 8},
      {"{BS}", 8},           {"{Tab}", 9},           {"{Shift-Tab}", 271},  {"{F1}", 28},
      {"{F2}", -1},          {"{F10}", -9},          {"{F11}", -40},        {"{F12}", -41},
      {"{Shift-F1}", -10},   {"{Shift-F10}", -19},   {"{Ctrl-F1}", -20},    {"{Ctrl-F10}", -29},
      {"{Alt-F1}", -30},     {"{Alt-F10}", -39},     {"{Alt-F12}", -47},    {"{Alt-Q}", 272},
      {"{Alt-I}", 279},      {"{Alt-M}", 306},       {"{alt-i}", 279},      {"{Alt-1}", 376},
      {"{Ctrl-C}", 1003},    {"{Ctrl-S}", 19},       {"{Ctrl-Q}", 17},      {"{ENTER}", 13},
      {"{Space}", ' '},      {"{Key 279}", 279},     {"{Key -41}", -41},    {"{{", '{'},
  };
  for (const auto& c : cases) {
    auto keys = keys_of(c.token);
    ASSERT_EQ(keys.size(), 1u) << c.token;
    EXPECT_EQ(keys[0], c.code) << c.token;
  }
}

TEST(KeyScript, TextRepeatsAndLineBreaks) {
  EXPECT_EQ(keys_of("ab{Down*3}c"), (std::vector<int>{'a', 'b', 24, 24, 24, 'c'}));
  EXPECT_EQ(keys_of("a\nb\r\n{Enter}"), (std::vector<int>{'a', 'b', 13}));
  EXPECT_EQ(keys_of("x}y"), (std::vector<int>{'x', '}', 'y'}));
  // Typed UTF-8 arrives as the code page 850 byte.
  auto keys = keys_of("ção É");
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[0], 0x87);
  EXPECT_EQ(keys[1], 0xC6);
  EXPECT_EQ(keys[2], 'o');
  EXPECT_EQ(keys[4], 0x90);
}

TEST(KeyScript, TicksQuitAndClicks) {
  std::string error;
  auto evs = parse_key_script("{Tick*2}{Click 5,10}{RightClick 26,79}{DoubleClick 0, 0}{Quit}", error);
  ASSERT_EQ(error, "");
  ASSERT_EQ(evs.size(), 6u);
  EXPECT_EQ(evs[0].kind, Event::Tick);
  EXPECT_EQ(evs[1].kind, Event::Tick);
  EXPECT_EQ(evs[2].kind, Event::Mouse);
  EXPECT_EQ(evs[2].row, 5);
  EXPECT_EQ(evs[2].col, 10);
  EXPECT_EQ(evs[2].button, 1);
  EXPECT_FALSE(evs[2].double_click);
  EXPECT_EQ(evs[3].button, 3);
  EXPECT_EQ(evs[3].row, 26);
  EXPECT_TRUE(evs[4].double_click);
  EXPECT_EQ(evs[5].kind, Event::Quit);
}

TEST(KeyScript, BadScriptsAreReportedWithTheirPlace) {
  const char* bad[] = {
      "{Entr}",          "{F13}",        "{Alt-?}",       "ab{Enter",     "{Down*0}",
      "{Down*x}",        "{Key}",        "{Key abc}",     "{Click 5}",    "{Click 27,0}",
      "{Click 0,80}",    "{Tick 3}",     "€",             "a\tb",         "{Enter\n}",
  };
  for (const char* script : bad) {
    std::string error;
    parse_key_script(script, error);
    EXPECT_NE(error, "") << script;
    EXPECT_NE(error.find("offset"), std::string::npos) << error;
  }
  std::string error;
  parse_key_script("abc{Nope}", error);
  EXPECT_NE(error.find("offset 3"), std::string::npos) << error;
  EXPECT_NE(error.find("{Nope}"), std::string::npos) << error;
}

TEST(KeyScript, ConsoleWithBadScriptHasNoEventsAndEndsAtOnce) {
  HeadlessConsole con("abc{Bogus}def");
  EXPECT_NE(con.script_error(), "");
  EXPECT_EQ(con.events_left(), 0u);
  EXPECT_EQ(con.next_event().kind, Event::Quit);
  EXPECT_TRUE(con.script_exhausted());
}

}  // namespace
