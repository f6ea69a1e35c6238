// One table file (dBASE III / FoxPro 2.x .DBF, with its .FPT memo file when
// it has memo fields), opened by one terminal, shared or exclusive.
//
// Interface
//   DbfTable::create(path, fields)   a new empty table (and memo file): both
//                                    are written beside and renamed, so a
//                                    half-written header is never seen; a
//                                    file already under that name is replaced
//   open(path, Shared|Exclusive)     takes the open lock: exclusive is refused
//                                    while any other terminal has the file
//                                    open, shared while one holds it
//                                    exclusive ("Arquivo em uso por outro
//                                    terminal", code Busy)
//   close()                          writes what is pending, drops every lock
//   record_count()                   shared: read again from the file, so
//                                    appends by other terminals are seen
//   go(n), go_eof(), recno(), eof()  the current record (1-based); moving
//                                    first writes a changed current record
//   RecordView over the current record (raw bytes, fields, names)
//   get_* / set_* by field index or name (names without regard to case):
//     text     blank padded to the width (longer text is cut)
//     number   right aligned, rounded half away from zero to the decimals; a
//              value too wide for the field is refused (never asterisks)
//     date     yyyymmdd, blank for the empty date
//     logical  "T"/"F"; blank reads as false
//     memo     text kept in the memo file, block number in the record
//   deleted() / set_deleted(b)       the deletion mark; recall() clears it
//   flush()                          writes the current record if changed
//   reread()                         drops unwritten changes and reads the
//                                    current record again from the file
//   commit()                         flush and bring the header (count,
//                                    date) up to date on disk
//   append_blank()                   a new blank current record. Shared: under
//                                    a short header lock, so two terminals
//                                    never take the same number; the new
//                                    record stays locked for its writer
//   lock_record(n) lock_file() unlock_record(n) unlock_all()
//                                    tries only (Busy when held elsewhere);
//                                    in exclusive mode every lock is granted
//   pack()  zap()                    exclusive only; pack writes the kept
//                                    records to a new file beside, flushes it
//                                    and renames it over the table
//   copy_structure(path)             a new empty table with the same fields
//
// Invariants: opening never loads the table whole; records are read with
// pread on demand. In shared mode every go() reads the record from the file
// (changes by other terminals are seen); in exclusive mode a small read-ahead
// window serves sequential moves. The record count on disk follows every
// written append at once; the last-update date is stamped on commit/close
// (exclusive) or with the first change (shared).
// go(n) outside 1..record_count() positions at the end of file (blank record,
// recno() == count + 1) and reports it as Invalid.
// A changed record in shared mode is written only while this terminal holds
// its record lock or the file lock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "storage/dbf_format.hpp"
#include "storage/dbf_status.hpp"
#include "storage/field.hpp"
#include "storage/memo_file.hpp"

namespace tx::storage {

class DbfTable final : public RecordView {
 public:
  enum class Mode { Shared, Exclusive };

  DbfTable() = default;
  ~DbfTable() override;
  DbfTable(const DbfTable&) = delete;
  DbfTable& operator=(const DbfTable&) = delete;

  // `today` is the last-update date written to the header (empty: the
  // machine's date).
  static DbfStatus create(const std::string& path, const std::vector<FieldDef>& fields,
                          Date today = {});
  // The memo file that belongs to a table path ("X.DBF" -> "X.FPT", in the
  // case of the table's extension).
  static std::string memo_path_for(const std::string& table_path);

  DbfStatus open(const std::string& path, Mode mode);
  DbfStatus close();
  bool is_open() const { return fd_ >= 0; }
  bool exclusive() const { return mode_ == Mode::Exclusive; }
  bool read_only() const { return read_only_; }
  const std::string& path() const { return path_; }
  // The date written to the header by the next change.
  void set_today(Date d) { today_ = d; }

  // Header as read at open (shared mode: the count there may lag; use
  // record_count()).
  const DbfHeader& header() const { return header_; }
  std::uint32_t record_count();
  std::uint64_t file_size() const;  // bytes on disk now

  DbfStatus go(std::uint32_t recno);
  DbfStatus go_eof();
  std::uint32_t recno() const { return recno_; }
  bool eof() const { return eof_; }
  // The current record's bytes (deletion flag first), record_len long.
  std::string_view record_bytes() const { return {rec_.data(), header_.record_len}; }

