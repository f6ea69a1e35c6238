// The headless console and the helpers every console shares: grid, dumps,
// save/restore, clipping, tones, and what happens when the script runs out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/codepage.hpp"
#include "platform/beep.hpp"
#include "platform/console_headless.hpp"
#include "platform/keys.hpp"

using namespace tx;
using namespace tx::platform;

namespace {

std::string line(const std::string& text, int row) {
  std::size_t start = 0;
  for (int r = 0; r < row; ++r) start = text.find('\n', start) + 1;
  return text.substr(start, text.find('\n', start) - start);
}

// A console with a recognisable pattern: every cell has its own byte and
// attribute, so a misplaced cell shows.
class PatternedConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c)
        con.put(r, c, static_cast<unsigned char>('A' + (r + c) % 26),
                static_cast<unsigned char>(r * 7 + c));
  }
  void expect_pattern(int top, int left, int bottom, int right) {
    for (int r = top; r <= bottom; ++r)
      for (int c = left; c <= right; ++c) {
        Cell want{static_cast<unsigned char>('A' + (r + c) % 26), static_cast<unsigned char>(r * 7 + c)};
        ASSERT_EQ(con.get(r, c), want) << r << "," << c;
      }
  }
  HeadlessConsole con{""};
};

TEST(HeadlessScreen, TextDumpIsUtf8RowsOfEightyCells) {
  HeadlessConsole con("");
  con.put_text(0, 0, "Declaração"_cp, 0x70);
  con.put(1, 0, 0xC9, 7);   // ╔
  con.put(1, 1, 0xCD, 7);   // ═
  con.put(1, 79, 0xBB, 7);  // ╗
  std::string text = con.screen_text();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kRows);
  EXPECT_EQ(line(text, 0), "Declaração" + std::string(70, ' '));
  EXPECT_EQ(line(text, 1), "╔═" + std::string(77, ' ') + "╗");
  EXPECT_EQ(con.row_text(0), line(text, 0));
  EXPECT_EQ(con.row_text(27), "");
}

TEST(HeadlessScreen, AttributeDumpIsTwoHexDigitsPerCell) {
  HeadlessConsole con("");
  con.fill(0, 0, kRows - 1, kCols - 1, ' ', 0x17);
  con.put(2, 3, 'x', 0xF0);
  con.put(2, 4, 'y', 0x0A);
  std::string attrs = con.screen_attrs();
  EXPECT_EQ(std::count(attrs.begin(), attrs.end(), '\n'), kRows);
  EXPECT_EQ(line(attrs, 0).size(), 160u);
  EXPECT_EQ(line(attrs, 2).substr(4, 8), "17F00A17");  // columns 2-5
  std::string blue;
  for (int i = 0; i < kCols; ++i) blue += "17";
  EXPECT_EQ(line(attrs, 26), blue);
}

TEST_F(PatternedConsole, SaveAndRestoreGiveBackCharactersAndAttributes) {
  auto saved = con.save(3, 10, 8, 40);
  ASSERT_EQ(saved.size(), 6u * 31u);
  con.fill(0, 0, kRows - 1, kCols - 1, 0xB0, 0x1F);
  con.restore(3, 10, 8, 40, saved);
  expect_pattern(3, 10, 8, 40);
  EXPECT_EQ(con.get(2, 10), (Cell{0xB0, 0x1F}));
  EXPECT_EQ(con.get(3, 41), (Cell{0xB0, 0x1F}));
  EXPECT_EQ(con.get(9, 40), (Cell{0xB0, 0x1F}));
}

TEST_F(PatternedConsole, RectanglePartlyOffTheGridKeepsItsShape) {
  // A shadow or window at the edge: cells outside read as blanks and are not
  // written back, cells inside come back in place.
  auto saved = con.save(24, 75, 29, 84);
  ASSERT_EQ(saved.size(), 6u * 10u);
  EXPECT_EQ(saved[0], con.get(24, 75));
  EXPECT_EQ(saved[5], Cell{});  // column 80
  con.fill(0, 0, kRows - 1, kCols - 1, ' ', 0);
  con.restore(24, 75, 29, 84, saved);
  expect_pattern(24, 75, 26, 79);
  EXPECT_EQ(con.get(23, 75), (Cell{' ', 0}));
}

TEST_F(PatternedConsole, RestoreOfAnotherSizeWritesNothing) {
  auto saved = con.save(0, 0, 1, 1);
  con.restore(5, 5, 7, 7, saved);  // 9 cells wanted, 4 given
  expect_pattern(5, 5, 7, 7);
  EXPECT_TRUE(con.save(5, 5, 4, 5).empty());
}

