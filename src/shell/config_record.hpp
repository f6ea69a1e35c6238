// The terminal's configuration record (table 42, one record per terminal)
// and the installation's settings record (table 43, a single record), as
// the start-up and the exit routine read and write them.
//
// Interface
//   CONFIGURA(tables, g, today)  opens table 42 and finds the terminal's
//                 record (g.NUSU); a terminal without one gets a record with
//                 the defaults (ROTADOANO / dirtrab = g.ROTADEF, DIRPROV =
//                 g.DIRDEF, ULTBACK = today). The record is left current.
//                 False when the table cannot be opened or the record added.
//   load_config(area, g)         step 8: the record's fields into g; NOMEAG
//                 defaults to "USUARIO DO TERMINAL " + NUSU
//   write_config(tables, g, names)  the named fields of g into the
//                 terminal's record under a record lock (five seconds),
//                 opening table 42 when it is not open; false when the lock
//                 was refused or a field is unknown
//   kExitFields / kSelectionFields / kPrintCountFields  the field lists the
//                 exit routine and the print selection write
//   load_settings(tables, g)     step 11: the settings fields into g,
//                 BOL_BANCO 341, DAT_VENC, NVALDOLAR / CVALDOLAR; table 43 is
//                 closed again. False when it cannot be opened.
//   write_setting(tables, field, value)  one text field of the settings
//                 record (VER_ATUAL, PROCESSA, PROGCOMP), under a lock
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/date.hpp"
#include "shell/globals.hpp"
#include "storage/tables.hpp"

namespace tx::shell {

inline constexpr int kConfigTable = 42;
inline constexpr int kSettingsTable = 43;
inline constexpr int kFolderListTable = 50;

bool CONFIGURA(storage::Tables& tables, const Globals& g, Date today);
void load_config(const storage::WorkArea& area, Globals& g);
bool write_config(storage::Tables& tables, const Globals& g, const std::vector<std::string_view>& names);

extern const std::vector<std::string_view> kExitFields;
extern const std::vector<std::string_view> kSelectionFields;
extern const std::vector<std::string_view> kPrintCountFields;

bool load_settings(storage::Tables& tables, Globals& g);
bool write_setting(storage::Tables& tables, std::string_view field, std::string_view value);

}  // namespace tx::shell
