// MSGALERT, AVISOSN, OKEI: boxes with push buttons.
#include <algorithm>
#include <utility>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

namespace {

constexpr int kMaxTextRows = 16;
constexpr int kMaxWidth = kScreenCols - 4;

std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> out;
  std::string cur;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.push_back(cur);
      cur.clear();
    } else if (c == '\n') {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  out.push_back(cur);
  return out;
}

}  // namespace

AlertLayout alert_layout(const std::vector<std::string>& message, const std::vector<std::string>& captions,
                         std::string_view title) {
  AlertLayout L;
  // Lines longer than the widest box are cut into pieces.
  const int text_max = kMaxWidth - 3;
  for (auto& line : message)
    for (auto& part : split_lines(line)) {
      if (part.empty()) L.lines.push_back("");
      for (std::size_t at = 0; at < part.size(); at += static_cast<std::size_t>(text_max))
        L.lines.push_back(part.substr(at, static_cast<std::size_t>(text_max)));
    }
  if (L.lines.empty()) L.lines.push_back("");
  struct B { std::string shown; char hot; int hot_pos; int width; };
  std::vector<B> bs;
  int total = 0;
  for (auto& c : captions) {
    B b;
    b.shown = button_caption(c, &b.hot, &b.hot_pos);
    b.width = static_cast<int>(b.shown.size()) + 2;
    total += b.width;
    bs.push_back(b);
  }
  int longest = 0;
  for (auto& l : L.lines) longest = std::max(longest, static_cast<int>(l.size()));
  int w = std::min(std::max({total, longest, static_cast<int>(title.size())}) + 3, kMaxWidth);
  // Buttons fill rows of the box's width; every further row adds two.
  std::vector<std::vector<std::size_t>> rows(1);
  int used = 0;
  for (std::size_t i = 0; i < bs.size(); ++i) {
    if (used + bs[i].width > w && !rows.back().empty()) {
      rows.emplace_back();
      used = 0;
    }
    rows.back().push_back(i);
    used += bs[i].width;
  }
  int extra = 2 * (static_cast<int>(rows.size()) - 1);
  L.text_rows = std::min(static_cast<int>(L.lines.size()), kMaxTextRows);
  // The box and its caption row fit the screen: fewer text rows if need be.
  L.text_rows = std::max(1, std::min(L.text_rows, kScreenRows - 1 - 3 - extra));
  int h = L.text_rows + 3 + extra;
  L.box.top = std::max(1, (kScreenRows - h) / 2);
  L.box.left = (kScreenCols - w) / 2;
  L.box.bottom = L.box.top + h - 1;
  L.box.right = L.box.left + w - 1;
  int row = L.box.bottom - extra;
  for (auto& r : rows) {
    int width = 0;
    for (auto i : r) width += bs[i].width;
    int col = L.box.left + (w - width) / 2;
    for (auto i : r) {
      L.buttons.push_back({row, col + 1, bs[i].shown, bs[i].hot, bs[i].hot_pos});
      col += bs[i].width;
    }
    row += 2;
  }
  return L;
}

