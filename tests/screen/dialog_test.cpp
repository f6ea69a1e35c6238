#include <gtest/gtest.h>

#include "platform/keys.hpp"
#include "screen_rig.hpp"

namespace tx::screen {
namespace {

using test::Rig;

TEST(Dialog, ClosingRestoresTheScreenInReverseOrder) {
  Rig rig;
  Screen& s = rig.screen;
  rig.pattern();
  auto before = rig.all();
  auto a = s.LDLGSHOW(3, 5, 15, 60, "Primeira");
  ASSERT_TRUE(a);
  EXPECT_EQ(rig.row(2).substr(29, 8), "Primeira");  // caption centred on the row above
  EXPECT_EQ(rig.cell(3, 5).attr, 0x70);              // body in the window colour N/W
  auto after_a = rig.all();
  auto b = s.LDLGSHOW(0, 0, 5, 20, "Segunda");       // caption on the menu bar row
  ASSERT_TRUE(b);
  EXPECT_EQ(&s.LWindowActive(), b.get());
  EXPECT_EQ(s.window_count(), 3u);
  EXPECT_TRUE(s.LDLGCLOSE());
  EXPECT_EQ(rig.all(), after_a);
  EXPECT_EQ(&s.LWindowActive(), a.get());
  EXPECT_TRUE(a->close());
  EXPECT_EQ(rig.all(), before);
  EXPECT_EQ(&s.LWindowActive(), &s.LWindowMain());
}

TEST(Dialog, MisuseIsReportedAndIgnored) {
  // Every box, and every close, drops the keys typed before it: each answer
  // comes after a {Tick}, and each close spends one.
  Rig rig("{Tick}{Enter}{Tick}{Tick}{Tick}{Enter}{Tick}{Tick}{Enter}");
  Screen& s = rig.screen;
  auto a = s.LDLGSHOW(3, 5, 15, 60, "A");
  auto b = s.LDLGSHOW(5, 10, 12, 40, "B");
  auto under_b = rig.all();
  EXPECT_FALSE(a->close());  // not the active one
  EXPECT_EQ(s.last_diagnostic, "LDLGCLOSE: window is not the active one");
  EXPECT_TRUE(a->is_open());
  EXPECT_EQ(rig.all(), under_b);  // the box went away again
  EXPECT_TRUE(b->close());
  s.last_diagnostic.clear();
  EXPECT_FALSE(b->close());  // already closed
  EXPECT_EQ(s.last_diagnostic, "LDLGCLOSE: window already closed");
  EXPECT_FALSE(s.LWindowMain().close());
  EXPECT_EQ(s.window_count(), 2u);
  EXPECT_FALSE(rig.con->script_exhausted());
  EXPECT_TRUE(a->close());
}

TEST(Dialog, ActiveEntryFormsPreventClosing) {
  Rig rig("{Tick}{Enter}");
  Screen& s = rig.screen;
  auto d = s.LDLGSHOW(3, 5, 15, 60, "Form");
  d->active_forms = 1;
  EXPECT_FALSE(s.LDLGCLOSE());
  EXPECT_TRUE(d->is_open());
  d->active_forms = 0;
  EXPECT_TRUE(s.LDLGCLOSE());
}

TEST(Dialog, ARectangleOffTheScreenIsRefused) {
  Rig rig("{Tick}{Enter}");
  Screen& s = rig.screen;
  EXPECT_EQ(s.LDLGSHOW(30, 0, 40, 10, "Fora"), nullptr);
  EXPECT_EQ(s.last_diagnostic, "Erro ao criar a janela Fora (30,0,40,10)");
  EXPECT_EQ(s.window_count(), 1u);
}

TEST(Dialog, KeyBindingsAreUndoneAtClose) {
  Rig rig("{F2}{F2}{Esc}{Tick}{F2}");
  Screen& s = rig.screen;
  std::string log;
  s.set_key(key::F(2), [&] { log += "main;"; });
  auto d = s.LDLGSHOW(3, 5, 15, 60, "Teclas");
  d->setKey(key::F(2), [&] { log += "dialog;"; });
  d->setKey(key::F(2), [&] { log += "again;"; });  // the first earlier binding is what comes back
  d->setKey(key::F(3), [&] { log += "f3;"; });
  EXPECT_FALSE(s.LACTIVATE());  // Esc
  EXPECT_EQ(log, "again;again;");
  d->close();
  EXPECT_EQ(s.key_binding(key::F(3)), nullptr);
  while (s.wait_key() != kQuitKey) {
  }
  EXPECT_EQ(log, "again;again;main;");
}

TEST(Dialog, ActivationEndsWithTheExitCode) {
  struct Case { const char* script; bool exit_on_esc; bool result; int code; int value; };
  const Case cases[] = {
      {"{F2}", true, true, 2, 7},           // end(7) from a binding
      {"{F3}", true, false, 1, 0},          // cancel()
      {"{Esc}", true, false, 0, 0},         // Esc allowed
      {"{Esc}{F2}", false, true, 2, 7},     // Esc not allowed: goes on
  };
  for (const auto& c : cases) {
    Rig rig(c.script);
    Screen& s = rig.screen;
    auto d = s.LDLGSHOW(3, 5, 15, 60, "Loop");
    d->setKey(key::F(2), [&] { s.LDLGEND(7); });
    d->setKey(key::F(3), [&] { d->cancel(); });
    EXPECT_EQ(s.LACTIVATE(c.exit_on_esc), c.result) << c.script;
    EXPECT_EQ(d->exit_code, c.code) << c.script;
    EXPECT_EQ(d->end_value, c.value) << c.script;
    EXPECT_EQ(rig.con->events_left(), 0u) << c.script;
  }
}

TEST(Dialog, StatusBarPartsRefreshOnEveryTick) {
  Rig rig("{Tick}{Tick}{Tick}{Esc}");
  Screen& s = rig.screen;
  rig.pattern();
  auto status_before = rig.phys(26);
  auto d = s.LDLGSHOW(3, 5, 15, 60, "Barra");
  StatusBar& bar = s.LSBDRAW({"Pronto", "fixo"});
  EXPECT_EQ(rig.phys(26).substr(0, 12), "Pronto fixo ");
  int ticks = 0;
  bar.parts[1].expr = [&] { return "t" + std::to_string(ticks++); };
  bar.parts[1].width = 4;
  s.LACTIVATE();
  EXPECT_EQ(rig.phys(26).substr(0, 12), "Pronto t2   ");
  bar.setText(1, "Outro", &s.console());
  EXPECT_EQ(rig.phys(26).substr(0, 6), "Outro ");
  d->close();
  EXPECT_EQ(rig.phys(26), status_before);
}

TEST(Dialog, StatusLineGoesToTheBarOrToRow24) {
  Rig rig;
  Screen& s = rig.screen;
  s.MENS(0, "sem barra");
  EXPECT_EQ(rig.row(24), std::string(35, ' ') + "sem barra" + std::string(36, ' '));
  EXPECT_EQ(rig.cell(24, 0).attr, ACHACOR("N/W+"));
  auto d = s.LDLGSHOW(3, 5, 15, 60, "Com barra");
  s.LSBDRAW({std::string(250, ' ')});
  s.MENS(0, "na barra");
  EXPECT_EQ(rig.phys(26), "na barra" + std::string(72, ' '));
  s.MENS(0, "");
  EXPECT_EQ(rig.phys(26), std::string(80, ' '));
  d->close();
}

TEST(Button, CaptionsShorterThanTenAreCentred) {
  struct Case { std::string caption; std::string shown; char hot; int hot_pos; };
  const Case cases[] = {
      {"Ok", "    Ok    ", 0, -1},
      {"&Sim", "   Sim    ", 'S', 3},
      {"N&ão"_cp.str(), "   Não    "_cp.str(), static_cast<char>(0xC7), 4},  // upper case of ã
      {" Ok ", " Ok ", 0, -1},                     // blanks around: as given
      {"Confirmar saída"_cp.str(), "Confirmar saída"_cp.str(), 0, -1},
  };
  for (const auto& c : cases) {
    char hot = 0;
    int pos = -1;
    EXPECT_EQ(button_caption(c.caption, &hot, &pos), c.shown) << c.caption;
    EXPECT_EQ(hot, c.hot) << c.caption;
    EXPECT_EQ(pos, c.hot_pos) << c.caption;
  }
}

TEST(Button, ClickShortcutAndFocusedEnterPressIt) {
  // Physical row of program row 10 is 11.
  Rig rig("{Click 11,25}{Alt-G}{Click 11,45}{Enter}{Esc}");
  Screen& s = rig.screen;
  auto d = s.LDLGSHOW(5, 10, 15, 70, "Botoes");
  std::string log;
  Button& ok = s.LBUTTON(10, 20, 10, 30, "Ok", [&] { log += "ok;"; });
  Button& save = s.LBUTTON(10, 32, 10, 42, "&Gravar", [&] { log += "gravar;"; });
  Button& off = s.LBUTTON(10, 44, 10, 54, "Off", [&] { log += "off;"; }, nullptr, {}, false);
  EXPECT_EQ(ok.number, 1);
  EXPECT_EQ(save.number, 2);
  EXPECT_EQ(off.number, 3);
  EXPECT_EQ(ok.right - ok.left, 10);
  EXPECT_EQ(rig.row(10).substr(20, 10), "    Ok    ");
  EXPECT_EQ(rig.cell(10, 20).attr, kButtonAttr);
  d->focus = 1;
  d->setKey(key::kEsc, [&] { d->end(); });
  s.LACTIVATE();
  EXPECT_EQ(log, "ok;gravar;gravar;");  // the disabled one never runs
  EXPECT_EQ(d->nLastButton, 2);
  d->close();
}

}  // namespace
}  // namespace tx::screen

