// TBrowse: layout, row cache, movements and drawing of the grid.
#include "screen/browse.hpp"

#include <algorithm>

#include "base/picture.hpp"
#include "screen/colour.hpp"

namespace tx::screen {

namespace {

std::vector<std::string> split_heading(const std::string& h) {
  std::vector<std::string> out;
  if (h.empty()) return out;
  std::string cur;
  for (char c : h) {
    if (c == ';') { out.push_back(cur); cur.clear(); } else cur += c;
  }
  out.push_back(cur);
  return out;
}

std::string fit(std::string s, int width) {
  if (width <= 0) return s;
  s.resize(static_cast<std::size_t>(width), ' ');
  return s;
}

// A separator string laid over a separator `width` wide: its middle part
// when it is longer, extended with its last byte when it is shorter.
std::string lay_sep(const std::string& sep, int width) {
  if (width <= 0) return {};
  if (sep.empty()) return std::string(static_cast<std::size_t>(width), ' ');
  int len = static_cast<int>(sep.size());
  if (len >= width) return sep.substr(static_cast<std::size_t>((len - width) / 2), static_cast<std::size_t>(width));
  return sep + std::string(static_cast<std::size_t>(width - len), sep.back());
}

}  // namespace

std::string TBColumn::text(int width) const {
  if (!Block) return fit({}, width);
  GetValue v = Block();
  std::string s;
  switch (kind_of(v)) {
    case GetKind::Text: {
      const auto& t = std::get<std::string>(v);
      s = Picture.empty() ? t : TRANSFORM_TEXT(t, Picture);
      break;
    }
    case GetKind::Number: {
      Decimal d = std::get<Decimal>(v);
      s = ValueDecimals < 0 && ValueWidth == 10 ? TRANSFORM(d, Picture)
                                                 : TRANSFORM(d, Picture, ValueWidth, std::max(0, ValueDecimals));
      break;
    }
    case GetKind::Date: s = TRANSFORM(std::get<Date>(v), Picture); break;
    case GetKind::Logical: s = TRANSFORM_LOGICAL(std::get<bool>(v), Picture); break;
  }
  return fit(std::move(s), width);
}

TBColumn TBColumnNew(std::string heading, std::function<GetValue()> block) {
  TBColumn c;
  c.Heading = std::move(heading);
  c.Block = std::move(block);
  return c;
}

TBrowse::TBrowse(platform::Console& console, int top, int left, int bottom, int right)
    : nTop(top), nLeft(left), nBottom(bottom), nRight(right), con_(console) {
  GoTopBlock = [] {};
  GoBottomBlock = [] {};
  SkipBlock = [](long) { return 0L; };
}

TBrowse TBrowseNew(platform::Console& console, int top, int left, int bottom, int right) {
  return TBrowse(console, top, left, bottom, right);
}

// ---- columns --------------------------------------------------------------

void TBrowse::AddColumn(TBColumn c) { columns_.push_back(std::move(c)); configured_ = false; }

void TBrowse::InsColumn(int n, TBColumn c) {
  n = std::clamp(n, 1, ColCount() + 1);
  columns_.insert(columns_.begin() + (n - 1), std::move(c));
  configured_ = false;
}

void TBrowse::DelColumn(int n) {
  if (n < 1 || n > ColCount()) return;
  columns_.erase(columns_.begin() + (n - 1));
  configured_ = false;
}

TBColumn& TBrowse::GetColumn(int n) { return columns_.at(static_cast<std::size_t>(n - 1)); }

void TBrowse::SetColumn(int n, TBColumn c) {
  if (n < 1 || n > ColCount()) return;
  columns_[static_cast<std::size_t>(n - 1)] = std::move(c);
  configured_ = false;
}

void TBrowse::SetFreeze(int n) {
  freeze_ = std::max(0, n);
  if (left_visible_ <= freeze_) left_visible_ = freeze_ + 1;
  if (configured_) { layout(); fit_right(); Invalidate(); }
}

void TBrowse::SetColPos(int c) {
  if (!configured_) Configure();
  DeHilite();
  col_pos_ = std::clamp(c, 1, std::max(1, ColCount()));
  int before = left_visible_;
  fit_right();
  if (before != left_visible_) Invalidate();
  stable_ = false;
}

void TBrowse::SetRowPos(int r) {
  if (!configured_) Configure();
  if (r < 1 || r > row_count_ || r == row_pos_) return;
  if (rows_[static_cast<std::size_t>(r - 1)].valid && !rows_[static_cast<std::size_t>(r - 1)].exists) return;
  long want = r - row_pos_;
  long got = SkipBlock(want);
  DeHilite();
  row_pos_ += static_cast<int>(got);
  source_row_ = row_pos_;
  stable_ = false;
}

// ---- configuration and layout ---------------------------------------------

int TBrowse::width_of(int n) const { return widths_[static_cast<std::size_t>(n - 1)]; }

std::string TBrowse::sep_of(int n) const {
  const auto& c = columns_[static_cast<std::size_t>(n - 1)];
  return c.ColSep.empty() ? ColSep : c.ColSep;
}

void TBrowse::Configure() {
  widths_.clear();
  head_rows_ = foot_rows_ = 0;
  has_head_sep_ = !HeadSep.empty();
  has_foot_sep_ = !FootSep.empty();
  for (auto& c : columns_) {
    auto h = split_heading(c.Heading), f = split_heading(c.Footing);
    head_rows_ = std::max(head_rows_, static_cast<int>(h.size()));
    foot_rows_ = std::max(foot_rows_, static_cast<int>(f.size()));
    has_head_sep_ = has_head_sep_ || !c.HeadSep.empty();
    has_foot_sep_ = has_foot_sep_ || !c.FootSep.empty();
    int w = c.Width;
    if (w <= 0) {
      w = static_cast<int>(c.text().size());
      for (auto& l : h) w = std::max(w, static_cast<int>(l.size()));
      for (auto& l : f) w = std::max(w, static_cast<int>(l.size()));
    }
    widths_.push_back(std::max(1, w));
  }
  data_top_ = nTop + head_rows_ + (has_head_sep_ ? 1 : 0);
  row_count_ = std::max(0, nBottom - data_top_ + 1 - foot_rows_ - (has_foot_sep_ ? 1 : 0));
  rows_.assign(static_cast<std::size_t>(row_count_), Row{});
  row_pos_ = std::clamp(row_pos_, 1, std::max(1, row_count_));
  source_row_ = row_pos_;
  col_pos_ = std::clamp(col_pos_, 1, std::max(1, ColCount()));
  if (left_visible_ <= freeze_) left_visible_ = freeze_ + 1;
  configured_ = true;
  layout();
  fit_right();
  frame_valid_ = false;
  settle_ = true;
  stable_ = false;
  lit_ = false;
}

void TBrowse::layout() {
  places_.clear();
  int x = nLeft;
  const int right = nRight;
  auto place = [&](int n) {
    if (!places_.empty()) x += static_cast<int>(sep_of(n).size());
    int room = right - x + 1;
    if (room <= 0) return false;
    int w = width_of(n);
    if (w > room) {
      // Only the first column after the frozen ones is shown cut.
      bool first_moving = n > freeze_ && (places_.empty() || places_.back().column <= freeze_);
      if (!first_moving && n > freeze_) return false;
      w = room;
    }
    places_.push_back({n, x, w});
    x += w;
    return true;
  };
  int n_frozen = std::min(freeze_, ColCount());
  for (int n = 1; n <= n_frozen; ++n)
    if (!place(n)) break;
  right_visible_ = n_frozen;
  if (left_visible_ <= freeze_) left_visible_ = freeze_ + 1;
  if (left_visible_ > ColCount()) left_visible_ = std::max(freeze_ + 1, ColCount());
  for (int n = left_visible_; n <= ColCount(); ++n) {
    if (!place(n)) break;
    right_visible_ = n;
  }
}

void TBrowse::fit_right() {
  if (col_pos_ <= freeze_ || ColCount() == 0) return;
  if (col_pos_ < left_visible_) { left_visible_ = col_pos_; layout(); }
  while (col_pos_ > right_visible_ && left_visible_ < col_pos_) { ++left_visible_; layout(); }
}

std::pair<int, int> TBrowse::column_place(int n) const {
  for (auto& p : places_)
    if (p.column == n) return {p.x, p.width};
  return {0, 0};
}

// ---- drawing --------------------------------------------------------------

unsigned char TBrowse::attr(int slot) const {
  // A slot the colour list lacks falls back to the normal colour.
  std::string s = colour_slot(ColorSpec, slot - 1);
  if (s.empty()) s = colour_slot(ColorSpec, 0);
  if (s.empty()) s = "W/N";
  return static_cast<unsigned char>(ACHACOR(s));
}

void TBrowse::draw_frame() {
  const int top = nTop + platform::kScreenTop;
  auto line_row = [&](int row, auto text_of, auto sep_text, bool fill_sep_line, const std::string& grid_sep) {
    unsigned char a = attr(1);
    std::string fill;
    if (fill_sep_line) fill = grid_sep.empty() ? " " : std::string(1, grid_sep.back());
    con_.fill(row, nLeft, row, nRight, fill_sep_line ? static_cast<unsigned char>(fill[0]) : ' ', a);
    for (std::size_t i = 0; i < places_.size(); ++i) {
      const auto& p = places_[i];
      const auto& c = columns_[static_cast<std::size_t>(p.column - 1)];
      a = attr(c.DefColor.normal);
      if (i > 0) {
        int sw = static_cast<int>(sep_of(p.column).size());
        con_.put_text(row, p.x - sw, sep_text(c, sw), a);
      }
      con_.put_text(row, p.x, text_of(c, p.width), a);
    }
  };
  // Headings.
  for (int h = 0; h < head_rows_; ++h)
    line_row(top + h,
             [&](const TBColumn& c, int w) {
               auto lines = split_heading(c.Heading);
               return fit(h < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(h)] : "", w);
             },
             [&](const TBColumn& c, int w) { return lay_sep(c.ColSep.empty() ? ColSep : c.ColSep, w); }, false,
             "");
  if (has_head_sep_) {
    int row = top + head_rows_;
    line_row(row,
             [&](const TBColumn& c, int w) {
               const std::string& s = c.HeadSep.empty() ? HeadSep : c.HeadSep;
               return std::string(static_cast<std::size_t>(w), s.empty() ? ' ' : s.back());
             },
             [&](const TBColumn& c, int w) { return lay_sep(c.HeadSep.empty() ? HeadSep : c.HeadSep, w); }, true,
             HeadSep);
  }
  int foot_top = data_top_ + row_count_ + platform::kScreenTop;
  if (has_foot_sep_) {
    line_row(foot_top,
             [&](const TBColumn& c, int w) {
               const std::string& s = c.FootSep.empty() ? FootSep : c.FootSep;
               return std::string(static_cast<std::size_t>(w), s.empty() ? ' ' : s.back());
             },
             [&](const TBColumn& c, int w) { return lay_sep(c.FootSep.empty() ? FootSep : c.FootSep, w); }, true,
             FootSep);
    ++foot_top;
  }
  for (int f = 0; f < foot_rows_; ++f)
    line_row(foot_top + f,
             [&](const TBColumn& c, int w) {
               auto lines = split_heading(c.Footing);
               return fit(f < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(f)] : "", w);
             },
             [&](const TBColumn& c, int w) { return lay_sep(c.ColSep.empty() ? ColSep : c.ColSep, w); }, false,
             "");
}