TEST_F(PatternedConsole, WritesOutsideTheGridAreClipped) {
  con.put(-1, 0, 'X', 1);
  con.put(0, 80, 'X', 1);
  con.put(27, 0, 'X', 1);
  con.put_text(10, 75, "0123456789", 0x4E);
  con.put_text(11, -3, "abcdef", 0x4E);
  con.put_text(-1, 0, "zzz", 0x4E);
  con.fill(-5, -5, 1, 1, '#', 0x20);
  con.fill(25, 78, 40, 90, '%', 0x30);
  EXPECT_EQ(con.row_text(10).substr(75), "01234");
  EXPECT_EQ(con.row_text(11).substr(0, 3), "def");
  EXPECT_EQ(con.get(11, 3).ch, 'A' + (11 + 3) % 26);
  EXPECT_EQ(con.get(1, 1), (Cell{'#', 0x20}));
  EXPECT_EQ(con.get(26, 79), (Cell{'%', 0x30}));
  EXPECT_EQ(con.get(-1, 0), Cell{});
  expect_pattern(2, 2, 9, 77);
}

TEST(HeadlessTones, BeepErroPlaysTwoPairsPerCount) {
  const int counts[] = {1, 3};
  for (int n : counts) {
    HeadlessConsole con("");
    BEEP_ERRO(con, n);
    ASSERT_EQ(con.tones().size(), static_cast<std::size_t>(4 * n));
    for (std::size_t i = 0; i < con.tones().size(); ++i) {
      EXPECT_EQ(con.tones()[i].freq, i % 2 == 0 ? 300 : 499) << i;
      EXPECT_EQ(con.tones()[i].ticks, 1);
    }
  }
  HeadlessConsole con("");
  BEEP_ERRO(con);
  EXPECT_EQ(con.tones().size(), 4u);
}

TEST(HeadlessEvents, ScriptRunsInOrderThenQuitWithAnExplanation) {
  HeadlessConsole con("a{Tick}{Esc}");
  con.put_text(5, 2, "Nome do contribuinte:", 0x17);
  con.set_cursor(5, 24, true);
  EXPECT_EQ(con.next_event().key, 'a');
  EXPECT_EQ(con.next_event().kind, Event::Tick);
  EXPECT_EQ(con.next_event().key, key::kEsc);
  EXPECT_FALSE(con.script_exhausted());
  Event ev = con.next_event();
  EXPECT_EQ(ev.kind, Event::Quit);
  EXPECT_TRUE(con.script_exhausted());
  EXPECT_NE(con.exhausted_message().find("ran out"), std::string::npos);
  EXPECT_NE(con.exhausted_message().find("Nome do contribuinte:"), std::string::npos);
  EXPECT_NE(con.exhausted_message().find("row 5, column 24"), std::string::npos);
  // A program that keeps waiting keeps getting Quit, never a hang.
  EXPECT_EQ(con.next_event().kind, Event::Quit);
}

TEST(HeadlessEvents, PeekSpendsTicksAndLeavesKeysUnlessConsumed) {
  HeadlessConsole con("{Tick}x{Click 3,4}");
  EXPECT_EQ(con.peek_key(false), 0);  // the tick passes
  EXPECT_EQ(con.peek_key(false), 'x');
  EXPECT_EQ(con.peek_key(true), 'x');
  EXPECT_EQ(con.peek_key(true), 0);   // a click is not a key
  EXPECT_EQ(con.next_event().kind, Event::Mouse);
  EXPECT_EQ(con.peek_key(true), 0);
  EXPECT_FALSE(con.script_exhausted());
}

TEST(HeadlessEvents, EndlessPollingOfAnEmptyScriptEndsWithEsc) {
  HeadlessConsole con("y");
  EXPECT_EQ(con.peek_key(true), 'y');
  int polls = 0, k = 0;
  while ((k = con.peek_key(false)) == 0 && polls < 2 * HeadlessConsole::kMaxIdlePeeks) ++polls;
  EXPECT_EQ(k, key::kEsc);
  EXPECT_LT(polls, HeadlessConsole::kMaxIdlePeeks);
  EXPECT_TRUE(con.script_exhausted());
  EXPECT_NE(con.exhausted_message().find("polling"), std::string::npos);
  EXPECT_EQ(con.next_event().kind, Event::Quit);
}

TEST(HeadlessEvents, PushedKeyComesFirstAndAppendedScriptLast) {
  HeadlessConsole con("a");
  con.push_key(key::F(2));
  EXPECT_TRUE(con.append_script("{Enter}"));
  EXPECT_FALSE(con.append_script("{Nope}"));
  EXPECT_NE(con.script_error(), "");
  EXPECT_EQ(con.events_left(), 0u);  // a refused script runs nothing
  HeadlessConsole ok("a");
  ok.push_key(key::F(2));
  ok.append_script("{Enter}");
  EXPECT_EQ(ok.next_event().key, -1);
  EXPECT_EQ(ok.next_event().key, 'a');
  EXPECT_EQ(ok.next_event().key, 13);
}

TEST(HeadlessEvents, FactoryGivesAHeadlessConsole) {
  auto con = make_headless_console("{F2}");
  ASSERT_NE(con, nullptr);
  EXPECT_EQ(con->next_event().key, key::F(2));
}

}  // namespace
