#include "screen/colour_table.hpp"

#include "base/xbase.hpp"

namespace tx::screen {

namespace {

// Opens the colour table and positions it on the terminal's record;
// nullptr when the table cannot be opened.
storage::WorkArea* open_at(storage::Tables& tables, std::string_view terminal) {
  if (!tables.ABERTURA(kColourTable)) return nullptr;
  tables.SELECT(kColourTable);
  storage::WorkArea& wa = tables.area(kColourTable);
  wa.seek(PADR(terminal, 2));
  return &wa;
}

}  // namespace

std::optional<ColourScheme> TableColourStore::load(std::string_view terminal) {
  storage::WorkArea* wa = open_at(tables_, terminal);
  if (!wa) return std::nullopt;
  std::optional<ColourScheme> result;
  if (wa->found()) {
    ColourScheme s;
    for (const auto& f : kColourFields) {
      if (f.number) {
        Decimal v = wa->get_number(f.name);
        long long n = v.to_long();
        if (n >= 0 && n <= 255) s.*f.number = static_cast<int>(n);
      } else {
        set_colour_field(s, f, wa->get_text(f.name));
      }
    }
    s.rebuild();
    result = s;
  }
  wa->close();
  return result;
}

bool TableColourStore::save(std::string_view terminal, const ColourScheme& scheme) {
  storage::WorkArea* wa = open_at(tables_, terminal);
  if (!wa) return false;
  bool ok = true;
  if (!wa->found()) {
    ok = tables_.ADD_REC(2) && wa->replace_text("NRO_TERM", PADR(terminal, 2));
  } else {
    ok = tables_.REC_LOCK(2);
  }
  if (ok) {
    for (const auto& f : kColourFields) {
      if (!ok) break;
      if (f.number) ok = static_cast<bool>(wa->replace_number(f.name, Decimal(scheme.*f.number)));
      else ok = static_cast<bool>(wa->replace_text(f.name, PADR(scheme.*f.text, f.width)));
    }
    ok = static_cast<bool>(wa->commit()) && ok;
    wa->unlock();
  }
  wa->close();
  return ok;
}

}  // namespace tx::screen
