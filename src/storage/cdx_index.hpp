// A compact compound index file (CDX) holding exactly one tag.
//
// Interface
//   CdxIndex::create(path, expression, key_type, key_len)   empty index
//   CdxBuilder b(path, expression, key_type, key_len);       bulk build:
//     b.add(key, recno) ... ; b.finish(stamp)                 replaces path
//   CdxIndex::open(path)         checks the headers and the root; a damaged
//                                file throws CdxError "Índice danificado: ..."
//   insert(key, recno) / remove(key, recno)
//   seek(key, Exact | Prefix | Soft) -> {recno, found}; first/last/next/prev
//     return record numbers in key order, 0 past either end
//   count(), expression(), key_type(), key_len(), tag_name()
//   stamp() / set_stamp(records, updates)
//   verify(record_count, expected_key) -> every problem found
//   begin_update/end_update, begin_read/end_read   runs under one lock
//   flush(), close(), replaced()
//
// Callers check an opened index against its expression: key_len() must be
// min(width, 240) and key_type() its type (a logical expression is indexed
// as a one-byte character key); otherwise, or when the stamp disagrees with
// the table, the index is rebuilt with CdxBuilder.
//
// Keys: character keys are padded with blanks (or cut) to key_len bytes;
// number and date keys are the 8 bytes of cdx_key.hpp. The format limits a
// compact key to 240 bytes, so a wider character expression (a 512-wide
// DESCRICAO) is indexed on its first 240 bytes: callers give the full
// expression key and the index cuts it. Equal keys are kept in record-number
// order, so (key, recno) pairs are unique and strictly ordered.
//
// File layout: bytes 0-1023 the tag directory header, 1024 its one leaf
// (the tag name, the file's base name, pointing at the tag header), 1536 the
// tag header, from 2560 the tag's 512-byte nodes. The tag header's reserved
// bytes 16-39 hold this program's block: "TX14", the key type, the key count
// and the stamp (the table's record count and update counter when the index
// was last brought up to date); other readers ignore those bytes. Bytes 8-11
// count changes: every change bumps it.
//
// Sharing: in Shared mode each call takes an open-file-description lock on
// byte 0x7FFFFFF0 of the index file (a read lock for reads, a write lock for
// changes, held only for that call), rereads the header and drops its node
// cache when the change counter moved, so changes of other processes are
// seen. On a local disk a read whose nodes are all cached skips the lock
// and the reread when the change counter, read from a mapping of the header
// page, shows that nothing changed (the cache then holds the last committed
// state), and a change writes the header through that mapping; on network
// file systems every read takes the lock and the header is written with
// pwrite. The mapping assumes nobody truncates an open index in place
// (rebuilds replace the file). Exclusive mode skips the lock and the reread and keeps changed
// nodes in memory until flush(), close() or the cache needs room; a crash
// before that leaves the old stamp on disk, so the index is rebuilt. In
// Shared mode every change is written before the call returns, or at
// end_update() for a run of changes. The node cache is bounded. After an
// error that lost deferred changes every call reports the index as damaged.
// A rebuild replaces the file (temporary file + rename); other processes
// must reopen it (replaced() tells them).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/cdx_node.hpp"

