// ItemEditor: the one engine that edits every item list and every matrix.
//
// It owns the state the lists' checks and the callers read (OPC, EDI_CAMPO,
// PONTEIRO, PONTVERT, LAPPEND, CLIPTEX, ULTTECLA, TECLAMUDA, LSAI,
// LASTECLA, SO_MOS), the registry of named checks, actions and accessors,
// and the catalogue of lists by name. A list is run from its descriptor:
//
//   EDITA(list, extra)   positions the list's work area (filter, order,
//                        deleted records hidden), opens its window and runs
//                        the grid until a leaving key (Tab, Shift-Tab, Esc
//                        and the list's leave_keys) or LSAI; then ULTTECLA
//                        holds that key and TECLAMUDA is true. The area's
//                        filter, order and deleted switch are put back.
//   MOSTRA(list)         the window and the grid only (no positioning).
//   CL5BROWSE(list, r)   the grid over the table inside rectangle r.
//   MOSBROW(m, d)        the matrix editor in its window; MBROWSE(m, d, r)
//                        the grid over the matrix.
//   ADIC_REG()           appends a record to the running list with its
//                        defaults; append mode ends.
//   F_TROCA(value)       stores the value into the field of the current
//                        column under a record lock (and the taxpayer's CPF
//                        when the list stamps it); on the append row the
//                        record is created first.
//
// Lists nest: a key of one list may open another (a register, the monthly
// window); each run keeps its own position, column and append state, and
// OPC, EDI_CAMPO, PONTEIRO, PONTVERT and LAPPEND are put back when the
// inner one ends. CLIPTEX lives as long as the editor.
//
// Work areas come from the `areas` function given at construction (table
// number -> area; the program passes its Tables). Record locks go through
// lock_record (default: one try, then the "not stored" message).
#pragma once

#include <functional>
#include <map>
#include <string>

#include "items/edit_context.hpp"
#include "items/list_descriptor.hpp"
#include "items/matrix.hpp"
#include "screen/screen.hpp"
#include "storage/workarea.hpp"

namespace tx::items {

class ListRun;

class ItemEditor {
 public:
  using AreaOf = std::function<storage::WorkArea*(int number)>;
  ItemEditor(screen::Screen& screen, AreaOf areas);
  ItemEditor(const ItemEditor&) = delete;
  ItemEditor& operator=(const ItemEditor&) = delete;

  screen::Screen& screen() { return *screen_; }
  storage::WorkArea* area(int number) const { return areas_ ? areas_(number) : nullptr; }

  Registry registry;
  std::map<std::string, ListDescriptor> catalogue;
  std::function<bool(storage::WorkArea&)> lock_record;
  std::function<Decimal(int month)> dollar_rate;  // US dollar rate of a month (0: unknown)
  std::string work_folder;                        // folder of the temporary sort orders
  std::string terminal = "00";
  std::string CPF;                                // the open taxpayer
  bool TEMRURAL = false;

  // Editor state.
  int OPC = 0;
  std::string EDI_CAMPO;
  int PONTEIRO = 0;
  int PONTVERT = 0;
  bool LAPPEND = false;
  GetValue CLIPTEX = std::string();
  int ULTTECLA = 0;
  bool TECLAMUDA = false;
  bool LSAI = false;
  int LASTECLA = 0;
  bool SO_MOS = true;   // false: EDITA only draws the list and returns

  std::string EDITA(const ListDescriptor& list, int extra = 0);
  std::string EDITA(const std::string& name, int extra = 0);
  void MOSTRA(const ListDescriptor& list);
  void CL5BROWSE(const ListDescriptor& list, screen::Rect grid);
  void MOSBROW(Matrix& m, const MatrixDescriptor& d);
  void MBROWSE(Matrix& m, const MatrixDescriptor& d, screen::Rect grid);

  bool ADIC_REG();
  bool F_TROCA(const GetValue& value);
  bool F_TROCA(const std::string& field, const GetValue& value);

  // The run standing on top (null when no list runs).
  ListRun* running() const { return run_; }
  // The list below the running one (the list a register was opened over).
  ListRun* below() const;

  // Locks the current record of `area` (through lock_record) and says so.
  bool lock(storage::WorkArea& area);

 private:
  friend class ListRun;
  screen::Screen* screen_;
  AreaOf areas_;
  ListRun* run_ = nullptr;
};

}  // namespace tx::items
