#include "screen/panel.hpp"

#include <algorithm>

#include "base/codepage.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

namespace {

Rect clip(Rect r) {
  r.top = std::max(r.top, 0);
  r.left = std::max(r.left, 0);
  r.bottom = std::min(r.bottom, kScreenRows - 1);
  r.right = std::min(r.right, kScreenCols - 1);
  return r;
}

Rect intersect(Rect a, Rect b) {
  return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
          std::min(a.right, b.right)};
}

constexpr unsigned char kShade = 0xB0;  // light shade

struct BoxChars { unsigned char tl, tr, bl, br, h, v; };
constexpr BoxChars kSingle{0xDA, 0xBF, 0xC0, 0xD9, 0xC4, 0xB3};

}  // namespace

Rect Panel::text_area() const {
  switch (type) {
    case 0: return {top, left, bottom, right};
    case 2: return {top + 1, left + 1, bottom - 1, right - 1};
    case 7: return {top, left, bottom - 1, right - 2};
    default: return {top, left, bottom - 2, right - 2};  // 1 and unknown types
  }
}

int Panel::text_width() const { return type == 0 ? right - left + 1 : right - left - 1; }

Rect Panel::save_area() const {
  switch (type) {
    case 1: return clip({top - 1, left - 1, bottom, right});
    case 7: return clip({top, left, bottom + 2, right + 1});
    default: return clip({top, left, bottom, right});
  }
}

// ---- Screen: panels ----------------------------------------------------------

void Screen::DEFINEJAN(int n, int c1, int c2, int c3, int top, int left, int bottom, int right, int type) {
  Panel& p = panels_[index_of(n)];
  if (p.open) {  // a redefined open panel gives its screen back first
    console_->restore(p.saved_rect.top + platform::kScreenTop, p.saved_rect.left,
                      p.saved_rect.bottom + platform::kScreenTop, p.saved_rect.right, p.saved);
    p.open = false;
    p.saved.clear();
  }
  p.number = index_of(n) + 1;
  p.colour1 = c1 & 0xFF;
  p.colour2 = c2 & 0xFF;
  p.colour3 = c3 & 0xFF;
  p.top = top;
  p.left = left;
  p.bottom = type == 7 ? bottom + 2 : bottom;
  p.right = right;
  p.type = type;
}

void Screen::REDEFJAN(int n, int c1, int c2, int c3, int top, int left, int bottom, int right, int type) {
  DEFINEJAN(n, c1, c2, c3, top, left, bottom, right, type);
}

void Screen::REDFATR(int n, int which, int colour) {
  Panel& p = panels_[index_of(n)];
  int* slot = which == 1 ? &p.colour1 : which == 2 ? &p.colour2 : which == 3 ? &p.colour3 : nullptr;
  if (slot) *slot = colour & 0xFF;
}

void Screen::draw_panel_frame(Panel& p) {
  auto put = [&](int r, int c, unsigned char ch, int attr) {
    if (r >= p.saved_rect.top && r <= p.saved_rect.bottom && c >= p.saved_rect.left && c <= p.saved_rect.right)
      console_->put(r + platform::kScreenTop, c, ch, static_cast<unsigned char>(attr));
  };
  Rect area = intersect(p.text_area(), p.saved_rect);
  for (int r = area.top; r <= area.bottom; ++r)
    for (int c = area.left; c <= area.right; ++c) put(r, c, ' ', p.colour1);
  Rect box;
  if (p.type == 1) box = {p.top - 1, p.left - 1, p.bottom - 1, p.right - 1};
  else if (p.type == 2) box = {p.top, p.left, p.bottom, p.right};
  else return;
  if (box.empty()) return;
  for (int c = box.left + 1; c < box.right; ++c) {
    put(box.top, c, kSingle.h, p.colour2);
    put(box.bottom, c, kSingle.h, p.colour2);
  }
  for (int r = box.top + 1; r < box.bottom; ++r) {
    put(r, box.left, kSingle.v, p.colour2);
    put(r, box.right, kSingle.v, p.colour2);
  }
  put(box.top, box.left, kSingle.tl, p.colour2);
  put(box.top, box.right, kSingle.tr, p.colour2);
  put(box.bottom, box.left, kSingle.bl, p.colour2);
  put(box.bottom, box.right, kSingle.br, p.colour2);
}

void Screen::ABREJAN(int n) {
  Panel& p = panels_[index_of(n)];
  if (p.open)
    console_->restore(p.saved_rect.top + platform::kScreenTop, p.saved_rect.left,
                      p.saved_rect.bottom + platform::kScreenTop, p.saved_rect.right, p.saved);
  p.saved_rect = p.save_area();
  p.saved = console_->save(p.saved_rect.top + platform::kScreenTop, p.saved_rect.left,
                           p.saved_rect.bottom + platform::kScreenTop, p.saved_rect.right);
  p.open = true;
  draw_panel_frame(p);
}