namespace tx::storage {

class CdxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CdxStamp {
  std::uint32_t records = 0;
  std::uint64_t updates = 0;
  bool present = false;  // false on a file this program did not write
};

enum class SeekMode { Exact, Prefix, Soft };

struct SeekResult {
  std::uint32_t recno = 0;  // where the index stands; 0 past the end
  bool found = false;       // Exact: the key; Prefix/Soft: a key beginning with it
};

struct CdxVerifyResult {
  bool ok = true;
  std::uint64_t keys = 0;
  std::uint64_t problem_count = 0;
  std::vector<std::string> problems;  // the first ones, readable
};

enum class CdxSharing { Shared, Exclusive };

// An owned file descriptor.
struct CdxFd {
  int fd = -1;
  CdxFd() = default;
  explicit CdxFd(int f) : fd(f) {}
  CdxFd(CdxFd&& o) noexcept : fd(o.fd) { o.fd = -1; }
  CdxFd& operator=(CdxFd&& o) noexcept;
  CdxFd(const CdxFd&) = delete;
  CdxFd& operator=(const CdxFd&) = delete;
  ~CdxFd() { reset(); }
  void reset();
};

// An owned read-only mapping (the header page).
struct CdxMap {
  void* p = nullptr;
  std::size_t len = 0;
  CdxMap() = default;
  CdxMap(void* a, std::size_t n) : p(a), len(n) {}
  CdxMap(CdxMap&& o) noexcept : p(o.p), len(o.len) { o.p = nullptr; o.len = 0; }
  CdxMap& operator=(CdxMap&& o) noexcept;
  CdxMap(const CdxMap&) = delete;
  CdxMap& operator=(const CdxMap&) = delete;
  ~CdxMap() { reset(); }
  void reset();
};

class CdxIndex {
 public:
  static CdxIndex create(const std::string& path, std::string_view expression, char key_type,
                         int key_len, CdxSharing sharing = CdxSharing::Shared);
  // key_type_hint is used only for files without this program's block.
  static CdxIndex open(const std::string& path, CdxSharing sharing = CdxSharing::Shared,
                       char key_type_hint = 'C');

  CdxIndex(CdxIndex&&) noexcept;
  CdxIndex& operator=(CdxIndex&&) noexcept;
  CdxIndex(const CdxIndex&) = delete;
  CdxIndex& operator=(const CdxIndex&) = delete;
  ~CdxIndex();
  void close();  // writes what is still pending
  void flush();  // writes pending changes (Exclusive mode, or inside an update)

  // A run of changes as one: in Shared mode the write lock is held from
  // begin_update to end_update and the nodes are written once at the end.
  // Calls nest; every begin_update needs its end_update.
  void begin_update();
  void end_update();
  // A run of reads (a browse, a long skip) under one read lock, seeing one
  // state of the file; no changes inside it.
  void begin_read();
  void end_read();

  const std::string& path() const { return path_; }
  const std::string& expression() const { return expression_; }
  const std::string& for_expression() const { return for_expression_; }
  const std::string& tag_name() const { return tag_name_; }
  char key_type() const { return key_type_; }
  int key_len() const { return shape_.key_len; }
  bool replaced() const;  // the path now names another file (rebuilt elsewhere)

  std::uint32_t count();
  CdxStamp stamp();
  void set_stamp(std::uint32_t records, std::uint64_t updates);

  void insert(std::string_view key, std::uint32_t recno);
  bool remove(std::string_view key, std::uint32_t recno);  // false: not there

  SeekResult seek(std::string_view key, SeekMode mode);
  std::uint32_t first();
  std::uint32_t last();
  std::uint32_t next();
  std::uint32_t prev();
  // Positions on the entry (key, recno) or the first one after it.
  std::uint32_t go_to(std::string_view key, std::uint32_t recno);
  std::uint32_t recno() const { return at_ ? pos_rec_ : 0; }
  const std::string& key() const { return pos_key_; }  // of the current entry
  bool eof() const { return !at_ && end_ > 0; }
  bool bof() const { return !at_ && end_ < 0; }

  // expected_key(recno, key) fills the key the record must have, or returns
  // false when the record must not be in the index.
  CdxVerifyResult verify(std::uint32_t record_count,
                         const std::function<bool(std::uint32_t, std::string&)>& expected_key);

  std::string normalize(std::string_view key) const;  // padded or cut to key_len

 private:
  friend class CdxBuilder;
  class Call;
  struct PathStep {
    std::uint32_t off;
    int idx;
  };

