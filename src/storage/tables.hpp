// Tables: the program's work areas 1-75 and the routines that open, create,
// upgrade, lock and close the tables of the catalogue.
//
// Interface (names as the rest of the program calls them)
//   places                      ARQDEF (program folder), LOCARQ (data folder),
//                               LOCTRAB (working folder), each with a trailing
//                               "\"; NUSU the terminal "00".."99"
//   area(n) / SELECT(n) / current()   work area n; the selected one
//   ABERTURA(n, exclusive)      opens table n as the catalogue says; 0 is the
//                               start-up verification of the shared tables
//   ABREARQ(area, exclusive, file, key1, key2, file2, key3, file3)
//                               generic opening with creation and indexes
//   NETUSE(file, exclusive, seconds)  opens in the current area; an
//                               exclusive opening is one attempt, a shared
//                               one held exclusively elsewhere is tried again
//                               for up to `seconds` (another terminal's
//                               check of the indexes takes the table alone
//                               for a moment), Esc cancels
//   REC_LOCK(s) FIL_LOCK(s) ADD_REC(s)  waits of 0.5 s steps, Esc cancels;
//                               s = 0 for FIL_LOCK / ADD_REC: no time limit
//   CRIA(n, file)               a new empty table with the layout of n
//   CORRECAO(0) / CORRIGE(nn)   structure upgrade of tables 01 02 07 09 of
//                               the data folder LOCARQ
//   FECHA_PROV() FECHA_TODO() FECHA_TUDO()  close by ranges / everything
//
// Messages go to the StorageHost (status line, progress box, OK box). All
// routines return false on failure after telling the operator; none throws.
//
// Paths are program paths (drive letters, "\"), turned into Linux paths only
// when a file is touched; file names are found without regard to case and
// created in upper case.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/host.hpp"
#include "storage/workarea.hpp"

namespace tx::storage {

struct Places {
  std::string ARQDEF;   // program folder, trailing "\"
  std::string LOCARQ;   // current data folder, trailing "\"
  std::string LOCTRAB;  // working folder, trailing "\"
  std::string NUSU = "00";
};

inline constexpr int kAreas = 75;

class Tables {
 public:
  explicit Tables(StorageHost& host);
  Tables(const Tables&) = delete;
  Tables& operator=(const Tables&) = delete;
  ~Tables();

  Places places;
  bool MOS_MENS = false;   // show progress while checking and creating tables
  bool REFAZ_IND = false;  // rebuild the indexes at the next openings

  StorageHost& host() { return host_; }
  WorkArea& area(int n);  // 1..75; anything else gives a closed scratch area
  WorkArea& current() { return area(selected_); }
  int selected() const { return selected_; }
  void SELECT(int n) { if (n >= 1 && n <= kAreas) selected_ = n; }
  WorkArea* by_alias(std::string_view alias);
  // Hides or shows deleted records in every area (SET DELETED ON/OFF).
  void set_hide_deleted(bool hide);

  bool ABERTURA(int number, bool exclusive = false);
  bool ABREARQ(int area, bool exclusive, const std::string& file, const std::string& key1 = "",
               const std::string& key2 = "", const std::string& file2 = "",
               const std::string& key3 = "", const std::string& file3 = "");
  bool NETUSE(const std::string& file, bool exclusive, int seconds = 0);
  bool REC_LOCK(double seconds = 2);
  bool FIL_LOCK(double seconds = 0);
  bool ADD_REC(double seconds = 0);
  bool CRIA(int number, const std::string& file);
  void CORRECAO(int mode = 0);
  bool CORRIGE(const std::string& nn);
  void FECHA_PROV();
  void FECHA_TODO();
  void FECHA_TUDO();

  // The program path of table n's file without extension ("" when unknown).
  std::string table_path(int number) const;
  // The terminal number as a number; -1 when NUSU is not "00".."99".
  int terminal() const;
  // The reason of the last failure (also shown to the operator).
  const std::string& last_error() const { return last_error_; }
  // Reference tables found missing by the last ABERTURA(0).
  const std::vector<std::string>& missing_reference() const { return missing_reference_; }

 private:
  bool fail(std::string message, bool show);
  bool open_index(WorkArea& wa, const std::string& file, const std::string& key,
                  const std::string& index_file, bool first, bool exclusive);
  bool reopen(WorkArea& wa, const std::string& file, bool exclusive);
  void fill_defaults(int number, const std::string& file);
  bool upgrade_needed(WorkArea& wa, const std::vector<FieldDef>& layout) const;

  StorageHost& host_;
  std::array<std::unique_ptr<WorkArea>, kAreas + 1> areas_;
  WorkArea scratch_{0};
  int selected_ = 1;
  std::string last_error_;
  std::vector<std::string> missing_reference_;
};

// Program path helpers: upper case, trailing "\" stripped, base name.
std::string upper_path(std::string_view p);
std::string without_backslash(std::string_view p);
std::string base_name(std::string_view p);

}  // namespace tx::storage
