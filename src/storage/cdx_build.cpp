// Bulk building of a one-tag index: the pairs are sorted (when they did not
// come in order) in memory up to a limit, in sorted runs in a scratch file
// beyond it, then packed level by level, each level's nodes written as they
// fill, so the tree is built in one pass with full nodes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

#include "base/codepage.hpp"
#include "storage/cdx_header.hpp"
#include "storage/cdx_index.hpp"
#include "storage/dbf_io.hpp"

namespace tx::storage {

using namespace cdx;

namespace {


// The node being filled on each level of the tree.
class LevelWriter {
 public:
  LevelWriter(int fd, const KeyShape& shape) : fd_(fd), shape_(shape) {}

  void add(int level, const unsigned char* key, std::uint32_t rec, std::uint32_t child) {
    const int kl = shape_.key_len;
    if (level == static_cast<int>(levels_.size())) {
      levels_.emplace_back();
      Level& l = levels_.back();
      l.node.attr = level == 0 ? kAttrLeaf : 0;
      l.node.off = alloc();
    }
    Level* l = &levels_[static_cast<std::size_t>(level)];
    if (level == 0) {
      const int trail = trailing_pad(key, kl, shape_.pad);
      int stored = kl - trail;
      if (l->node.n() > 0) {
        const int dup = std::min(shared_prefix(l->node.key(l->node.n() - 1, kl), key, kl), kl - trail);
        stored = kl - dup - trail;
        const std::uint32_t max_rec = std::max(l->max_rec, rec);
        const int total = (l->node.n() + 1) * leaf_bits(max_rec, kl).bytes + l->key_bytes + stored;
        if (total > kLeafSpace) {
          emit(level);
          l = &levels_[static_cast<std::size_t>(level)];
          stored = kl - trail;
        }
      }
      l->key_bytes += stored;
      l->max_rec = std::max(l->max_rec, rec);
    } else if (l->node.n() == interior_capacity(kl)) {
      emit(level);
      l = &levels_[static_cast<std::size_t>(level)];
    }
    l->node.keys.insert(l->node.keys.end(), key, key + kl);
    l->node.rec.push_back(rec);
    if (level > 0) l->node.child.push_back(child);
  }

  // Writes what is left; returns the root's offset.
  std::uint32_t finish() {
    if (levels_.empty()) {
      Node root;
      root.attr = kAttrRoot | kAttrLeaf;
      root.off = alloc();
      write(root);
      return root.off;
    }
    for (std::size_t d = 0;; ++d) {
      Level& l = levels_[d];
      if (!l.emitted) {
        l.node.attr |= kAttrRoot;
        write(l.node);
        return l.node.off;
      }
      write(l.node);
      const unsigned char* last = l.node.key(l.node.n() - 1, shape_.key_len);
      std::vector<unsigned char> up(last, last + shape_.key_len);  // add() may reuse max_
      const std::uint32_t rec = l.node.rec.back(), off = l.node.off;
      add(static_cast<int>(d) + 1, up.data(), rec, off);
    }
  }

  std::uint32_t end() const { return next_; }

 private:
  struct Level {
    Node node;
    int key_bytes = 0;
    std::uint32_t max_rec = 0;
    bool emitted = false;
  };

  std::uint32_t alloc() {
    std::uint32_t o = next_;
    next_ += kNodeSize;
    return o;
  }

  void write(const Node& n) {
    encode_node(n, shape_, buf_);
    if (!pwrite_full(fd_, buf_, kNodeSize, n.off)) throw CdxError("Erro de gravação do índice: "_cp + std::strerror(errno));
  }

  void emit(int level) {
    Level& l = levels_[static_cast<std::size_t>(level)];
    const std::uint32_t next = alloc();
    l.node.right = next;
    write(l.node);
    const int kl = shape_.key_len;
    max_.assign(l.node.key(l.node.n() - 1, kl), l.node.key(l.node.n() - 1, kl) + kl);
    const std::uint32_t rec = l.node.rec.back(), off = l.node.off;
    l.node.clear();
    l.node.left = off;
    l.node.right = kNone;
    l.node.off = next;
    l.key_bytes = 0;
    l.max_rec = 0;
    l.emitted = true;
    std::vector<unsigned char> up(max_);
    add(level + 1, up.data(), rec, off);
  }