int Screen::MSGALERT(const std::vector<std::string>& message, const std::vector<std::string>& captions,
                     std::string_view colour, std::string_view title, bool escape_closes) {
  if (quitting_) return 0;
  AlertLayout L = alert_layout(message, captions, title);
  discard_typeahead();
  auto suspended = std::exchange(keys_, {});
  auto d = LDLGSHOW(L.box.top, L.box.left, L.box.bottom, L.box.right, title, colour);
  if (!d) {
    keys_ = std::move(suspended);
    return 0;
  }
  auto attr = static_cast<unsigned char>(ACHACOR(colour));
  int first = 0;
  const int text_left = L.box.left + 1, text_width = L.box.right - L.box.left - 1;
  const int scroll_max = std::max(0, static_cast<int>(L.lines.size()) - L.text_rows);
  auto draw_text = [&] {
    for (int r = 0; r < L.text_rows; ++r) {
      auto i = static_cast<std::size_t>(first + r);
      std::string line = i < L.lines.size() ? L.lines[i] : "";
      console_->put_text(L.box.top + 1 + r + platform::kScreenTop, text_left, PADR(line, text_width), attr);
    }
  };
  for (std::size_t i = 0; i < captions.size(); ++i) {
    Button& b = d->add_button(L.buttons[i].row, L.buttons[i].left, captions[i], nullptr);
    (void)b;
  }
  d->focus = captions.empty() ? -1 : 0;
  draw_text();
  d->draw_buttons();
  int result = 0;
  const int count = static_cast<int>(captions.size());
  for (;;) {
    int k = wait_key();
    if (k == kQuitKey) break;
    if (d->nLastButton) { result = d->nLastButton; break; }
    if (k == 0) continue;
    if (k == key::kEsc) {
      if (escape_closes) break;
      continue;
    }
    if (count > 0 && (k == key::kLeft || k == key::kRight || k == key::kTab || k == key::kShiftTab)) {
      int step = (k == key::kRight || k == key::kTab) ? 1 : count - 1;
      d->focus = (d->focus + step) % count;
      d->draw_buttons();
      continue;
    }
    if (k == key::kUp || k == key::kDown || k == key::kPgUp || k == key::kPgDn || k == key::kHome ||
        k == key::kEnd) {
      int to = k == key::kUp ? first - 1 : k == key::kDown ? first + 1 : k == key::kPgUp ? first - L.text_rows
             : k == key::kPgDn ? first + L.text_rows : k == key::kHome ? 0 : scroll_max;
      first = std::clamp(to, 0, scroll_max);
      draw_text();
      continue;
    }
    if (k == key::kEnter && d->focus >= 0) {
      d->press(*d->aControls[static_cast<std::size_t>(d->focus)]);
      result = d->nLastButton;
      if (result) break;
      continue;
    }
    if (k >= 32 && k <= 255) {
      // A button's shortcut letter, or the one character of a one-character
      // caption ("1" ... "6").
      char up = upper_char(static_cast<char>(k));
      for (auto& b : d->aControls) {
        std::string bare = ALLTRIM(b->shown);
        if ((b->hot && b->hot == up) || (bare.size() == 1 && upper_char(bare[0]) == up)) {
          d->press(*b);
          break;
        }
      }
      if (d->nLastButton) { result = d->nLastButton; break; }
    }
  }
  d->close();
  keys_ = std::move(suspended);
  return result;
}

AvisoResult Screen::AVISOSN(std::string_view message, int kind, const std::vector<std::string>& buttons,
                            std::string_view title) {
  return AVISOSN(split_lines(message), kind, buttons, title);
}

AvisoResult Screen::AVISOSN(const std::vector<std::string>& message, int kind,
                            const std::vector<std::string>& buttons, std::string_view title) {
  // Captions, box colour, whether Esc closes, and the answer of each button
  // (an empty table of letters means the button number is the answer).
  struct Kind { std::vector<std::string> captions; bool system; std::string letters; std::string none; };
  static const Kind kinds[] = {
      {{"OK"}, true, "", ""},
      {{"&Sim", "&Não"_cp}, true, "SN", "N"},
      {{"&Sim", "&Não"_cp}, true, "SN", "N"},
      {{"Sim", "Não"_cp, "Ignore"}, false, "SNI", "N"},
      {{"Sim", "Não"_cp, "Fim"}, false, "SNF", "N"},
      {{"1", "2", "3"}, false, "123", ""},
      {{}, false, "", ""},
      {{"1", "2", "3", "4", "5", "6"}, false, "", ""},
  };
  int k = std::clamp(kind, 0, 7);
  const Kind& K = kinds[k];
  const auto& captions = k == 6 ? buttons : K.captions;
  std::string colour = K.system ? "N/W" : colours.COR_ENCH_C;
  int pressed = MSGALERT(message, captions, colour, title, K.system);
  switch (k) {
    case 0: return std::monostate{};
    case 1: return pressed == 1;
    case 6:
    case 7: return pressed;
    default:
      if (pressed >= 1 && pressed <= static_cast<int>(K.letters.size()))
        return std::string(1, K.letters[static_cast<std::size_t>(pressed - 1)]);
      return K.none;
  }
}

AvisoResult Screen::OKEI(int kind) { return AVISOSN("Confirma os dados ?", kind); }

}  // namespace tx::screen
