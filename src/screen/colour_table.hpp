// TableColourStore: the terminals' colour schemes in table 56 (CORES), one
// record per terminal keyed by NRO_TERM.
//
// load() opens the table, seeks the terminal and copies its record (a field
// that does not read as a number or a colour keeps its default); save()
// finds or appends the terminal's record, locks it (giving up, false, when
// the lock cannot be had within two seconds or Esc is pressed), writes all
// seventeen fields and unlocks. Both close the table again, so the colour
// table is never left open between uses.
#pragma once

#include "screen/colour.hpp"
#include "storage/tables.hpp"

namespace tx::screen {

inline constexpr int kColourTable = 56;

class TableColourStore : public ColourStore {
 public:
  explicit TableColourStore(storage::Tables& tables) : tables_(tables) {}
  std::optional<ColourScheme> load(std::string_view terminal) override;
  bool save(std::string_view terminal, const ColourScheme& scheme) override;

 private:
  storage::Tables& tables_;
};

}  // namespace tx::screen