  int fd_;
  KeyShape shape_;
  std::vector<Level> levels_;
  std::uint32_t next_ = kFirstNode;
  std::vector<unsigned char> max_;
  unsigned char buf_[kNodeSize];
};

}  // namespace

CdxBuilder::CdxBuilder(std::string path, std::string_view expression, char key_type, int key_len,
                       std::size_t memory_limit)
    : path_(std::move(path)), expression_(expression), key_type_(key_type),
      memory_limit_(std::max<std::size_t>(memory_limit, 1024)) {
  if (key_type != 'C' && key_type != 'N' && key_type != 'D')
    throw CdxError("Tipo de chave inválido para o índice "_cp + path_);
  if (key_type != 'C') key_len = 8;
  if (key_len < 1) throw CdxError("Tamanho de chave inválido para o índice "_cp + path_);
  shape_.key_len = std::min(key_len, kMaxKeyLen);
  shape_.pad = key_type == 'C' ? ' ' : '\0';
}

CdxBuilder::~CdxBuilder() = default;

void CdxBuilder::add(std::string_view key, std::uint32_t recno) {
  const auto kl = static_cast<std::size_t>(shape_.key_len);
  const std::size_t at = keys_.size();
  keys_.resize(at + kl, shape_.pad);
  std::memcpy(keys_.data() + at, key.data(), std::min(kl, key.size()));
  if (sorted_ && !recs_.empty()) {
    int c = std::memcmp(keys_.data() + at - kl, keys_.data() + at, kl);
    if (c > 0 || (c == 0 && recs_.back() > recno)) sorted_ = false;
  }
  recs_.push_back(recno);
  if (keys_.size() + recs_.size() * 4 >= memory_limit_) spill();
}

std::vector<std::uint32_t> CdxBuilder::buffer_order() const {
  std::vector<std::uint32_t> order(recs_.size());
  std::iota(order.begin(), order.end(), 0u);
  if (sorted_) return order;
  const auto kl = static_cast<std::size_t>(shape_.key_len);
  const unsigned char* k = keys_.data();
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    int c = std::memcmp(k + a * kl, k + b * kl, kl);
    return c != 0 ? c < 0 : recs_[a] < recs_[b];
  });
  return order;
}

// The buffer, sorted, goes to the run file as (key, record number) records.
void CdxBuilder::spill() {
  if (recs_.empty()) return;
  const auto kl = static_cast<std::size_t>(shape_.key_len);
  if (runs_fd_.fd < 0) {
    std::string tmp = path_ + ".runXXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) throw CdxError("Índice "_cp + path_ + " não pôde ser criado: "_cp + std::strerror(errno));
    ::unlink(tmp.c_str());  // lives as long as the descriptor
    runs_fd_ = CdxFd(fd);
  }
  const std::vector<std::uint32_t> order = buffer_order();
  std::vector<unsigned char> out;
  out.reserve(64 * 1024);
  const std::uint64_t start = runs_end_;
  auto drain = [&] {
    if (!pwrite_full(runs_fd_.fd, out.data(), out.size(), runs_end_))
      throw CdxError("Erro de gravação do índice: "_cp + std::strerror(errno));
    runs_end_ += out.size();
    out.clear();
  };
  for (std::uint32_t j : order) {
    const unsigned char* k = keys_.data() + j * kl;
    out.insert(out.end(), k, k + kl);
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<unsigned char>(recs_[j] >> (8 * b)));
    if (out.size() + kl + 4 > 64 * 1024) drain();
  }
  drain();
  runs_.push_back({start, recs_.size()});
  keys_.clear();
  recs_.clear();
  sorted_ = true;
}

