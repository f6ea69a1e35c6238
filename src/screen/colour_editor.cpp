// MODCOR: the colour editor.
#include <algorithm>

#include "base/codepage.hpp"
#include "platform/keys.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

namespace {

// The variables each element changes: its attribute and its colour string.
struct Element { int ColourScheme::*number; std::string ColourScheme::*text; };
constexpr Element kElements[7] = {
    {&ColourScheme::COR_TEL1, &ColourScheme::COR_1_CLI},
    {&ColourScheme::COR_TEL2, &ColourScheme::COR_2_CLI},
    {&ColourScheme::COR_ESCOL, &ColourScheme::COR_ESC_CL},
    {&ColourScheme::COR_PEGA, &ColourScheme::COR_GET},
    {&ColourScheme::COR_MENS, &ColourScheme::COR_SAY},
    {&ColourScheme::COR_HELP, &ColourScheme::COR_CLI_HE},
    {&ColourScheme::COR_ENCHE, &ColourScheme::COR_ENCH_C},
};

constexpr unsigned char kSquare = 0xFE;
constexpr int kPalette = 4, kSamples = 6;
constexpr int kRed = 4;

}  // namespace

void Screen::MODCOR(int element) {
  if (element < 1 || element > 7) return;
  const Element& el = kElements[element - 1];
  auto refill = [&] {
    ENCHETELA(' ', ACHACOR(colours.COR_ENCH_C));
    if (redraw_background) redraw_background();
  };
  refill();
  std::shared_ptr<Dialog> d;
  if (element != 7) d = LDLGSHOW(4, 2, 21, 21, "Ajuste de cores", colours.COR_ENCH_C);

  int attr = colours.*el.number;
  int fg = attr & 0x0F, bg = std::min((attr >> 4) & 0x0F, 7);

  auto put = [&](int r, int c, unsigned char ch, int a) {
    console_->put(r + platform::kScreenTop, c, ch, static_cast<unsigned char>(a));
  };
  auto draw_panels = [&] {
    REDEFJAN(kPalette, colours.COR_TEL1, colours.COR_TEL2, colours.COR_TEL3, 4, 2, 14, 19, 2);
    ABREJAN(kPalette);
    for (int b = 0; b < 8; ++b)
      for (int f = 0; f < 16; ++f) put(5 + b, 3 + f, kSquare, b * 16 + f);
    put(5 + bg, 3 + fg, '*', bg * 16 + fg);
    REDEFJAN(kSamples, colours.COR_TEL1, colours.COR_TEL2, colours.COR_TEL3, 15, 2, 22, 19, 2);
    ABREJAN(kSamples);
    ESCRJAN(kSamples, " Cor do texto   ");
    const std::pair<const char*, std::string*> samples[] = {
        {"Item Escolhido", &colours.COR_ESC_CL},
        {"Entrada Dados ", &colours.COR_GET},
        {"Mensagens     ", &colours.COR_SAY},
        {"Telas de Help ", &colours.COR_CLI_HE},
    };
    int row = 17;
    for (auto& [label, colour] : samples)
      console_->put_text(row++ + platform::kScreenTop, 4, label, static_cast<unsigned char>(ACHACOR(*colour)));
  };
  auto close_panels = [&] {
    FECHAJAN(kSamples);
    FECHAJAN(kPalette);
  };
  draw_panels();

  // Applies the colour now under the cursor to the element's variables.
  auto apply = [&] {
    int a = bg * 16 + fg;
    colours.*el.number = a;
    colours.*el.text = ACHACOR(a);  // the samples show it
    if (element == 3) colours.COR_FERID = bg * 16 + (bg == kRed ? 15 : 12);
    if (element == 5) REDFATR(10, 1, a);
    if (element == 7) {
      for (int n = 1; n <= 8; ++n) FECHAJAN(n);
      refill();
      draw_panels();
    } else {
      // Redrawn in the new colours, the mark moved to the new square.
      close_panels();
      draw_panels();
    }
    // After the redraw: writing a panel resets the panel strings, and the
    // choice must be what is saved.
    colours.*el.text = ACHACOR(a);
  };

  for (;;) {
    int k = wait_key();
    if (k == kQuitKey || k == key::kEnter || k == key::kEsc) break;
    int nf = fg, nb = bg;
    if (k == key::kRight) nf = std::min(15, fg + 1);
    else if (k == key::kLeft) nf = std::max(0, fg - 1);
    else if (k == key::kDown) nb = std::min(7, bg + 1);
    else if (k == key::kUp) nb = std::max(0, bg - 1);
    if (nf == fg && nb == bg) continue;  // at an end: nothing changes
    fg = nf;
    bg = nb;
    apply();
  }

  REDFATR(10, 1, colours.COR_MENS);
  REDFATR(10, 2, colours.COR_TEL2);
  REDFATR(10, 3, colours.COR_TEL3);
  colours.rebuild();
  colour_ = colours.CORNORM;
  if (colour_store) GRAVACOR(*colour_store, terminal, colours);
  FECHAJAN(kPalette);
  FECHAJAN(kSamples);
  FECHAJAN(10);
  if (d) d->close();
}

}  // namespace tx::screen