void TBrowse::draw_cell(int r, int column, bool lit) {
  auto [x, w] = column_place(column);
  if (w == 0) return;
  const Row& row = rows_[static_cast<std::size_t>(r - 1)];
  const auto& c = columns_[static_cast<std::size_t>(column - 1)];
  ColourPair pair = row.colours.empty() ? c.DefColor : row.colours[static_cast<std::size_t>(column - 1)];
  std::string text = row.exists ? row.cells[static_cast<std::size_t>(column - 1)] : std::string();
  con_.put_text(data_row(r) + platform::kScreenTop, x, fit(text, w), attr(lit ? pair.highlight : pair.normal));
}

void TBrowse::draw_row(int r) {
  const int y = data_row(r) + platform::kScreenTop;
  con_.fill(y, nLeft, y, nRight, ' ', attr(1));
  for (std::size_t i = 0; i < places_.size(); ++i) {
    const auto& p = places_[i];
    if (i > 0) {
      std::string s = sep_of(p.column);
      con_.put_text(y, p.x - static_cast<int>(s.size()), s,
                    attr(columns_[static_cast<std::size_t>(p.column - 1)].DefColor.normal));
    }
    draw_cell(r, p.column, false);
  }
}

void TBrowse::read_row(int r) {
  Row& row = rows_[static_cast<std::size_t>(r - 1)];
  row.valid = true;
  long want = r - source_row_;
  long got = want == 0 ? 0 : SkipBlock(want);
  source_row_ += static_cast<int>(got);
  bool exists = got == want && !(EmptyBlock && EmptyBlock());
  row.exists = exists;
  row.cells.assign(columns_.size(), std::string());
  row.colours.assign(columns_.size(), ColourPair{});
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const auto& c = columns_[i];
    if (exists) row.cells[i] = c.text(widths_[i]);
    row.colours[i] = c.ColorBlock && exists ? c.ColorBlock(row.cells[i]) : c.DefColor;
  }
  if (!exists && want > 0)
    for (int k = r + 1; k <= row_count_; ++k) {
      Row& below = rows_[static_cast<std::size_t>(k - 1)];
      below.valid = true;
      below.exists = false;
      below.cells.assign(columns_.size(), std::string());
      below.colours.clear();
      for (auto& c : columns_) below.colours.push_back(c.DefColor);
      draw_row(k);
    }
}

