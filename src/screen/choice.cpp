// ESC_OPCAO and ESC_ITEM: vertical choices over the rows of a panel.
#include <algorithm>

#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

namespace {
// The movement keys shared by both choices; returns the new item or 0 when
// the key is not one of them.
int moved(int k, int pos, int last) {
  switch (k) {
    case key::kHome: return 1;
    case key::kEnd: return last;
    case key::kDown: return std::min(last, pos + 1);
    case key::kUp: return std::max(1, pos - 1);
    default: return 0;
  }
}
}  // namespace

int Screen::ESC_OPCAO(int panel, int last, int column, int width, int row_offset, int close, int hints) {
  const int n = std::max(1, last);
  int pos = std::clamp(choice.POSVER, 1, n);
  auto paint = [&](int item, int attr) { ESCRATR(panel, item + row_offset, column, attr, width); };
  auto hint = [&] {
    if (hints == 1 && pos - 1 < static_cast<int>(choice.MENSMENU.size()))
      MENS(0, choice.MENSMENU[static_cast<std::size_t>(pos - 1)]);
  };
  for (int i = 1; i <= n; ++i) paint(i, colours.COR_TEL1);
  paint(pos, colours.COR_ESCOL);
  hint();
  int result = 0;
  for (;;) {
    int k = wait_key();
    if (k == kQuitKey || k == key::kEsc) break;
    if (k == 0) continue;
    if (k == key::kEnter) { result = pos; break; }
    if (k == key::Alt('A')) {
      if (calculator) calculator();
      continue;
    }
    int to = moved(k, pos, n);
    bool chosen = false;
    if (!to && k >= 32 && k <= 255) {
      auto at = choice.OPCOES.find(upper_char(static_cast<char>(k)));
      if (at != std::string::npos && static_cast<int>(at) < n) {
        to = static_cast<int>(at) + 1;
        chosen = true;
      }
    }
    if (!to) continue;
    if (to != pos) {
      paint(pos, colours.COR_TEL1);
      pos = to;
      paint(pos, colours.COR_ESCOL);
      hint();
    }
    if (chosen) { result = pos; break; }
  }
  choice.POSVER = pos;
  if (result) choice.ULTPOS = result;
  FECHAJAN(10);
  if (close == 1) FECHAJAN(panel);
  return result;
}

int Screen::ESC_ITEM(int panel, int last, int column, int row_offset, int first) {
  const int n = std::max(1, last);
  int pos = std::clamp(first, 1, n);
  const Panel& p = this->panel(panel);
  auto cell_of = [&](int item) {
    int r = (panel == 0 ? 24 : p.top + item + row_offset - 1) + platform::kScreenTop;
    int c = panel == 0 ? column : p.left + column - 1;
    return std::pair{r, c};
  };
  unsigned char under = ' ';
  auto mark = [&] {
    auto [r, c] = cell_of(pos);
    under = console_->get(r, c).ch;
    ESCRLCOL(panel, pos + row_offset, column, "*");
  };
  auto unmark = [&] {
    ESCRLCOL(panel, pos + row_offset, column, std::string(1, static_cast<char>(under)));
  };
  mark();
  int result = 0;
  for (;;) {
    int k = wait_key();
    if (k == kQuitKey || k == key::kEsc) break;
    if (k == key::kEnter) { result = pos; break; }
    int to = moved(k, pos, n);
    if (!to || to == pos) continue;
    unmark();
    pos = to;
    mark();
  }
  unmark();
  choice.POSVER = pos;
  if (result) choice.ULTPOS = result;
  return result;
}

}  // namespace tx::screen
