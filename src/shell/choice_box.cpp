#include "shell/choice_box.hpp"

#include <algorithm>

#include "base/xbase.hpp"

namespace tx::shell {

namespace {
constexpr int kChoicePanel = 9;
}

int choice_box(screen::Screen& s, const std::vector<std::string>& lines, std::string_view title) {
  if (lines.size() < 2) return 0;
  int width = 0;
  for (const auto& l : lines) width = std::max(width, static_cast<int>(l.size()));
  width = std::min(width, screen::kScreenCols - 6);
  const int rows = static_cast<int>(lines.size());
  const int top = std::max(1, (screen::kScreenRows - rows - 2) / 2);
  const int left = (screen::kScreenCols - width - 2) / 2;
  const int bottom = top + rows + 1, right = left + width + 1;
  auto d = s.LDLGSHOW(top, left, bottom, right, title, s.colours.COR_ENCH_C);
  s.REDEFJAN(kChoicePanel, s.colours.COR_TEL1, s.colours.COR_TEL2, s.colours.COR_TEL3, top, left, bottom, right, 2);
  s.ABREJAN(kChoicePanel);
  std::string text;
  for (const auto& l : lines) text += PADR(l, width);
  s.ESCRJAN(kChoicePanel, text);
  s.choice.OPCOES.clear();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string t = ALLTRIM(lines[i]);
    s.choice.OPCOES += t.empty() ? ' ' : upper_char(t[0]);
  }
  s.choice.POSVER = 1;
  int chosen = s.ESC_OPCAO(kChoicePanel, rows - 1, 2, width, 2, 0, 0);
  s.FECHAJAN(kChoicePanel);
  if (d) d->close();
  return chosen;
}

}  // namespace tx::shell