void TBrowse::settle_top() {
  // The rows above the highlight: as many as the source has, the highlight
  // moving up when there are fewer.
  long want = row_pos_ - 1;
  long got = want == 0 ? 0 : -SkipBlock(-want);
  source_row_ = row_pos_ - static_cast<int>(got);
  if (got < want) {
    row_pos_ = static_cast<int>(got) + 1;
    source_row_ = 1;
  }
}

bool TBrowse::Stabilize() {
  if (!configured_) Configure();
  if (!frame_valid_) {
    draw_frame();
    frame_valid_ = true;
    for (int r = 1; r <= row_count_; ++r)
      if (rows_[static_cast<std::size_t>(r - 1)].valid) draw_row(r);
    return false;
  }
  if (settle_) {
    settle_top();
    settle_ = false;
  }
  for (int r = 1; r <= row_count_; ++r) {
    if (!rows_[static_cast<std::size_t>(r - 1)].valid) {
      read_row(r);
      draw_row(r);
      if (r == row_pos_) lit_ = false;
      return false;
    }
  }
  if (source_row_ != row_pos_) {
    long got = SkipBlock(row_pos_ - source_row_);
    source_row_ += static_cast<int>(got);
    row_pos_ = source_row_;
  }
  if (AutoLite) Hilite();
  stable_ = true;
  return true;
}

