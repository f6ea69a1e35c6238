// WorkArea: one open table with its index orders, filter and position - the
// unit the whole program selects by table number and reads by field name.
//
// Interface
//   open(path, mode, alias)           the table file; shared or exclusive
//   add_order(index path, key text)   opens (or builds) one index on the table;
//                                     the first added controls the order
//   set_order(k)                      0 natural order, 1..3 the indexes
//   go_top go_bottom skip(n) go(recno) seek(key, soft)
//   eof() bof() found() recno() reccount()
//   set_filter(text) clear_filter()   an expression records must satisfy
//   get_* / replace_*                 fields by name (or index); replacing
//                                     keeps every index up to date
//   append_blank() delete_record() recall()
//   commit()                          the current record and the header on disk
//   pack() zap()                      exclusive only; every index is rebuilt
//   copy_to(path)                     structure and visible records to a new table
//   close()
//
// Hidden records: deleted ones while the owner hides them (SET DELETED), and
// those the filter refuses, are skipped by every movement; go(recno) still
// reaches them, as in xBase.
//
// Index maintenance: the keys a record had when it became current are taken
// just before its first change; when the record is written (on any movement,
// commit or close) each order whose key changed gets the old entry removed
// and the new one inserted; an appended record is inserted. Deleted records
// stay in the indexes.
//
// Index freshness: each index file carries a stamp (the table's record count
// and the modification time of the table file when the index was last made
// to agree with it). Whoever closes a table it changed writes the stamp; an
// index whose stamp disagrees is rebuilt when this terminal holds the table
// alone (a crash or another program changed the table behind the index). A
// missing or damaged index, or one built on another expression, is rebuilt
// always.
//
// Errors never throw out of this interface: operations return a DbfStatus
// whose message is the operator's text, and an operation on a closed area is
// an error ("Área de trabalho não está em uso") instead of a crash.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "storage/cdx_index.hpp"
#include "storage/dbf_status.hpp"
#include "storage/dbf_table.hpp"
#include "storage/expr.hpp"

namespace tx::storage {

struct IndexOrder {
  std::string path;
  Expr expr;
  std::optional<CdxIndex> index;  // empty only while being rebuilt
};

class WorkArea {
 public:
  explicit WorkArea(int number = 0) : number_(number) {}
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;
  ~WorkArea();

  int number() const { return number_; }
  bool used() const { return table_.is_open(); }
  const std::string& alias() const { return alias_; }
  DbfTable& table() { return table_; }
  const DbfTable& table() const { return table_; }
  bool exclusive() const { return table_.exclusive(); }

  DbfStatus open(const std::string& path, DbfTable::Mode mode, std::string alias);
  DbfStatus close();

  // Index orders. `rebuild` forces a new index file even when one exists.
  DbfStatus add_order(const std::string& index_path, std::string_view key, bool rebuild = false);
  int order_count() const { return static_cast<int>(orders_.size()); }
  int order() const { return order_; }
  DbfStatus set_order(int k);
  const IndexOrder* order_at(int k) const;  // 1-based; nullptr outside
  DbfStatus rebuild_order(int k);
  void close_orders();

  // Whether deleted records are hidden (the program hides them by default).
  void set_hide_deleted(bool hide) { hide_deleted_ = hide; }
  bool hide_deleted() const { return hide_deleted_; }
  DbfStatus set_filter(std::string_view text);
  void clear_filter() { filter_.reset(); filter_text_.clear(); }
  const std::string& filter_text() const { return filter_text_; }

  // Movement.
  DbfStatus go_top() { return go_end(true); }
  DbfStatus go_bottom() { return go_end(false); }
  DbfStatus skip(long n = 1);
  DbfStatus go(std::uint32_t recno);
  // Seek on the controlling order: the key may be shorter than the index key
  // (it then matches as a prefix). Not found: end of file, or with `soft`
  // the first record whose key comes after.
  DbfStatus seek(std::string_view key, bool soft = false);
  bool eof() const { return !used() || table_.eof(); }
  bool bof() const { return bof_; }
  bool found() const { return found_; }
  std::uint32_t recno() const;
  std::uint32_t reccount();
  bool deleted() const { return used() && table_.deleted(); }

  // Fields. Getters read the current record (blank at end of file).
  std::string_view get_text(std::string_view field) const { return table_.get_text(field); }
  Decimal get_number(std::string_view field) const { return table_.get_number(field); }
  Date get_date(std::string_view field) const { return table_.get_date(field); }
  bool get_logical(std::string_view field) const { return table_.get_logical(field); }
  DbfStatus get_memo(std::string_view field, std::string& out) const { return table_.get_memo(field, out); }
  std::string trimmed(std::string_view field) const;

  DbfStatus replace_text(std::string_view field, std::string_view v);
  DbfStatus replace_number(std::string_view field, Decimal v);
  DbfStatus replace_date(std::string_view field, Date v);
  DbfStatus replace_logical(std::string_view field, bool v);
  DbfStatus replace_memo(std::string_view field, std::string_view v);
  DbfStatus replace_raw(int field_index, std::string_view bytes);

  DbfStatus append_blank();
  DbfStatus delete_record();
  DbfStatus recall();
  DbfStatus commit();
  DbfStatus pack();
  DbfStatus zap();
  // A new table at `path` with this one's fields and its visible records
  // (those the filter and the deleted switch let through), in the current
  // order. The position here is kept.
  DbfStatus copy_to(const std::string& path);

  // Locks (tries; the waiting belongs to the caller).
  DbfStatus lock_record() { return need_open() ? table_.lock_record(recno()) : not_open(); }
  DbfStatus lock_file() { return need_open() ? table_.lock_file() : not_open(); }
  void unlock() { if (used()) table_.unlock_all(); }

  // Key of the current record in order k (1-based).
  std::string key_of(int k) const;

 private:
  bool need_open() const { return used(); }
  static DbfStatus not_open();
  bool hidden() const;
  DbfStatus sync();  // writes the current record and keeps the indexes
  DbfStatus before_change();
  DbfStatus go_end(bool top);
  DbfStatus step(int dir);    // one record in the current order, hidden or not
  DbfStatus position_index();  // puts the controlling index on the current record
  DbfStatus build_index(IndexOrder& o);
  DbfStatus rebuild_orders();
  void write_stamps();
  std::uint64_t table_mtime() const;
  template <class Fn>
  static DbfStatus guard(const char* what, Fn&& fn);

  int number_;
  std::string alias_;
  DbfTable table_;
  std::vector<std::unique_ptr<IndexOrder>> orders_;
  int order_ = 0;
  bool hide_deleted_ = true;
  std::optional<Expr> filter_;
  std::string filter_text_;
  bool bof_ = false;
  bool found_ = false;

  bool dirty_ = false;        // the current record was changed through us
  bool is_new_ = false;       // appended, not yet in the indexes
  bool changed_since_open_ = false;
  std::vector<std::string> old_keys_;
};

}  // namespace tx::storage
