#include <gtest/gtest.h>

#include "platform/keys.hpp"
#include "screen_rig.hpp"

namespace tx::screen {
namespace {

using test::Rig;

TEST(Avisosn, EveryKindAnswersWithItsOwnType) {
  struct Case { int kind; const char* script; AvisoResult want; };
  const std::vector<std::string> three = {"&Gravar", "&Descartar", "Voltar"};
  const Case cases[] = {
      {0, "{Tick}{Enter}", std::monostate{}},
      {1, "{Tick}s", true},
      {1, "{Tick}N", false},
      {1, "{Tick}{Right}{Enter}", false},
      {1, "{Tick}{Enter}", true},
      {1, "{Tick}{Esc}", false},
      {2, "{Tick}s", std::string("S")},
      {2, "{Tick}{Tab}{Enter}", std::string("N")},
      {2, "{Tick}{Esc}", std::string("N")},
      {3, "{Tick}{Right}{Right}{Enter}", std::string("I")},
      {3, "{Tick}{Esc}{Right}{Enter}", std::string("N")},  // Esc does not close
      {3, "{Tick}{Esc}", std::string("N")},                // nothing pressed
      {4, "{Tick}{Left}{Enter}", std::string("F")},
      {4, "{Tick}{Enter}", std::string("S")},
      {5, "{Tick}2", std::string("2")},
      {5, "{Tick}{Esc}", std::string("")},
      {6, "{Tick}d", 2},
      {6, "{Tick}{Shift-Tab}{Enter}", 3},
      {7, "{Tick}5", 5},
      {7, "{Tick}{Right*6}{Enter}", 1},                    // focus wraps round
      {7, "{Tick}{Esc}", 0},
  };
  for (const auto& c : cases) {
    Rig rig(c.script);
    rig.pattern();
    auto before = rig.all();
    AvisoResult got = rig.screen.AVISOSN("Pergunta?", c.kind, three);
    EXPECT_EQ(got, c.want) << "kind " << c.kind << " " << c.script;
    EXPECT_EQ(rig.all(), before) << "kind " << c.kind << " " << c.script;
  }
}

TEST(Avisosn, KeysTypedBeforeTheBoxOpensAreDropped) {
  Rig rig("S{Tick}{Right}{Enter}");
  EXPECT_EQ(rig.screen.AVISOSN("Apagar?", 3), AvisoResult(std::string("N")));
  Rig early("s");
  EXPECT_EQ(early.screen.AVISOSN("Apagar?", 1), AvisoResult(false));
  EXPECT_TRUE(early.con->script_exhausted());
}

TEST(Avisosn, ClickPressesAButton) {
  Rig rig;
  AlertLayout L = alert_layout({"Pergunta?"}, {"Sim", "Não"_cp.str(), "Fim"}, "Aviso");
  std::string click = "{Tick}{Click " + std::to_string(L.buttons[2].row + platform::kScreenTop) + "," +
                      std::to_string(L.buttons[2].left + 3) + "}";
  rig.con->append_script(click);
  EXPECT_EQ(rig.screen.AVISOSN("Pergunta?", 4), AvisoResult(std::string("F")));
}

TEST(Avisosn, ShortCaptionsAreTenWide) {
  Rig rig("{Tick}{Enter}");
  std::string buttons_row;
  std::vector<unsigned char> attrs;
  AlertLayout L = alert_layout({"Continuar?"}, {"Sim", "Não"_cp.str(), "Ignore"}, "Aviso");
  rig.screen.on_wait = [&] {
    buttons_row = rig.row(L.buttons[0].row);
    attrs.clear();
    for (int c = 0; c < 80; ++c) attrs.push_back(rig.cell(L.buttons[0].row, c).attr);
  };
  rig.screen.AVISOSN("Continuar?", 3);
  ASSERT_EQ(L.buttons.size(), 3u);
  EXPECT_EQ(L.buttons[1].left - L.buttons[0].left, 12);  // 10 and 2 between
  EXPECT_EQ(buttons_row.substr(static_cast<std::size_t>(L.buttons[0].left), 10), "   Sim    ");
  EXPECT_EQ(buttons_row.substr(static_cast<std::size_t>(L.buttons[1].left), 10), "   Não    "_cp.str());
  int focused = 0, plain = 0;
  for (auto a : attrs) {
    focused += a == kButtonFocus;
    plain += a == kButtonAttr;
  }
  EXPECT_EQ(focused, 10);  // the first button
  EXPECT_EQ(plain, 20);    // the other two
}

TEST(Msgalert, Geometry) {
  struct Case { int lines; int line_length; int buttons; int height; int width; };
  const Case cases[] = {
      {1, 9, 3, 4, 39},      // 3 buttons of 12: 36 + 3
      {20, 10, 2, 19, 27},   // 16 text rows at most + 3
      {16, 10, 2, 19, 27},
      {2, 100, 1, 7, 76},    // a long line is cut at the widest box (two pieces each)
      {1, 5, 8, 6, 76},      // 8 buttons of 12 take two rows of the widest box
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines(static_cast<std::size_t>(c.lines), std::string(static_cast<std::size_t>(c.line_length), 'x'));
    std::vector<std::string> caps(static_cast<std::size_t>(c.buttons), "Ok");
    AlertLayout L = alert_layout(lines, caps, "Aviso");
    EXPECT_EQ(L.box.height(), c.height) << c.lines << "x" << c.line_length << " " << c.buttons;
    EXPECT_EQ(L.box.width(), c.width) << c.lines << "x" << c.line_length << " " << c.buttons;
    EXPECT_EQ(L.box.left, (80 - c.width) / 2);
    for (auto& b : L.buttons) {
      EXPECT_GE(b.left, L.box.left);
      EXPECT_LE(b.left + 10, L.box.right + 1);
      EXPECT_LE(b.row, L.box.bottom);
    }
    EXPECT_EQ(L.buttons.back().row, L.box.bottom);
  }
}

TEST(Msgalert, TwentyLinesScroll) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 20; ++i) lines.push_back("linha " + std::to_string(i));
  AlertLayout L = alert_layout(lines, {"Ok"}, "Aviso");
  ASSERT_EQ(L.box.height(), 19);
  Rig rig("{Tick}{Down}{End}{Down}{Home}{Enter}");
  std::vector<std::string> first_rows;
  rig.screen.on_wait = [&] { first_rows.push_back(rig.row(L.box.top + 1).substr(static_cast<std::size_t>(L.box.left + 1), 8)); };
  EXPECT_EQ(rig.screen.AVISOSN(lines, 6, {"Ok"}), AvisoResult(1));
  std::vector<std::string> want = {"linha 1 ", "linha 2 ", "linha 5 ", "linha 5 ", "linha 1 "};
  EXPECT_EQ(first_rows, want);
}

TEST(Msgalert, BindingsAreSuspendedWhileOpen) {
  Rig rig("{Tick}{F2}{Enter}{Tick}{F2}");
  int calls = 0;
  rig.screen.set_key(key::F(2), [&] { ++calls; });
  rig.screen.AVISOSN("x", 0);
  EXPECT_EQ(calls, 0);
  while (rig.screen.wait_key() != kQuitKey) {
  }
  EXPECT_EQ(calls, 1);
}

TEST(Okei, AsksToConfirm) {
  Rig rig("{Tick}s");
  std::string seen;
  rig.screen.on_wait = [&] { seen = rig.con->screen_text(); };
  EXPECT_EQ(rig.screen.OKEI(1), AvisoResult(true));
  EXPECT_NE(seen.find("Confirma os dados ?"), std::string::npos);
}

}  // namespace
}  // namespace tx::screen