void TBrowse::ForceStable() {
  while (!Stabilize()) {
  }
}

void TBrowse::RefreshAll() {
  for (auto& r : rows_) r.valid = false;
  settle_ = true;
  stable_ = false;
  lit_ = false;
}

void TBrowse::RefreshAt(int r) {
  if (!configured_) Configure();
  lit_ = false;
  row_pos_ = std::clamp(r, 1, std::max(1, row_count_));
  source_row_ = row_pos_;
  RefreshAll();
}

void TBrowse::RefreshCurrent() {
  if (row_pos_ >= 1 && row_pos_ <= row_count_) rows_[static_cast<std::size_t>(row_pos_ - 1)].valid = false;
  stable_ = false;
  lit_ = false;
}

void TBrowse::Invalidate() {
  frame_valid_ = false;
  stable_ = false;
  lit_ = false;
}

void TBrowse::ColorRect(Rect cells, ColourPair colours) {
  if (!configured_) Configure();
  for (int r = std::max(1, cells.top); r <= std::min(row_count_, cells.bottom); ++r) {
    Row& row = rows_[static_cast<std::size_t>(r - 1)];
    if (!row.valid) continue;
    for (int c = std::max(1, cells.left); c <= std::min(ColCount(), cells.right); ++c)
      row.colours[static_cast<std::size_t>(c - 1)] = colours;
    draw_row(r);
    if (r == row_pos_) lit_ = false;
  }
  stable_ = false;
}

