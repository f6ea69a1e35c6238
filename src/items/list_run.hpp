// ListRun: one running item list - the grid over its work area, the
// cursor, the append row and every key of the list editor.
//
// A run is created by ItemEditor::CL5BROWSE and lives on the stack for as
// long as the list is on screen; a list opened from it (a register, the
// monthly window) is a new run above it. The run puts the editor's state
// (OPC, EDI_CAMPO, PONTEIRO, PONTVERT, LAPPEND) back as it found it when it
// ends, so nested lists never see each other's cursor.
//
// The append row: the empty row after the last record. The grid's table
// skip may stand on it only while `appending()` is true; an edit accepted
// there creates the record (ADIC_REG) before storing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "items/item_editor.hpp"
#include "screen/browse.hpp"

namespace tx::items {

class ListRun {
 public:
  ListRun(ItemEditor& editor, const ListDescriptor& list, storage::WorkArea& area, screen::Rect grid);
  ~ListRun();
  ListRun(const ListRun&) = delete;
  ListRun& operator=(const ListRun&) = delete;

  void run();        // the key loop, until a leaving key or LSAI
  void show_only();  // draws the list with its current row and returns

  const ListDescriptor& list() const { return list_; }
  storage::WorkArea& area() { return area_; }
  screen::TBrowse& grid() { return grid_; }
  ListRun* parent() const { return parent_; }
  bool appending() const { return appending_; }
  int column_number() const { return grid_.ColPos(); }
  const ColumnDef& column() const;

  bool add_record();                                           // ADIC_REG
  bool store(const std::string& field, const GetValue& v);     // F_TROCA
  bool store(const GetValue& v) { return store(column().field, v); }

 private:
  // Keys and moves.
  bool handle(int key);            // false: the list ends
  void leave(int key);
  void click(const platform::Event& ev);
  void move_down();
  void move_up();
  void leave_append();
  void keep_out_of_frozen();
  void settle();
  void sync_state();
  void refresh_after_store();
  void follow(std::uint32_t recno, int row);

  // Cell edits.
  void edit_cell(int first_key);
  int DOGET(int first_key);
  void EXITKEY(int key);

  // Rows (list_run_rows.cpp).
  bool confirm(const std::string& question);
  void message(const std::string& text);
  std::vector<std::uint32_t> following();  // visible records after the current one
  const ColumnDef* flagged(bool ColumnDef::*flag) const;
  void insert();
  void insert_after();
  void insert_before();
  void insert_lines();
  void remove();
  void renumber();
  void sort();
  void copy_cell();
  void paste_cell();
  void clip_append();
  void clip_flush();
  void paste_rows();
  void send_to_register();
  void open_register();
  void take_from_register();
  void monthly();
  bool run_action(const std::string& name, int key);

  ItemEditor& ed_;
  const ListDescriptor& list_;
  storage::WorkArea& area_;
  screen::TBrowse grid_;
  ListRun* parent_;
  bool appending_ = false;
  bool done_ = false;
  // The editor's state as this run found it.
  int saved_opc_, saved_ponteiro_, saved_pontvert_;
  std::string saved_campo_;
  bool saved_lappend_;
};

}  // namespace tx::items
