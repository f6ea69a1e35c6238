#include "screen/help_table.hpp"

#include "base/xbase.hpp"

namespace tx::screen {

bool TableHelpSource::available() const {
  int selected = tables_.selected();
  bool ok = tables_.ABERTURA(kHelpTable);
  if (ok) tables_.area(kHelpTable).close();
  tables_.SELECT(selected);
  return ok;
}

std::optional<std::string> TableHelpSource::find(std::string_view name) const {
  int selected = tables_.selected();
  std::optional<std::string> text;
  if (tables_.ABERTURA(kHelpTable)) {
    storage::WorkArea& wa = tables_.area(kHelpTable);
    wa.seek(PADR(UPPER(name), 10));
    std::string memo;
    if (wa.found() && wa.get_memo("TEXTO", memo)) text = memo;
    wa.close();
  }
  tables_.SELECT(selected);
  return text;
}

}  // namespace tx::screen