void TBrowse::Hilite() {
  if (row_pos_ < 1 || row_pos_ > row_count_ || !rows_[static_cast<std::size_t>(row_pos_ - 1)].valid) return;
  draw_cell(row_pos_, col_pos_, true);
  auto [x, w] = column_place(col_pos_);
  if (w) con_.set_cursor(data_row(row_pos_) + platform::kScreenTop, x, false);
  lit_ = true;
}

void TBrowse::DeHilite() {
  if (!lit_) return;
  if (row_pos_ >= 1 && row_pos_ <= row_count_ && rows_[static_cast<std::size_t>(row_pos_ - 1)].valid)
    draw_cell(row_pos_, col_pos_, false);
  lit_ = false;
}

std::string TBrowse::cached(int r, int n) const {
  if (r < 1 || r > row_count_ || n < 1 || n > ColCount()) return {};
  const Row& row = rows_[static_cast<std::size_t>(r - 1)];
  return row.valid && row.exists ? row.cells[static_cast<std::size_t>(n - 1)] : std::string();
}

bool TBrowse::row_exists(int r) const {
  if (r < 1 || r > row_count_) return false;
  const Row& row = rows_[static_cast<std::size_t>(r - 1)];
  return row.valid && row.exists;
}

BrowseHit TBrowse::hit_test(int row, int col) const {
  BrowseHit h;
  if (row < nTop || row > nBottom || col < nLeft || col > nRight) return h;
  for (auto& p : places_)
    if (col >= p.x && col < p.x + p.width) h.column = p.column;
  int head_sep_row = nTop + head_rows_;
  int foot_sep_row = data_top_ + row_count_;
  if (row < head_sep_row) h.area = BrowseHit::Heading;
  else if (has_head_sep_ && row == head_sep_row) h.area = BrowseHit::HeadSep;
  else if (row < data_top_ + row_count_) { h.area = BrowseHit::Data; h.row = row - data_top_ + 1; }
  else if (has_foot_sep_ && row == foot_sep_row) h.area = BrowseHit::FootSep;
  else h.area = BrowseHit::Footing;
  return h;
}

// ---- movement -------------------------------------------------------------

void TBrowse::scroll(int by) {
  if (by > 0) {
    std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
    rows_.back() = Row{};
  } else {
    std::rotate(rows_.rbegin(), rows_.rbegin() + 1, rows_.rend());
    rows_.front() = Row{};
  }
  for (int r = 1; r <= row_count_; ++r)
    if (rows_[static_cast<std::size_t>(r - 1)].valid) draw_row(r);
}

void TBrowse::Down() {
  if (!configured_) Configure();
  hit_top_ = hit_bottom_ = false;
  if (row_count_ == 0 || (EmptyBlock && EmptyBlock()) || SkipBlock(1) == 0) {
    hit_bottom_ = true;
    return;
  }
  DeHilite();
  if (row_pos_ < row_count_) ++row_pos_; else scroll(1);
  Row& row = rows_[static_cast<std::size_t>(row_pos_ - 1)];
  if (!row.exists) row.valid = false;
  source_row_ = row_pos_;
  stable_ = false;
}

