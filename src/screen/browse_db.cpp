// TBrowseDB and the table skip.
#include "screen/browse_db.hpp"

namespace tx::screen {

bool TableSkip::empty() {
  storage::WorkArea& wa = *area_;
  if (!wa.used()) return true;
  if (!wa.eof()) return false;
  // At the end of the table: empty when there is nothing before it either.
  wa.skip(-1);
  if (wa.eof()) return true;
  wa.go_bottom();
  wa.skip(1);
  return false;
}

long TableSkip::SKIPPED(long n) {
  storage::WorkArea& wa = *area_;
  if (empty()) return 0;
  if (n == 0) {
    wa.skip(0);
    return 0;
  }
  long done = 0;
  if (n > 0) {
    if (wa.eof()) return 0;
    while (done < n) {
      wa.skip(1);
      if (wa.eof()) {
        if (appending_ && appending_()) ++done;
        else wa.skip(-1);
        break;
      }
      ++done;
    }
  } else {
    while (done > n) {
      wa.skip(-1);
      if (wa.bof()) break;
      --done;
    }
  }
  return done;
}

TBrowse TBrowseDB(platform::Console& console, int top, int left, int bottom, int right,
                  storage::WorkArea& area, std::function<bool()> appending) {
  TBrowse b(console, top, left, bottom, right);
  auto skip = std::make_shared<TableSkip>(area, std::move(appending));
  b.GoTopBlock = [skip] { skip->go_top(); };
  b.GoBottomBlock = [skip] { skip->go_bottom(); };
  b.SkipBlock = [skip](long n) { return skip->SKIPPED(n); };
  b.EmptyBlock = [skip] { return skip->empty(); };
  b.Cargo = skip;
  return b;
}

TBColumn field_column(storage::WorkArea& area, std::string heading, std::string field, std::string picture) {
  storage::WorkArea* wa = &area;
  int idx = area.table().field_index(field);
  storage::FieldDef def = idx >= 0 ? area.table().field(idx) : storage::FieldDef{field, 'C', 10, 0};
  TBColumn c;
  c.Heading = std::move(heading);
  c.Picture = std::move(picture);
  if (def.type == 'N') {
    c.ValueWidth = def.len;
    c.ValueDecimals = def.dec;
  }
  c.Block = [wa, field, type = def.type]() -> GetValue {
    switch (type) {
      case 'N': return wa->get_number(field);
      case 'D': return wa->get_date(field);
      case 'L': return wa->get_logical(field);
      default: return std::string(wa->get_text(field));
    }
  };
  return c;
}

}  // namespace tx::screen
