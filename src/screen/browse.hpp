// TBrowse: a scrolling grid of rows and columns on the character screen.
//
// The grid does not know where its rows come from. The caller supplies the
// data source as three movements (GoTopBlock, GoBottomBlock, SkipBlock: skip
// receives the wanted number of rows and returns the number really skipped,
// negative backwards) and, optionally, EmptyBlock (true when the source has
// no row at all). Each column (TBColumn) reads the cell of the source's
// current row through its Block and formats it with its Picture.
//
// Layout inside the rectangle nTop..nBottom x nLeft..nRight (program rows):
//   heading rows (as many as the tallest heading, lines split on ";"),
//   one heading separator row when any HeadSep is set, the data rows
//   (RowCount), one footing separator row when any FootSep is set, the
//   footing rows. Columns are laid out left to right, the Freeze leading
//   ones always, then from LeftVisible on as many as fit, ColSep between two
//   columns. A separator string is drawn at each column separator position
//   (cut or extended with its last byte to the separator's width) and its
//   last byte fills the rest of the row.
//
// Colours: ColorSpec is "normal,highlight,..." (colour strings); a column's
// DefColor names its {normal, highlight} pair (1-based slots) and ColorBlock
// may choose the pair per cell from the cell's text. ColorRect recolours a
// block of the cells on screen until those rows are read again.
//
// Position contract: between calls the source stands on the row under the
// highlight (RowPos). Movements (Up, Down, PageUp ...) move the source at
// once and set HitTop / HitBottom when they could not move; they never read
// cells. Cells are read only by Stabilize, for rows marked invalid
// (RefreshAll, RefreshCurrent, scrolling). Moving the highlight within the
// rows on screen re-uses the row cache.
//
// Stabilize does one step (one row) and returns true once the display is
// complete (then Stable is true); ForceStable runs it to the end.
#pragma once

#include <any>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/console.hpp"
#include "screen/get_field.hpp"
#include "screen/panel.hpp"

namespace tx::screen {

struct ColourPair {
  int normal = 1;     // 1-based slots of ColorSpec
  int highlight = 2;
  friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

struct TBColumn {
  std::string Heading;                          // lines split on ";"
  std::string Footing;
  std::function<GetValue()> Block;              // value of the cell for the current row
  int Width = 0;                                // 0: from heading, footing and value
  std::string Picture;
  int ValueWidth = 10, ValueDecimals = -1;      // numbers without template (-1: own decimals)
  std::function<ColourPair(const std::string& cell)> ColorBlock;
  ColourPair DefColor;
  std::string ColSep, HeadSep, FootSep;         // empty: the grid's
  std::any Cargo;

  // The cell's text for the current row (picture applied, cut or padded to
  // the column width when `width` > 0).
  std::string text(int width = 0) const;
};

TBColumn TBColumnNew(std::string heading, std::function<GetValue()> block);

// Where a screen position falls in the grid.
struct BrowseHit {
  enum Area { Outside, Heading, HeadSep, Data, FootSep, Footing } area = Outside;
  int row = 0;     // data row 1..RowCount (Data only)
  int column = 0;  // column number, 0 on a separator or outside the columns
};

class TBrowse {
 public:
  TBrowse(platform::Console& console, int top, int left, int bottom, int right);

  int nTop, nLeft, nBottom, nRight;
  std::string ColorSpec = "W/N,N/W";
  std::string HeadSep, ColSep = " ", FootSep;
  bool AutoLite = true;
  std::any Cargo;

  std::function<void()> GoTopBlock, GoBottomBlock;
  std::function<long(long)> SkipBlock;
  std::function<bool()> EmptyBlock;

  // Read-only state.
  int ColPos() const { return col_pos_; }
  int RowPos() const { return row_pos_; }
  int LeftVisible() const { return left_visible_; }
  int RightVisible() const { return right_visible_; }
  int ColCount() const { return static_cast<int>(columns_.size()); }
  int RowCount() const { return row_count_; }
  int Freeze() const { return freeze_; }
  bool HitTop() const { return hit_top_; }
  bool HitBottom() const { return hit_bottom_; }
  bool Stable() const { return stable_; }

  void SetFreeze(int n);
  void SetColPos(int c);          // the column of the highlight (panned into view)
  void SetRowPos(int r);          // only moves the highlight on screen rows that exist

  // Columns (1-based).
  void AddColumn(TBColumn c);
  void InsColumn(int n, TBColumn c);
  void DelColumn(int n);
  TBColumn& GetColumn(int n);
  void SetColumn(int n, TBColumn c);

  // Movement.
  void Up();
  void Down();
  void PageUp();
  void PageDown();
  void GoTop();
  void GoBottom();
  void Left();
  void Right();
  void Home();
  void End();
  void PanLeft();
  void PanRight();
  void PanHome();
  void PanEnd();

  // Display.
  bool Stabilize();
  void ForceStable();
  void RefreshAll();
  void RefreshCurrent();
  // The caller moved the source itself: its row goes under the highlight on
  // screen row r (fewer when there are not enough rows above) and every row
  // is read again.
  void RefreshAt(int r);
  void Invalidate();              // redraw everything, the cache kept
  void Configure();               // after column or rectangle changes
  void ColorRect(Rect cells, ColourPair colours);  // rows 1..RowCount, columns 1..ColCount
  void Hilite();
  void DeHilite();

  BrowseHit hit_test(int row, int col) const;     // program row, column
  // Screen column where column n starts and its width (0, 0 when not shown).
  std::pair<int, int> column_place(int n) const;
  // The screen row of data row r.
  int data_row(int r) const { return data_top_ + r - 1; }
  // Cached text of column n on data row r ("" when not read or past the end).
  std::string cached(int r, int n) const;
  bool row_exists(int r) const;

 private:
  struct Row {
    bool valid = false;
    bool exists = false;
    std::vector<std::string> cells;
    std::vector<ColourPair> colours;
  };
  struct Place { int column, x, width; };

  void layout();
  void fit_right();
  int width_of(int n) const;
  unsigned char attr(int slot) const;
  void draw_frame();
  void draw_row(int r);
  void draw_cell(int r, int column, bool lit);
  void read_row(int r);
  void settle_top();
  void scroll(int by);
  std::string sep_of(int n) const;

  platform::Console& con_;
  std::vector<TBColumn> columns_;
  std::vector<int> widths_;
  std::vector<Place> places_;
  std::vector<Row> rows_;
  int freeze_ = 0;
  int col_pos_ = 1, row_pos_ = 1;
  int left_visible_ = 1, right_visible_ = 0;
  int row_count_ = 0, head_rows_ = 0, foot_rows_ = 0, data_top_ = 0;
  bool has_head_sep_ = false, has_foot_sep_ = false;
  bool hit_top_ = false, hit_bottom_ = false, stable_ = false;
  bool frame_valid_ = false, configured_ = false, settle_ = true, lit_ = false;
  int source_row_ = 1;  // data row the source stands on while stabilising
};

TBrowse TBrowseNew(platform::Console& console, int top, int left, int bottom, int right);

}  // namespace tx::screen