void Screen::write_panel_text(Panel& p, std::string_view text) {
  // Text only goes where the panel saved the screen (or, for a panel that is
  // not open, where it would), so closing it restores everything.
  Rect limit = p.open ? p.saved_rect : p.save_area();
  Rect area = p.text_area();
  int width = area.width();
  auto put = [&](int r, int c, unsigned char ch, int attr) {
    if (r >= limit.top && r <= limit.bottom && c >= limit.left && c <= limit.right)
      console_->put(r + platform::kScreenTop, c, ch, static_cast<unsigned char>(attr));
  };
  auto shade = [&](int r) {
    put(r, area.left + width, kShade, p.colour3);
    put(r, area.left + width + 1, kShade, p.colour3);
  };
  int row = area.top, col = 0, attr = p.colour1;
  bool full = width <= 0;
  auto emit = [&](unsigned char ch) {
    if (full) return;
    if (col >= width) {
      ++row;
      col = 0;
      if (row > area.bottom) { full = true; return; }
      if (p.type == 7) shade(row);
    }
    put(row, area.left + col, ch, attr);
    ++col;
  };
  std::string remembered;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto b = static_cast<unsigned char>(text[i]);
    if (b == kCodeColour1 || b == kCodeColour2 || b == kCodeColour3) {
      attr = b == kCodeColour1 ? p.colour1 : b == kCodeColour2 ? p.colour2 : p.colour3;
      continue;
    }
    if (b == kCodeRepeat) {
      if (i + 2 >= text.size()) break;  // a cut repeat code draws nothing
      int k = static_cast<unsigned char>(text[i + 1]);
      auto c = static_cast<unsigned char>(text[i + 2]);
      remembered.append(text.substr(i, 3));
      for (int j = 0; j < k; ++j) emit(c);
      i += 2;
      continue;
    }
    remembered += static_cast<char>(b);
    emit(b);
  }
  if (p.type == 7 && width > 0) {
    shade(row);
    for (int c = area.left + 1; c <= area.left + width + 1; ++c) put(row + 1, c, kShade, p.colour3);
  }
  p.text = remembered;
}

void Screen::ESCRJAN(int n, std::string_view text) {
  colours.reset_panel_strings();
  if (n == 0) {  // the status line
    Panel line;
    line.colour1 = colours.COR_MENS;
    line.colour2 = colours.COR_TEL2;
    line.colour3 = colours.COR_TEL3;
    line.top = line.bottom = kScreenRows - 1;
    line.left = 0;
    line.right = kScreenCols - 1;
    line.type = 0;
    write_panel_text(line, text);
    return;
  }
  write_panel_text(panels_[index_of(n)], text);
}

void Screen::ESCRLCOL(int n, int row, int col, std::string_view text) {
  int r = 24, c = col;
  if (n != 0) {
    const Panel& p = panels_[index_of(n)];
    r = p.top + row - 1;
    c = p.left + col - 1;
  }
  if (r < 0 || r >= kScreenRows) return;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int cc = c + static_cast<int>(i);
    if (cc < 0 || cc >= kScreenCols) continue;
    auto cell = console_->get(r + platform::kScreenTop, cc);
    console_->put(r + platform::kScreenTop, cc, static_cast<unsigned char>(text[i]), cell.attr);
  }
}

void Screen::ESCRATR(int n, int row, int col, int attribute, int length) {
  int r = 24, c = col;
  if (n != 0) {
    const Panel& p = panels_[index_of(n)];
    r = p.top + row - 1;
    c = p.left + col - 1;
  }
  if (r < 0 || r >= kScreenRows) return;
  for (int i = 0; i < length; ++i) {
    int cc = c + i;
    if (cc < 0 || cc >= kScreenCols) continue;
    auto cell = console_->get(r + platform::kScreenTop, cc);
    console_->put(r + platform::kScreenTop, cc, cell.ch, static_cast<unsigned char>(attribute));
  }
}

void Screen::FECHAJAN(int n) {
  Panel& p = panels_[index_of(n)];
  if (!p.open) return;
  console_->restore(p.saved_rect.top + platform::kScreenTop, p.saved_rect.left,
                    p.saved_rect.bottom + platform::kScreenTop, p.saved_rect.right, p.saved);
  p.saved.clear();
  p.open = false;
}

namespace {
// One step of a panel move: false when it would leave the screen.
bool step(int& low, int& high, int direction, int min, int max) {
  if (direction == kMoveBack) {
    if (low <= min) return false;
    --low;
    --high;
  } else {
    if (high >= max) return false;
    ++low;
    ++high;
  }
  return true;
}
}  // namespace

void Screen::MOVEVER(int n, int direction) {
  Panel& p = panels_[index_of(n)];
  if (!step(p.top, p.bottom, direction, 0, kScreenRows)) return;  // at the screen's edge
  if (!p.open) return;
  FECHAJAN(n);
  ABREJAN(n);
  write_panel_text(p, p.text);
}

void Screen::MOVEHOR(int n, int direction) {
  Panel& p = panels_[index_of(n)];
  if (!step(p.left, p.right, direction, 0, kScreenCols)) return;  // at the screen's edge
  if (!p.open) return;
  FECHAJAN(n);
  ABREJAN(n);
  write_panel_text(p, p.text);
}

void Screen::ENCHETELA(unsigned char ch, int colour) {
  console_->fill(platform::kScreenTop, 0, platform::kScreenTop + kScreenRows - 1, kScreenCols - 1, ch,
                 static_cast<unsigned char>(colour));
}

std::string Screen::REP(int k) {
  std::string s(1, static_cast<char>(kCodeRepeat));
  s += static_cast<char>(static_cast<unsigned char>(k));
  return s;
}

}  // namespace tx::screen
