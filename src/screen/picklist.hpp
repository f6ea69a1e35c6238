// Pick lists: while a field is typed, a list of the values that fit it
// (taxpayers, occupations, banks, countries, codes ...) from which Enter
// takes one into the field and its companions.
//
// Definitions are data (picklist_defs.cpp): one PickDef per group of field
// names, read by the one routine below. A definition names the work area it
// shows, the columns (an xBase expression over the record, a picture, a
// heading, a width and optionally what its footing counts), the values Enter
// writes (target name <- expression), the starting order, a filter, which
// orders a typed digit or letter searches, and whether the taxpayer keys
// (F6 details, F11 pending notes) apply.
//
//   find_pick_list(field, mode)  the definition for a field name ("M->CPF",
//                "I7_5" ...; case ignored), nullptr when the field has none;
//                mode 1 picks the plain taxpayer list of the taxpayer choice
//
// PickList runs them for one screen and one set of tables:
//   QUALHLP / TEMHLP   the field the list is for; unless TEMHLP is set,
//                GERAL takes it from the form (`editor`'s active field) or
//                from the screen's current_field hook
//   GERAL(mode)  opens the list of QUALHLP and applies the choice; nothing
//                happens for a field without a list, or while a list is
//                already open (no list opens from inside a list)
//   GERAL2()     the list of a preset QUALHLP; the chosen code in COD
//   GERAL3()     the folder list (origin / destination folder fields)
//   GERAL4() GERAL5()  the taxpayer list in status / name order
//   HBROWSE(def, top, left, bottom, right)  the grid and its keys:
//                Enter chooses; Esc and Ctrl-Enter leave without choosing;
//                arrows, PgUp/PgDn, Ctrl-PgUp/Ctrl-PgDn (first / last),
//                Home/End, Ctrl-Left/Right, Ctrl-Home/End move; F1 the
//                second order, F2 the first, F3 the third; F6 MOS_DETAL,
//                F11 MOS_PEND (taxpayer lists); a typed character jumps to
//                the first entry starting with it (digits and letters each
//                by the order the definition names, or by a scan of the
//                first column when there is no such index), the nearest one
//                when none starts with it
//   ENTER(result)  writes the chosen values: the one for the field being
//                edited into the form (FieldEditor::set_active_value), every
//                other one through hooks.put; then hooks.redisplay
//   MOS_DETAL()  the taxpayer under the cursor in a dialog "Detalhes" until
//                Esc (the access password masked)
//   MOS_PEND()   his pending notes: the terminal's working copy of table 11
//                emptied and filled with his records, then hooks.pending
//                shows them; "Terminal com esse nro aberto em outro local"
//                when table 11 cannot be opened
//
// A list opens on the shown area's current record (the top when the table
// was opened for it, is filtered for it, or stands at its end). Tables
// opened only for a list are closed when it closes; the area selected
// before is selected again; the shown area's order and filter come back as
// they were, and so does its record unless one was chosen.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "screen/browse.hpp"
#include "screen/field_editor.hpp"
#include "screen/screen.hpp"
#include "storage/tables.hpp"

namespace tx::screen {

// What a column's footing shows (taxpayer list).
enum class PickFooting {
  None,
  Declarations,   // n + " Declaraçöes"
  SimplePercent,  // % of simplified + "% Simples"
  CompletePercent,// % of complete + "% Compl"
  Rural,          // number with rural activity
  Simple,         // number of simplified ones
  SimpleComplete, // "simp. " + number of complete ones + " comp."
};

struct PickColumn {
  std::string heading;
  std::string expr;           // over the shown record; "STATUSNAME" looks the status up in table 66
  std::string picture;
  int width = 0;              // 0: from the value
  PickFooting footing = PickFooting::None;
};

struct PickPut {
  std::string target;         // "=" the field the list is for
  std::string expr;
};

struct PickDef {
  std::string_view name;
  std::vector<std::string_view> fields;
  int mode = 0;               // 1: only for GERAL(1); 0: for any other mode
  int table = 0;              // work area shown
  std::vector<PickColumn> columns;
  std::vector<PickPut> puts;
  int order = 1;              // order while shown (0 natural)
  std::string filter;
  int digit_order = -1;       // typed digits search this order (0: scan; -1: no jump)
  int letter_order = -1;      // typed letters, upper case
  bool taxpayer = false;      // F6 / F11
  Rect rect{8, 6, 21, 70};
};

const std::vector<PickDef>& pick_definitions();
const PickDef* find_pick_list(std::string_view field, int mode = 0);

struct PickResult {
  bool chosen = false;
  std::vector<std::pair<std::string, GetValue>> values;  // target, value
};

// The footing texts of the taxpayer list over every visible record of
// `area` (a register, table 09 layout), by footing kind.
std::string taxpayer_footing(storage::WorkArea& area, PickFooting kind);

struct PickHooks {
  std::function<void(std::string_view target, const GetValue& value)> put;
  std::function<void()> redisplay;
  // Shows the pending notes in the working copy (area 31); empty: a plain
  // read-only list of them.
  std::function<void(storage::Tables&)> pending;
};

class PickList {
 public:
  PickList(Screen& screen, storage::Tables& tables) : screen_(screen), tables_(tables) {}

  std::string QUALHLP;
  bool TEMHLP = false;
  std::string COD;
  FieldEditor* editor = nullptr;
  PickHooks hooks;

  PickResult GERAL(int mode = 0);
  PickResult GERAL2();
  PickResult GERAL3();
  PickResult GERAL4();
  PickResult GERAL5();
  // Runs a given definition for QUALHLP and applies the choice.
  PickResult show(const PickDef& def);
  PickResult HBROWSE(const PickDef& def, int top, int left, int bottom, int right);
  void ENTER(const PickResult& result);
  void MOS_DETAL();
  bool MOS_PEND();

  bool open() const { return PROG; }

 private:
  PickResult run(const PickDef& def, int order_override = -1);
  void jump(const PickDef& def, TBrowse& grid, storage::WorkArea& area, char typed,
            const std::function<std::string()>& first_text);
  PickResult choose(const PickDef& def, storage::WorkArea& area);
  std::string field_name() const;

  Screen& screen_;
  storage::Tables& tables_;
  bool PROG = false;
};

}  // namespace tx::screen