  // RecordView
  int field_count() const override { return static_cast<int>(header_.fields.size()); }
  int field_index(std::string_view name) const override;
  const FieldDef& field(int i) const override { return header_.fields[static_cast<std::size_t>(i)]; }
  std::string_view raw(int i) const override {
    return {rec_.data() + header_.offsets[static_cast<std::size_t>(i)],
            static_cast<std::size_t>(header_.fields[static_cast<std::size_t>(i)].len)};
  }

  // Getters: an unknown name reads as the empty value of its kind.
  std::string_view get_text(int i) const { return raw(i); }
  std::string_view get_text(std::string_view name) const;
  Decimal get_number(int i) const;
  Decimal get_number(std::string_view name) const;
  Date get_date(int i) const;
  Date get_date(std::string_view name) const;
  bool get_logical(int i) const;
  bool get_logical(std::string_view name) const;
  DbfStatus get_memo(int i, std::string& out) const;
  DbfStatus get_memo(std::string_view name, std::string& out) const;

  DbfStatus set_text(int i, std::string_view text);
  DbfStatus set_text(std::string_view name, std::string_view text);
  DbfStatus set_number(int i, Decimal v);
  DbfStatus set_number(std::string_view name, Decimal v);
  DbfStatus set_date(int i, Date d);
  DbfStatus set_date(std::string_view name, Date d);
  DbfStatus set_logical(int i, bool v);
  DbfStatus set_logical(std::string_view name, bool v);
  DbfStatus set_memo(int i, std::string_view text);
  DbfStatus set_memo(std::string_view name, std::string_view text);
  // The stored bytes of any field type (cut or blank padded to the width),
  // e.g. to carry a field between two layouts.
  DbfStatus set_raw(int i, std::string_view bytes);

  bool deleted() const { return rec_[0] == '*'; }
  DbfStatus set_deleted(bool del);
  DbfStatus recall() { return set_deleted(false); }

  DbfStatus flush();
  DbfStatus reread();
  DbfStatus commit();
  DbfStatus append_blank();

  DbfStatus lock_record(std::uint32_t recno);
  DbfStatus lock_file();
  void unlock_record(std::uint32_t recno);
  void unlock_all();
  bool record_locked(std::uint32_t recno) const;
  bool file_locked() const { return exclusive() || file_locked_; }

  DbfStatus pack();
  DbfStatus zap();
  DbfStatus copy_structure(const std::string& path) const;

 private:
  DbfStatus open_once(const std::string& path, Mode mode, bool& replaced);
  DbfStatus load_header();
  void reset_state();
  void map_file();
  void unmap_file();
  void build_name_index();
  DbfStatus read_record(std::uint32_t recno);
  DbfStatus writable_field(int i, char type) const;
  DbfStatus unknown_field(std::string_view name) const;
  DbfStatus write_header_prefix();
  Date update_date() const;
  DbfStatus io_error(const char* what) const;
  void blank_record();

  int fd_ = -1;
  Mode mode_ = Mode::Shared;
  bool read_only_ = false;
  std::string path_;
  Date today_;
  DbfHeader header_;
  MemoFile memo_;
  std::vector<std::pair<std::string, int>> names_;  // upper-case name, index; sorted

  std::uint32_t count_ = 0;
  std::uint32_t recno_ = 0;
  bool eof_ = true;
  std::string rec_;          // record_len bytes + the end-of-file marker
  bool dirty_ = false;
  bool pending_append_ = false;  // exclusive: appended record not yet on disk
  bool header_dirty_ = false;    // exclusive: count/date not yet on disk
  bool date_written_ = false;    // shared: date stamped once per open

  // Exclusive read-ahead: records [win_first_, win_first_ + win_n_).
  std::string window_;
  std::uint32_t win_first_ = 0;
  std::uint32_t win_n_ = 0;
  std::uint32_t last_read_ = 0;

  // Exclusive opens of tables up to a size: a read-only mapping of the file.
  const char* map_ = nullptr;
  std::uint64_t map_len_ = 0;

  bool file_locked_ = false;
  std::vector<std::uint32_t> locked_;  // record locks held (shared mode)
};

}  // namespace tx::storage