namespace tx::screen {
namespace {

TEST(Dialog, FormsUseTheDialogsSettings) {
  struct Case { const char* script; bool upper; bool accepted; std::string value; };
  const Case cases[] = {
      {"abc{Enter}", true, true, "ABC  "},
      {"abc{Enter}", false, true, "abc  "},
      {"abc{Esc}", true, false, "     "},
  };
  for (const auto& c : cases) {
    test::Rig rig(c.script);
    auto d = rig.screen.LDLGSHOW(3, 5, 15, 60, "Form");
    d->lGetUpperCase = c.upper;
    std::string name = "     ";
    int forms_seen = -1;
    std::vector<GetField> fields(1);
    fields[0].row = 5;
    fields[0].col = 10;
    fields[0].value = bind(name);
    fields[0].valid = [&] {
      forms_seen = d->active_forms;
      return true;
    };
    EXPECT_EQ(d->readmodal(std::move(fields)), c.accepted) << c.script;
    unsigned char colour = rig.cell(5, 10).attr;
    EXPECT_EQ(name, c.value) << c.script;
    EXPECT_EQ(d->active_forms, 0);
    if (c.accepted) {
      EXPECT_EQ(forms_seen, 1) << c.script;  // closing is refused meanwhile
    }
    EXPECT_EQ(colour, ACHACOR(kEntryColour)) << c.script;
    d->close();
  }
}

}  // namespace
}  // namespace tx::screen
