// TableHelpSource: help texts from table 45 (HELPTXT), key NOME (upper
// case, padded to 10), text in the memo field TEXTO.
//
// available() is false when the table or its memo file is missing from the
// program folder. Every look-up opens the table, reads and closes it again,
// and leaves the work area that was selected before selected again.
#pragma once

#include "screen/help_source.hpp"
#include "storage/tables.hpp"

namespace tx::screen {

inline constexpr int kHelpTable = 45;

class TableHelpSource : public HelpSource {
 public:
  explicit TableHelpSource(storage::Tables& tables) : tables_(tables) {}
  bool available() const override;
  std::optional<std::string> find(std::string_view name) const override;

 private:
  storage::Tables& tables_;
};

}  // namespace tx::screen
