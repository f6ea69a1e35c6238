// The help window: TXT_HELP, MOSTRA_HELP, MOS_HELP.
#include <algorithm>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

namespace {

constexpr int kHelpWidth = 52;
constexpr int kHelpRowsDefault = 13;

// Lines of the text at the help width, breaking at a blank where one is.
std::vector<std::string> help_lines(std::string_view text) {
  std::vector<std::string> out;
  std::string para;
  auto flush = [&] {
    std::string_view rest = para;
    if (rest.empty()) out.emplace_back();
    while (!rest.empty()) {
      if (static_cast<int>(rest.size()) <= kHelpWidth) {
        out.emplace_back(rest);
        break;
      }
      auto cut = rest.substr(0, kHelpWidth + 1).rfind(' ');
      std::size_t len = (cut == std::string_view::npos || cut == 0) ? kHelpWidth : cut;
      out.emplace_back(rest.substr(0, len));
      rest.remove_prefix(len);
      if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    para.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      flush();
    } else if (text[i] == '\n') {
      flush();
    } else {
      para += text[i];
    }
  }
  if (!para.empty()) flush();
  return out;
}

std::string without_prefix(std::string name) {
  if (UPPER(LEFT(name, 3)) == "M->") name = name.substr(3);
  return name;
}

}  // namespace

void Screen::TXT_HELP(std::string_view name) {
  if (in_help_ || quitting_) return;
  if (!help_source || !help_source->available()) return;
  std::string wanted = ALLTRIM(name);
  if (wanted.empty()) {
    wanted = current_field ? without_prefix(ALLTRIM(current_field())) : "";
    if (wanted.empty()) {
      AVISOSN("Ajuda não encontrada"_cp);
      return;
    }
  }
  auto text = help_source->find(PADR(UPPER(wanted), 10));
  if (!text) return;
  auto lines = help_lines(*text);
  int count = static_cast<int>(lines.size());
  int rows = (count > kHelpRowsDefault || count < 1) ? kHelpRowsDefault : count;
  in_help_ = true;
  auto d = LDLGSHOW(1, 0, rows + 2, 64, "Ajuda", colours.COR_ENCH_C);
  if (d) {
    REDEFJAN(8, colours.COR_TEL1, colours.COR_TEL2, colours.COR_TEL3, 1, 0, rows + 2, 64, 2);
    ABREJAN(8);
    const auto attr = static_cast<unsigned char>(ACHACOR(colours.COR_2_CLI));
    int first = 0;
    const int scroll_max = std::max(0, count - rows);
    for (;;) {
      for (int r = 0; r < rows; ++r) {
        auto i = static_cast<std::size_t>(first + r);
        console_->put_text(2 + r + platform::kScreenTop, 1, PADR(i < lines.size() ? lines[i] : "", 63), attr);
      }
      int k = wait_key();
      if (k == kQuitKey || k == key::kEsc) break;
      int to = k == key::kUp ? first - 1 : k == key::kDown ? first + 1 : k == key::kPgUp ? first - rows
             : k == key::kPgDn ? first + rows : k == key::kHome ? 0 : k == key::kEnd ? scroll_max : first;
      first = std::clamp(to, 0, scroll_max);
    }
    FECHAJAN(8);
    d->close();
  }
  in_help_ = false;
}

void Screen::MOSTRA_HELP(int option) {
  switch (option) {
    case 1: TXT_HELP("GERAL"); break;
    case 2: TXT_HELP("TELA" + STRZERO(current_screen ? current_screen() : 0, 2)); break;
    case 3: {
      std::string field = current_field ? without_prefix(ALLTRIM(current_field())) : "";
      if (!field.empty()) TXT_HELP(field);
      break;
    }
    case 4: TXT_HELP("FUNCOES"); break;
    default: break;
  }
}

void Screen::MOS_HELP() { TXT_HELP(""); }

}  // namespace tx::screen
