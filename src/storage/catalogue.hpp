// The table catalogue: for every table number, where its file lives, how it
// is opened, its index keys and index files, and whether it is created when
// missing.
//
// Interface
//   catalogue_entry(number)  -> the entry, or nullptr for a number the
//                               catalogue does not hold (0, 71, 76 ...)
//   catalogue_numbers()      -> every catalogued number, ascending
//   table_file_name(number, terminal)
//                            -> file base name (no folder, no extension):
//                               IMP0414; TMP_0407 for table 24 on terminal 7;
//                               DIRET07, DETALH07; PRINTS ...
//   index_file_name(number, k, terminal)
//                            -> base name of index k (0, 1, 2): the first is
//                               named like the table, the second like the
//                               table + "B" unless the catalogue names it, the
//                               third always has its given name
//   opens_exclusive(mode, requested) -> the open mode actually used
//
// Both name builders return an empty string for an unknown number, a missing
// index, or a terminal outside 0-99 (a terminal number reaches file names, so
// nothing else is let through).
//
// Invariants: entries are immutable; indexes.size() <= 3; a declaration table
// n (1-20) has its working copy at n + 20 with the same layout.
#pragma once

#include <string>
#include <vector>

namespace tx::storage {

enum class TableLocation {
  DataFolder,     // the current data folder of declarations
  WorkingFolder,  // the terminal's working folder
  ProgramFolder,  // installation-wide and per-terminal office tables
};

enum class OpenMode {
  Shared,
  Exclusive,
  Caller,               // the caller's exclusive flag decides
  CallerDefaultShared,  // the caller decides; shared when nothing is asked
};

struct IndexSpec {
  std::string key;   // key expression, as written in the catalogue
  std::string file;  // given index file base name; empty = the default name
};

struct CatalogueEntry {
  int number = 0;
  std::string name;           // file base name, or its prefix when per_terminal
  bool per_terminal = false;  // the terminal number (two digits) completes the name
  TableLocation location = TableLocation::ProgramFolder;
  OpenMode mode = OpenMode::Shared;
  std::vector<IndexSpec> indexes;
  bool created_when_missing = false;
  bool needs_memo = false;  // opened only when its memo file exists too
  int layout_number = 0;    // table whose layout it is created with; 0 = delivered table
};

const CatalogueEntry* catalogue_entry(int number);

std::vector<int> catalogue_numbers();

std::string table_file_name(int number, int terminal);

std::string index_file_name(int number, int k, int terminal);

bool opens_exclusive(OpenMode mode, bool requested);

}  // namespace tx::storage
