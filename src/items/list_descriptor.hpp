// ListDescriptor: one list of the item editor, described as data.
//
// A list names its rows (a work area, with the filter and order it is shown
// in), its columns (heading, the field an edit writes, what the cell shows,
// picture, the checks run before and after an edit, by name), the window,
// the frozen and start columns, where Enter wraps (ult_pos), the hint line,
// the fields a new record gets, and the capabilities the editor offers on
// it (append row, insert styles, n lines, delete, renumbering, sort keys,
// cell and row clipboard, registers, the monthly-values window, the keys
// that leave the editor or are ignored, extra keys bound to named actions).
// The one engine (list_editor.hpp) reads a descriptor; nothing in the engine
// depends on which list it is showing.
//
// Checks and actions are callables kept in a registry by name
// (edit_context.hpp), so a descriptor stays plain data that can be copied,
// compared and written as a table.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "screen/get_field.hpp"
#include "screen/panel.hpp"

namespace tx::items {

using screen::GetValue;

// The monthly-values window of a column (Alt-U).
enum class MonthlyKind {
  None,
  Fields,  // prefilled from the twelve fields <prefix>01..<prefix>12, written back
  Empty,   // opened empty; only its total is written into the cell
};

struct ColumnDef {
  std::string heading{};
  std::string field{};          // the field an edit writes; empty: the column cannot be edited
  std::string shown{};          // field shown when it is not `field` (empty: `field`)
  int shown_width = 0;        // only the first n bytes are shown (0: all)
  std::string expression{};     // name of a display accessor (registry), instead of a field
  std::string picture{};
  std::string when{};           // check before the input opens (name; empty: always)
  std::string valid{};          // check when the cell is left (name; empty: store)
  std::string footing{};
  MonthlyKind monthly = MonthlyKind::None;
  std::string monthly_prefix{}; // MonthlyKind::Fields
  bool monthly_on_enter = false;  // Enter opens the monthly window too
  std::string sort_key{};       // Alt-O: order expression on this column (empty: no sort)
  bool item_number = false;   // Alt-R renumbers items (+1) from this column
  bool line_number = false;   // Alt-R renumbers lines (+10); inserts number this column
  bool row_text = false;      // Alt-Up copies this cell into the row clipboard
  bool paste_target = false;  // Alt-Down pastes the clipboard's lines here
};

enum class InsertStyle {
  None,
  After,   // "Insere uma linha após esse Item?": numbered line after the current one
  Before,  // "Insere uma linha ANTES desse Item?": the rows from here move one down
};

struct FieldValue {
  std::string field;
  GetValue value;
};

// A register of repeated data linked to a list.
struct RegisterSend {  // Ctrl-Enter in the list: the row goes to the register
  int area = 0;
  std::string key_field;                                   // register field looked up
  std::vector<std::pair<std::string, std::string>> fields; // list field -> register field
};
struct RegisterOpen {  // a key in the list opens the register over it
  int key = 0;
  std::string list;    // name of the register's list in the catalogue
};
struct RegisterTake {  // Ctrl-Enter in the register: the row goes into the list below
  std::vector<std::pair<std::string, std::string>> fields; // register field -> list field
  std::string line_field;  // list field that gets the line of the row under the cursor + 1
};

struct Capabilities {
  bool append = true;             // the append row after the last record
  InsertStyle insert = InsertStyle::None;
  bool insert_lines = false;      // Alt-L: n numbered lines after the current one
  bool remove = true;             // Del with "Confirma a Exclusão dessa linha?"
  std::string remove_action;      // a named action that replaces the plain delete
  bool renumber = false;          // Alt-R
  bool cell_clipboard = true;     // Alt-M copy, Alt-C paste
  bool row_clipboard = false;     // Alt-Up, Alt-End, Alt-Down
  std::optional<RegisterSend> send;
  std::optional<RegisterOpen> open_register;
  std::optional<RegisterTake> take;
  std::vector<int> leave_keys;    // besides Tab, Shift-Tab and Esc
  std::map<int, std::string> key_actions;  // key -> named action
  bool refresh_all_after_edit = false;     // the checks change other rows
};

struct ListDescriptor {
  int code = 0;                   // the list code (OPC while it runs)
  std::string name;               // catalogue name
  int area = 0;                   // work area of the rows
  std::string filter;             // expression the rows satisfy (empty: all)
  int order = -1;                 // order shown (-1: as the area is)
  screen::Rect window{1, 0, 16, 78};
  int frame = 0;                  // 0 inside the screen; 1, 2, 6 own window
  std::string title;
  std::string hint;               // status line while the list runs
  int frozen = 0;
  int start_column = 1;
  int ult_pos = 999;              // Enter after this column wraps to the next row
  bool stamp_cpf = false;         // stores also write the open taxpayer's CPF
  std::vector<ColumnDef> columns;
  std::vector<FieldValue> defaults;        // fields of a new record (ADIC_REG)
  bool defaults_cpf = false;               // a new record gets the taxpayer's CPF
  std::string recno_line_field;            // a new record's line, when 0, is its record number x 10
  std::vector<FieldValue> paste_defaults;  // fields of rows created by Alt-Down
  std::vector<std::string> keep_on_insert; // fields the freed row keeps (insert before)
  Capabilities caps;
};

}  // namespace tx::items