void TBrowse::Up() {
  if (!configured_) Configure();
  hit_top_ = hit_bottom_ = false;
  if (row_count_ == 0 || (EmptyBlock && EmptyBlock()) || SkipBlock(-1) == 0) {
    hit_top_ = true;
    return;
  }
  DeHilite();
  if (row_pos_ > 1) --row_pos_; else scroll(-1);
  Row& row = rows_[static_cast<std::size_t>(row_pos_ - 1)];
  if (!row.exists) row.valid = false;
  source_row_ = row_pos_;
  stable_ = false;
}

void TBrowse::PageDown() {
  if (!configured_) Configure();
  hit_top_ = hit_bottom_ = false;
  long got = row_count_ == 0 || (EmptyBlock && EmptyBlock()) ? 0 : SkipBlock(row_count_);
  if (got == 0) { hit_bottom_ = true; return; }
  DeHilite();
  if (got < row_count_) {
    if (row_pos_ + got <= row_count_) {
      row_pos_ += static_cast<int>(got);
      Row& row = rows_[static_cast<std::size_t>(row_pos_ - 1)];
      if (!row.exists) row.valid = false;
    } else {
      row_pos_ = row_count_;
      RefreshAll();
    }
  } else {
    RefreshAll();
  }
  source_row_ = row_pos_;
  stable_ = false;
}

void TBrowse::PageUp() {
  if (!configured_) Configure();
  hit_top_ = hit_bottom_ = false;
  long got = row_count_ == 0 || (EmptyBlock && EmptyBlock()) ? 0 : -SkipBlock(-row_count_);
  if (got == 0) { hit_top_ = true; return; }
  DeHilite();
  if (got < row_count_) {
    if (row_pos_ - got >= 1) row_pos_ -= static_cast<int>(got);
    else { row_pos_ = 1; RefreshAll(); }
  } else {
    RefreshAll();
  }
  source_row_ = row_pos_;
  stable_ = false;
}

void TBrowse::GoTop() {
  if (!configured_) Configure();
  hit_top_ = hit_bottom_ = false;
  DeHilite();
  GoTopBlock();
  row_pos_ = 1;
  source_row_ = 1;
  RefreshAll();
}

void TBrowse::GoBottom() {
  if (!configured_) Configure();
  hit_top_ = hit_bottom_ = false;
  DeHilite();
  GoBottomBlock();
  row_pos_ = std::max(1, row_count_);
  source_row_ = row_pos_;
  RefreshAll();
}

void TBrowse::Left() {
  if (!configured_) Configure();
  if (col_pos_ <= 1) return;
  SetColPos(col_pos_ - 1);
}

void TBrowse::Right() {
  if (!configured_) Configure();
  if (col_pos_ >= ColCount()) return;
  SetColPos(col_pos_ + 1);
}

void TBrowse::Home() {
  if (!configured_) Configure();
  SetColPos(places_.empty() ? 1 : places_.front().column);
}

void TBrowse::End() {
  if (!configured_) Configure();
  SetColPos(places_.empty() ? 1 : places_.back().column);
}

void TBrowse::PanLeft() {
  if (!configured_) Configure();
  if (left_visible_ <= freeze_ + 1) return;
  DeHilite();
  --left_visible_;
  layout();
  if (col_pos_ > right_visible_) col_pos_ = right_visible_;
  Invalidate();
}

void TBrowse::PanRight() {
  if (!configured_) Configure();
  if (right_visible_ >= ColCount()) return;
  DeHilite();
  ++left_visible_;
  layout();
  if (col_pos_ > freeze_ && col_pos_ < left_visible_) col_pos_ = left_visible_;
  Invalidate();
}

void TBrowse::PanHome() {
  if (!configured_) Configure();
  DeHilite();
  left_visible_ = freeze_ + 1;
  layout();
  col_pos_ = 1;
  Invalidate();
}

void TBrowse::PanEnd() {
  if (!configured_) Configure();
  DeHilite();
  col_pos_ = std::max(1, ColCount());
  fit_right();
  Invalidate();
}

}  // namespace tx::screen
