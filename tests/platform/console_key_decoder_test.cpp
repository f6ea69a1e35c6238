// Terminal bytes -> key codes: the sequences common terminals send, the Esc
// prefix and its timing, UTF-8, the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/key_decoder.hpp"
#include "platform/keys.hpp"

using namespace tx::platform;
namespace key = tx::key;

namespace {

// Feeds `bytes` at time 0 and collects what comes out once the Esc wait is
// over (time 1000).
std::vector<int> decode(std::string_view bytes, KeyDecoder* use = nullptr) {
  KeyDecoder own;
  KeyDecoder& d = use ? *use : own;
  d.feed(bytes, 0);
  std::vector<int> out;
  Event ev;
  while (d.next(1000, ev)) out.push_back(ev.kind == Event::Key ? ev.key : 10000 + ev.kind);
  return out;
}

struct SeqCase {
  const char* bytes;
  int key;
};

TEST(KeyDecoder, TerminalSequencesGiveTheClassicCodes) {
  const SeqCase cases[] = {
      {"\r", key::kEnter},             {"\n", key::kCtrlEnter},        {"\t", key::kTab},
      {"\x1b[1;3A", key::kAltUp},     {"\x1b[1;3B", key::kAltDown},   {"\x1b[1;3F", key::kAltEnd},
      {"\x1b[6;3~", key::kAltPgDn},
      {"\x7f", key::kBackspace},       {"\b", key::kBackspace},        {"\x03", key::kCtrlC},
      {"\x13", key::kCtrlS},           {"\x11", key::kCtrlQ},          {"\x1b[A", key::kUp},
      {"\x1bOA", key::kUp},            {"\x1b[B", key::kDown},         {"\x1b[C", key::kRight},
      {"\x1b[D", key::kLeft},          {"\x1b[H", key::kHome},         {"\x1b[F", key::kEnd},
      {"\x1b[1~", key::kHome},         {"\x1b[4~", key::kEnd},         {"\x1b[7~", key::kHome},
      {"\x1b[8~", key::kEnd},          {"\x1bOH", key::kHome},         {"\x1b[5~", key::kPgUp},
      {"\x1b[6~", key::kPgDn},         {"\x1b[2~", key::kIns},         {"\x1b[3~", key::kDel},
      {"\x1b[1;5D", key::kCtrlLeft},   {"\x1b[1;5C", key::kCtrlRight}, {"\x1b[1;5H", key::kCtrlHome},
      {"\x1b[1;5F", key::kCtrlEnd},    {"\x1b[5;5~", key::kCtrlPgUp},  {"\x1b[6;5~", key::kCtrlPgDn},
      {"\x1bOd", key::kCtrlLeft},      {"\x1bOc", key::kCtrlRight},    {"\x1b[Z", key::kShiftTab},
      {"\x1bOP", key::F(1)},           {"\x1bOQ", key::F(2)},          {"\x1bOS", key::F(4)},
      {"\x1b[11~", key::F(1)},         {"\x1b[15~", key::F(5)},        {"\x1b[17~", key::F(6)},
      {"\x1b[21~", key::F(10)},        {"\x1b[23~", key::F(11)},       {"\x1b[24~", key::F(12)},
      {"\x1b[[A", key::F(1)},          {"\x1b[[E", key::F(5)},         {"\x1b[1;2P", key::ShiftF(1)},
      {"\x1b[15;2~", key::ShiftF(5)},  {"\x1b[24;2~", key::ShiftF(12)}, {"\x1b[1;5R", key::CtrlF(3)},
      {"\x1b[21;5~", key::CtrlF(10)},  {"\x1b[1;3P", key::AltF(1)},    {"\x1b[15;3~", key::AltF(5)},
      {"\x1b[23;3~", key::AltF(11)},   {"\x1b\x1b[15~", key::AltF(5)}, {"\x1b\x1bOP", key::AltF(1)},
      {"\x1bi", key::Alt('I')},        {"\x1bI", key::Alt('I')},       {"\x1bq", key::Alt('Q')},
      {"\x1b" "5", key::Alt('5')},     {"\x1b\r", key::kCtrlEnter},    {"\x1b[27;5;13~", key::kCtrlEnter},
      {"\x1b[13;5u", key::kCtrlEnter}, {"\x1b[9;2u", key::kShiftTab},  {"\x1bOM", key::kEnter},
      {"\x1bOp", '0'},                 {"\x1bOy", '9'},                {"\x00" "\x1b[17~", key::AltF(6)},
      {"\x00" "i", key::Alt('I')},     {"\x00\r", key::kCtrlEnter},    {"\xc3\xa7", 0x87},
      {"\xc3\x89", 0x90},              {"\xe2\x95\x90", 0xCD},         {"\xe7", 0x87},
  };
  for (const auto& c : cases) {
    std::string bytes = c.bytes[0] == 0 ? std::string(1, '\0') + (c.bytes + 1) : std::string(c.bytes);
    auto keys = decode(bytes);
    ASSERT_EQ(keys.size(), 1u) << "sequence: " << testing::PrintToString(bytes);
    EXPECT_EQ(keys[0], c.key) << "sequence: " << testing::PrintToString(bytes);
  }
}

TEST(KeyDecoder, UnknownSequencesVanishWithoutLeakingCharacters) {
  // Focus reports, unknown CSI keys and characters outside code page 850.
  EXPECT_EQ(decode("\x1b[I\x1b[O\x1b[99~\x1b[?1;2cA"), (std::vector<int>{'A'}));
  EXPECT_EQ(decode("\xe2\x82\xac" "b"), (std::vector<int>{'b'}));  // the euro sign
}

TEST(KeyDecoder, SeveralKeysInOneRead) {
  EXPECT_EQ(decode("ab\x1b[Ac\r\x1b\x1b"), (std::vector<int>{'a', 'b', key::kUp, 'c', key::kEnter,
                                                            key::kEsc, key::kEsc}));
  EXPECT_EQ(decode("\x1b[15~\x1b[1;5D"), (std::vector<int>{key::F(5), key::kCtrlLeft}));
}

TEST(KeyDecoder, LoneEscWaitsThenIsEsc) {
  KeyDecoder d;
  Event ev;
  d.feed("\x1b", 100);
  EXPECT_FALSE(d.next(100, ev));
  EXPECT_EQ(d.wait_ms(100), KeyDecoder::kEscWaitMs);
  EXPECT_FALSE(d.next(100 + KeyDecoder::kEscWaitMs - 1, ev));
  ASSERT_TRUE(d.next(100 + KeyDecoder::kEscWaitMs, ev));
  EXPECT_EQ(ev.key, key::kEsc);
  EXPECT_EQ(d.wait_ms(500), -1);
}

TEST(KeyDecoder, SequenceSplitAcrossReadsIsJoined) {
  KeyDecoder d;
  Event ev;
  d.feed("\x1b[1", 0);
  EXPECT_FALSE(d.next(5, ev));
  d.feed("5;3~", 10);
  ASSERT_TRUE(d.next(10, ev));
  EXPECT_EQ(ev.key, key::AltF(5));
  // UTF-8 split in two reads.
  d.feed("\xc3", 20);
  EXPECT_FALSE(d.next(20, ev));
  d.feed("\xa3", 21);
  ASSERT_TRUE(d.next(21, ev));
  EXPECT_EQ(ev.key, 0xC6);  // ã
}

TEST(KeyDecoder, LateLetterAfterEscIsEscThenTheLetter) {
  KeyDecoder d;
  Event ev;
  d.feed("\x1b", 0);
  ASSERT_TRUE(d.next(KeyDecoder::kEscWaitMs + 10, ev));
  EXPECT_EQ(ev.key, key::kEsc);
  d.feed("i", 500);
  ASSERT_TRUE(d.next(500, ev));
  EXPECT_EQ(ev.key, 'i');
}

TEST(KeyDecoder, EscOAloneIsAltO) {
  EXPECT_EQ(decode("\x1bO"), (std::vector<int>{key::Alt('O')}));
  EXPECT_EQ(decode("\x1b["), (std::vector<int>{key::kEsc, '['}));
}

TEST(KeyDecoder, NulPrefixWaitsForTheNextKeyWithoutTimeLimit) {
  KeyDecoder d;
  Event ev;
  d.feed(std::string(1, '\0'), 0);
  EXPECT_EQ(d.wait_ms(0), -1);
  EXPECT_FALSE(d.next(100000, ev));
  d.feed("\x1bOR", 100000);
  ASSERT_TRUE(d.next(100000, ev));
  EXPECT_EQ(ev.key, key::AltF(3));
}

TEST(KeyDecoder, TerminfoSequencesWinOverTheBuiltInReading) {
  KeyDecoder d;
  d.add_sequence("\x1b[25~", key::ShiftF(1));  // a Linux console's Shift-F1
  d.add_sequence("\x1b[Ox", key::kIns);
  EXPECT_EQ(decode("\x1b[25~", &d), (std::vector<int>{key::ShiftF(1)}));
  EXPECT_EQ(decode("\x1b[Ox", &d), (std::vector<int>{key::kIns}));
}

TEST(KeyDecoder, MouseClicksWithCellsAndDoubleClick) {
  KeyDecoder d;
  Event ev;
  d.feed("\x1b[<0;11;6M\x1b[<0;11;6m", 0);  // press and release at column 10, row 5
  ASSERT_TRUE(d.next(0, ev));
  EXPECT_EQ(ev.kind, Event::Mouse);
  EXPECT_EQ(ev.row, 5);
  EXPECT_EQ(ev.col, 10);
  EXPECT_EQ(ev.button, 1);
  EXPECT_FALSE(ev.double_click);
  EXPECT_FALSE(d.next(0, ev));  // the release is no event
  d.feed("\x1b[<0;11;6M", 200);
  ASSERT_TRUE(d.next(200, ev));
  EXPECT_TRUE(ev.double_click);
  d.feed("\x1b[<0;11;6M", 300);  // a third press starts over
  ASSERT_TRUE(d.next(300, ev));
  EXPECT_FALSE(ev.double_click);
  d.feed("\x1b[<2;1;1M\x1b[<64;5;5M\x1b[<32;5;5M", 2000);  // right button; wheel and motion are not clicks
  ASSERT_TRUE(d.next(2000, ev));
  EXPECT_EQ(ev.button, 3);
  EXPECT_EQ(ev.row, 0);
  EXPECT_FALSE(d.next(2000, ev));
  // Classic X10 report: button 0 at column 3, row 2 (1-based + 32).
  d.feed(std::string("\x1b[M") + char(32) + char(32 + 3) + char(32 + 2), 5000);
  ASSERT_TRUE(d.next(5000, ev));
  EXPECT_EQ(ev.kind, Event::Mouse);
  EXPECT_EQ(ev.row, 1);
  EXPECT_EQ(ev.col, 2);
}

TEST(KeyDecoder, AltVariantOfKeys) {
  EXPECT_EQ(alt_variant('x'), key::Alt('X'));
  EXPECT_EQ(alt_variant(key::F(12)), key::AltF(12));
  EXPECT_EQ(alt_variant(key::kEnter), key::kCtrlEnter);
  EXPECT_EQ(alt_variant(key::kUp), key::kAltUp);
  EXPECT_EQ(alt_variant(key::kEnd), key::kAltEnd);
  EXPECT_EQ(alt_variant(key::kTab), key::kTab);
}

}  // namespace