  CdxIndex() = default;
  void normalize_into(std::string_view key, std::string& out) const;
  void load_headers(char key_type_hint);
  void refresh(bool force);
  void lock_and_refresh(short type);
  [[noreturn]] void damaged(const std::string& why) const;
  cdx::Node& node(std::uint32_t off);
  bool read_node(std::uint32_t off, cdx::Node& out, std::string& err) const;
  cdx::Node& new_node(std::uint16_t attr);
  void free_node(std::uint32_t off);
  void check_pointer(std::uint32_t off) const;
  int descend(const unsigned char* target, std::size_t len, std::uint32_t rec, bool use_rec);
  int compare(const cdx::Node& n, int i, const unsigned char* target, std::size_t len,
              std::uint32_t rec, bool use_rec) const;
  void settle(int depth, bool append);
  void propagate_max(int depth);
  void remove_empty(int depth);
  void set_position(const cdx::Node& leaf, int idx);
  void settle_forward(std::uint32_t leaf_off, int idx);
  void settle_backward(std::uint32_t leaf_off, int idx);
  std::uint32_t step(int dir);
  std::uint32_t walk_count();
  bool deferred() const;
  bool optimistic() const;
  template <class F>
  auto reading(F&& body) -> decltype(body());
  void mark(cdx::Node& n);  // changed: written by the next commit
  void commit();
  void discard();
  void trim();
  void write_header();

  CdxFd fd_;
  CdxMap map_;            // header page: the change counter and header writes without a call
  bool cache_only_ = false;
  bool read_only_ = false;
  std::string path_;
  CdxSharing sharing_ = CdxSharing::Shared;
  std::string expression_, for_expression_, tag_name_;
  char key_type_ = 'C';
  unsigned char options_ = 0x60, signature_ = 1;
  cdx::KeyShape shape_;
  std::uint32_t tag_off_ = 0, first_node_ = 0;
  std::uint32_t root_ = 0, free_ = 0, version_ = 0;
  std::uint64_t file_end_ = 0;
  bool ours_ = false;
  std::uint32_t keys_ = 0;
  CdxStamp stamp_;
  int leaf_depth_ = -1;

  std::unordered_map<std::uint32_t, std::unique_ptr<cdx::Node>> cache_;
  std::vector<std::unique_ptr<cdx::Node>> spare_;
  std::size_t cache_cap_ = 1024;
  std::uint64_t tick_ = 0;
  std::vector<std::uint32_t> pending_free_;
  std::vector<std::uint32_t> dirty_offs_;
  bool header_dirty_ = false;
  bool broken_ = false;  // deferred changes were lost after an error
  int batch_ = 0;
  bool read_batch_ = false;
  std::vector<PathStep> path_steps_;
  std::vector<unsigned char> buf_;
  std::vector<int> cuts_;
  std::string scratch_, old_key_;

  // current position
  bool at_ = false;
  int end_ = 0;  // +1 past the end, -1 before the start, 0 unpositioned
  std::uint32_t pos_leaf_ = 0;
  int pos_idx_ = 0;
  std::uint32_t pos_rec_ = 0;
  std::uint32_t pos_version_ = 0;
  std::string pos_key_;
};

// Memory: the pairs are kept up to memory_limit bytes (key_len + 4 each);
// beyond that they go to sorted runs in an unlinked scratch file beside the
// index and are merged at the end, so any number of records builds in the
// same memory.
class CdxBuilder {
 public:
  CdxBuilder(std::string path, std::string_view expression, char key_type, int key_len,
             std::size_t memory_limit = 16u << 20);
  ~CdxBuilder();
  CdxBuilder(const CdxBuilder&) = delete;
  CdxBuilder& operator=(const CdxBuilder&) = delete;

  void add(std::string_view key, std::uint32_t recno);  // any order
  // Writes the file (temporary file, flushed, renamed over path).
  void finish(std::uint32_t stamp_records = 0, std::uint64_t stamp_updates = 0);

 private:
  struct Run {
    std::uint64_t offset, count;
  };
  std::vector<std::uint32_t> buffer_order() const;
  void spill();
  void merge_runs(const std::function<void(const unsigned char*, std::uint32_t)>& feed);

  std::string path_, expression_;
  char key_type_;
  std::size_t memory_limit_;
  cdx::KeyShape shape_;
  std::vector<unsigned char> keys_;
  std::vector<std::uint32_t> recs_;
  bool sorted_ = true;
  bool done_ = false;
  CdxFd runs_fd_;
  std::vector<Run> runs_;
  std::uint64_t runs_end_ = 0;
};

}  // namespace tx::storage