void CdxBuilder::finish(std::uint32_t stamp_records, std::uint64_t stamp_updates) {
  if (done_) return;
  done_ = true;
  const auto kl = static_cast<std::size_t>(shape_.key_len);
  std::string tmp = path_ + ".XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) throw CdxError("Índice "_cp + path_ + " não pôde ser criado: "_cp + std::strerror(errno));
  try {
    ::fchmod(fd, 0664);
    LevelWriter w(fd, shape_);
    std::uint32_t count = 0;
    std::vector<unsigned char> prev;
    std::uint32_t prev_rec = 0;
    auto feed = [&](const unsigned char* k, std::uint32_t rec) {
      if (!prev.empty() && prev_rec == rec && std::memcmp(prev.data(), k, kl) == 0) return;  // the same pair twice
      w.add(0, k, rec, 0);
      prev.assign(k, k + kl);
      prev_rec = rec;
      ++count;
    };
    if (runs_.empty()) {
      for (std::uint32_t j : buffer_order()) feed(keys_.data() + j * kl, recs_[j]);
    } else {
      spill();
      merge_runs(feed);
    }
    TagHeader h;
    h.root = w.finish();
    h.key_len = shape_.key_len;
    h.key_type = key_type_;
    h.keys = count;
    h.stamp_records = stamp_records;
    h.stamp_updates = stamp_updates;
    h.expression = expression_;
    h.ours = true;
    unsigned char head[kFirstNode];
    encode_directory(tag_name_for(path_), head);
    encode_tag_header(h, head + kTagOffset);
    if (!pwrite_full(fd, head, sizeof head, 0)) throw CdxError("Erro de gravação do índice: "_cp + std::strerror(errno));
    if (::fsync(fd) != 0) throw CdxError("Erro de gravação do índice: "_cp + std::strerror(errno));
    ::close(fd);
    fd = -1;
    if (::rename(tmp.c_str(), path_.c_str()) != 0)
      throw CdxError("Índice "_cp + path_ + " não pôde ser gravado: "_cp + std::strerror(errno));
  } catch (...) {
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    throw;
  }
  keys_.clear();
  keys_.shrink_to_fit();
  recs_.clear();
  recs_.shrink_to_fit();
  runs_fd_.reset();
}

// Merges the sorted runs, reading each through a small buffer.
void CdxBuilder::merge_runs(const std::function<void(const unsigned char*, std::uint32_t)>& feed) {
  const auto kl = static_cast<std::size_t>(shape_.key_len);
  const std::size_t rec_size = kl + 4;
  const std::size_t per_read = std::max<std::size_t>(1, 32 * 1024 / rec_size);
  struct Cursor {
    std::uint64_t off, left;
    std::vector<unsigned char> buf;
    std::size_t pos = 0, n = 0;
  };
  std::vector<Cursor> cur;
  for (const Run& r : runs_) cur.push_back({r.offset, r.count, {}, 0, 0});
  auto refill = [&](Cursor& c) {
    c.n = static_cast<std::size_t>(std::min<std::uint64_t>(c.left, per_read));
    c.pos = 0;
    c.buf.resize(c.n * rec_size);
    if (c.n == 0) return;
    std::size_t got = 0;
    while (got < c.buf.size()) {
      ssize_t k = ::pread(runs_fd_.fd, c.buf.data() + got, c.buf.size() - got, static_cast<off_t>(c.off + got));
      if (k < 0 && errno == EINTR) continue;
      if (k <= 0) throw CdxError("Erro de leitura ao criar o índice "_cp + path_);
      got += static_cast<std::size_t>(k);
    }
    c.off += c.buf.size();
    c.left -= c.n;
  };
  auto key_of = [&](const Cursor& c) { return c.buf.data() + c.pos * rec_size; };
  auto rec_of = [&](const Cursor& c) {
    const unsigned char* p = key_of(c) + kl;
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
  };
  auto greater = [&](std::size_t a, std::size_t b) {  // heap order: smallest on top
    int c = std::memcmp(key_of(cur[a]), key_of(cur[b]), kl);
    return c != 0 ? c > 0 : rec_of(cur[a]) > rec_of(cur[b]);
  };
  std::vector<std::size_t> heap;
  for (std::size_t i = 0; i < cur.size(); ++i) {
    refill(cur[i]);
    if (cur[i].n) heap.push_back(i);
  }
  std::make_heap(heap.begin(), heap.end(), greater);
  while (!heap.empty()) {
    std::pop_heap(heap.begin(), heap.end(), greater);
    Cursor& c = cur[heap.back()];
    feed(key_of(c), rec_of(c));
    if (++c.pos == c.n) refill(c);
    if (c.n == 0) heap.pop_back();
    else std::push_heap(heap.begin(), heap.end(), greater);
  }
}

}  // namespace tx::storage
