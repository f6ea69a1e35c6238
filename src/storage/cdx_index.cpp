#include "storage/cdx_index.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/codepage.hpp"
#include "platform/paths.hpp"
#include "storage/dbf_io.hpp"
#include "storage/cdx_header.hpp"

namespace tx::storage {

using namespace cdx;

namespace {

// Thrown by node() on a cache miss during a read served from the cache
// alone; the read is then done again under the lock.
struct NeedDisk {};

constexpr int kMaxDepth = 32;  // a fan-out of at least 2: far beyond any real index
constexpr std::size_t kCacheBytes = 8u << 20;

std::uint32_t get32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}


bool lock_byte(int fd, short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = kLockOffset;
  fl.l_len = 1;
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLKW, &fl) == 0) return true;
    if (errno != EINTR) return false;
  }
}

void set_entry(Node& p, int i, const Node& c, int kl) {
  std::memcpy(p.key(i, kl), c.key(c.n() - 1, kl), static_cast<std::size_t>(kl));
  p.rec[static_cast<std::size_t>(i)] = c.rec.back();
  p.child[static_cast<std::size_t>(i)] = c.off;
}

void insert_entry(Node& p, int i, const Node& c, int kl) {
  p.keys.insert(p.keys.begin() + static_cast<std::ptrdiff_t>(i) * kl, static_cast<std::size_t>(kl), 0);
  p.rec.insert(p.rec.begin() + i, 0);
  p.child.insert(p.child.begin() + i, 0);
  set_entry(p, i, c, kl);
}

void erase_entry(Node& n, int i, int kl) {
  auto k = n.keys.begin() + static_cast<std::ptrdiff_t>(i) * kl;
  n.keys.erase(k, k + kl);
  n.rec.erase(n.rec.begin() + i);
  if (!n.leaf()) n.child.erase(n.child.begin() + i);
}

std::string io_error(const std::string& path, const char* what) {
  return "Erro de gravação no índice "_cp + path + ": " + what + ": " + std::strerror(errno);
}

}  // namespace

CdxFd& CdxFd::operator=(CdxFd&& o) noexcept {
  if (this != &o) {
    reset();
    fd = o.fd;
    o.fd = -1;
  }
  return *this;
}

CdxMap& CdxMap::operator=(CdxMap&& o) noexcept {
  if (this != &o) {
    reset();
    p = o.p;
    len = o.len;
    o.p = nullptr;
    o.len = 0;
  }
  return *this;
}

void CdxMap::reset() {
  if (p) ::munmap(p, len);
  p = nullptr;
  len = 0;
}

void CdxFd::reset() {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// One public call: the lock (shared mode), the header reread, and on the way
// out either the write-through of the changes or, after an error, dropping
// whatever the call had changed in memory.
class CdxIndex::Call {
 public:
  Call(CdxIndex& ix, bool write) : ix_(ix), write_(write) {
    if (ix.fd_.fd < 0) throw CdxError("Índice fechado"_cp.str());
    if (ix.broken_) ix.damaged("alterações perdidas depois de um erro; o índice deve ser refeito");
    if (write && ix.read_only_) throw CdxError("Índice "_cp + ix.path_ + " só pode ser lido"_cp);
    if (write && ix.read_batch_) throw CdxError("Índice "_cp + ix.path_ + ": alteração durante uma leitura em bloco"_cp);
    if (ix.batch_ > 0) return;  // the batch holds the lock and the header is current
    if (ix.sharing_ == CdxSharing::Shared) {
      if (!lock_byte(ix.fd_.fd, write ? F_WRLCK : F_RDLCK))
        throw CdxError("Índice "_cp + ix.path_ + " não pôde ser bloqueado"_cp);
      locked_ = true;
    }
    try {
      ix.refresh(false);
    } catch (...) {
      unlock();
      throw;
    }
  }
  void done() {
    if (write_ && (!ix_.deferred() || ix_.dirty_offs_.size() > ix_.cache_cap_ / 2)) ix_.commit();
    ok_ = true;
  }
  ~Call() {
    if (!ok_ && write_) {
      if (ix_.deferred()) ix_.broken_ = true;  // earlier deferred changes went with this one
      ix_.discard();
    }
    unlock();
    ix_.trim();
  }

 private:
  void unlock() {
    if (locked_) lock_byte(ix_.fd_.fd, F_UNLCK);
    locked_ = false;
  }
  CdxIndex& ix_;
  bool write_;
  bool locked_ = false;
  bool ok_ = false;
};

CdxIndex::CdxIndex(CdxIndex&&) noexcept = default;
CdxIndex& CdxIndex::operator=(CdxIndex&&) noexcept = default;
CdxIndex::~CdxIndex() {
  try {
    close();
  } catch (const CdxError&) {
    // the stamp on disk stays the old one: the index will be rebuilt
  }
}

bool CdxIndex::deferred() const { return (batch_ > 0 && !read_batch_) || sharing_ == CdxSharing::Exclusive; }

void CdxIndex::flush() {
  if (fd_.fd < 0 || broken_) return;
  commit();
}

// Takes the sharing lock (read or write) and sees other processes' changes;
// the lock is let go again when the refresh fails.
void CdxIndex::lock_and_refresh(short type) {
  if (!lock_byte(fd_.fd, type)) throw CdxError("Índice "_cp + path_ + " não pôde ser bloqueado"_cp);
  try {
    refresh(false);
  } catch (...) {
    lock_byte(fd_.fd, F_UNLCK);
    throw;
  }
}

void CdxIndex::begin_update() {
  if (read_batch_) throw CdxError("Índice "_cp + path_ + ": alteração durante uma leitura em bloco"_cp);
  if (batch_ == 0) {
    if (fd_.fd < 0) throw CdxError("Índice fechado"_cp.str());
    if (read_only_) throw CdxError("Índice "_cp + path_ + " só pode ser lido"_cp);
    if (sharing_ == CdxSharing::Shared) {
      lock_and_refresh(F_WRLCK);
    }
  }
  ++batch_;
}

void CdxIndex::begin_read() {
  if (batch_ == 0) {
    if (fd_.fd < 0) throw CdxError("Índice fechado"_cp.str());
    if (sharing_ == CdxSharing::Shared) {
      lock_and_refresh(F_RDLCK);
    }
    read_batch_ = true;
  }
  ++batch_;
}

void CdxIndex::end_read() {
  if (batch_ == 0) return;
  if (--batch_ > 0) return;
  read_batch_ = false;
  if (sharing_ == CdxSharing::Shared && fd_.fd >= 0) lock_byte(fd_.fd, F_UNLCK);
}

void CdxIndex::end_update() {
  if (batch_ == 0) return;
  if (--batch_ > 0) return;
  struct Unlock {
    CdxIndex& ix;
    ~Unlock() {
      if (ix.sharing_ == CdxSharing::Shared && ix.fd_.fd >= 0) lock_byte(ix.fd_.fd, F_UNLCK);
    }
  } unlock{*this};
  if (!broken_ && sharing_ == CdxSharing::Shared) commit();
}

void CdxIndex::close() {
  map_.reset();
  if (fd_.fd >= 0) {
    while (batch_ > 0) {
      if (read_batch_) end_read();
      else end_update();
    }
    if (!broken_ && !read_only_) commit();
  }
  fd_.reset();
  cache_.clear();
  spare_.clear();
  at_ = false;
}

void CdxIndex::damaged(const std::string& why) const {
  throw CdxError("Índice danificado: "_cp + path_ + ": " + from_utf8(why));
}

CdxIndex CdxIndex::create(const std::string& path, std::string_view expression, char key_type, int key_len,
                          CdxSharing sharing) {
  CdxBuilder b(path, expression, key_type, key_len);
  b.finish();
  return open(path, sharing);
}

CdxIndex CdxIndex::open(const std::string& path, CdxSharing sharing, char key_type_hint) {
  CdxIndex ix;
  ix.path_ = path;
  ix.sharing_ = sharing;
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EROFS)) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ix.read_only_ = fd >= 0;
  }
  if (fd < 0) throw CdxError("Índice "_cp + path + " não pôde ser aberto: "_cp + std::strerror(errno));
  ix.fd_ = CdxFd(fd);
  bool locked = sharing == CdxSharing::Shared && lock_byte(fd, F_RDLCK);
  try {
    ix.load_headers(key_type_hint);
  } catch (...) {
    if (locked) lock_byte(fd, F_UNLCK);
    throw;
  }
  if (locked) lock_byte(fd, F_UNLCK);
  if (sharing == CdxSharing::Shared && !platform::is_network_file(fd)) {
    const std::size_t len = (ix.tag_off_ + 12 + 4095) / 4096 * 4096;
    void* p = ::mmap(nullptr, len, ix.read_only_ ? PROT_READ : PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p != MAP_FAILED) ix.map_ = CdxMap(p, len);
  }
  ix.trim();
  return ix;
}

void CdxIndex::load_headers(char key_type_hint) {
  struct stat st {};
  if (::fstat(fd_.fd, &st) != 0) damaged("fstat");
  file_end_ = static_cast<std::uint64_t>(st.st_size);
  if (file_end_ < kFirstNode || file_end_ % kNodeSize != 0 || file_end_ > 0x7FFFF000u)
    damaged("tamanho de arquivo impossível (" + std::to_string(file_end_) + " bytes)");
  unsigned char h[1024];
  if (!pread_full(fd_.fd, h, sizeof h, 0)) damaged("cabeçalho ilegível");
  const std::uint32_t dir_root = get32(h);
  const int dir_kl = h[12] | (h[13] << 8);
  if (dir_kl < 1 || dir_kl > kMaxKeyLen || !(h[14] & kOptCompact)) damaged("diretório de tags inválido");
  if (dir_root % kNodeSize || dir_root < 1024 || dir_root + kNodeSize > file_end_) damaged("diretório de tags fora do arquivo");
  unsigned char nb[kNodeSize];
  if (!pread_full(fd_.fd, nb, sizeof nb, dir_root)) damaged("diretório de tags ilegível");
  Node dir;
  std::string err;
  if (!decode_node(nb, dir_root, KeyShape{dir_kl, ' '}, dir, err)) damaged("diretório de tags: " + err);
  if (!dir.leaf() || dir.n() < 1) damaged("diretório de tags sem tag");
  tag_off_ = dir.rec[0];
  if (tag_off_ % kNodeSize || tag_off_ < 1024 || tag_off_ == dir_root || tag_off_ + 1024 > file_end_)
    damaged("cabeçalho da tag fora do arquivo");
  tag_name_.assign(reinterpret_cast<const char*>(dir.key(0, dir_kl)), static_cast<std::size_t>(dir_kl));
  while (!tag_name_.empty() && (tag_name_.back() == ' ' || tag_name_.back() == '\0')) tag_name_.pop_back();
  if (!pread_full(fd_.fd, h, sizeof h, tag_off_)) damaged("cabeçalho da tag ilegível");
  TagHeader th;
  if (!decode_tag_header(h, th, err)) damaged(err);
  if (th.order != 0) damaged("ordem decrescente não suportada");
  first_node_ = 1024;
  shape_.key_len = th.key_len;
  key_type_ = th.ours ? th.key_type : (key_type_hint == 'N' || key_type_hint == 'D' ? key_type_hint : 'C');
  if (key_type_ != 'C' && th.key_len != 8) damaged("chave numérica sem 8 bytes");
  shape_.pad = key_type_ == 'C' ? ' ' : '\0';
  options_ = th.options;
  signature_ = th.signature;
  expression_ = th.expression;
  for_expression_ = th.for_expression;
  root_ = th.root;
  free_ = th.free_list;
  version_ = th.version;
  ours_ = th.ours;
  keys_ = th.keys;
  stamp_ = CdxStamp{th.stamp_records, th.stamp_updates, th.ours};
  // a typical decoded node: some forty keys and their record numbers
  cache_cap_ = std::clamp<std::size_t>(kCacheBytes / (static_cast<std::size_t>(shape_.key_len) * 40 + 400), 64, 16384);
  buf_.resize(kNodeSize);
  check_pointer(root_);
  if (!node(root_).root()) damaged("nó raiz sem a marca de raiz");
  if (!ours_) keys_ = walk_count();
}

void CdxIndex::check_pointer(std::uint32_t off) const {
  if (off % kNodeSize != 0 || off < first_node_ || static_cast<std::uint64_t>(off) + kNodeSize > file_end_ ||
      (off >= tag_off_ && off < tag_off_ + 1024))
    damaged("ponteiro de nó inválido (" + std::to_string(off) + ")");
}

void CdxIndex::refresh(bool force) {
  if (sharing_ != CdxSharing::Shared && !force) return;
  if (!force && map_.p) {  // under the lock the mapped counter is current
    const auto* v = reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(map_.p) + tag_off_ + 8);
    if (__atomic_load_n(v, __ATOMIC_ACQUIRE) == version_) return;
  }
  unsigned char h[kHeaderFields];
  if (!pread_full(fd_.fd, h, sizeof h, tag_off_)) damaged("cabeçalho da tag ilegível");
  const std::uint32_t version = get32(h + 8);
  const int kl = h[12] | (h[13] << 8);
  if (kl != shape_.key_len) damaged("tamanho de chave mudou");
  root_ = get32(h);
  free_ = get32(h + 4) == kNone ? 0 : get32(h + 4);
  if (std::memcmp(h + 16, "TX14", 4) == 0) {
    ours_ = true;
    keys_ = get32(h + 24);
    stamp_ = CdxStamp{get32(h + 28), get32(h + 32) | (static_cast<std::uint64_t>(get32(h + 36)) << 32), true};
  }
  if (version != version_ || force) {
    for (auto& [off, n] : cache_) spare_.push_back(std::move(n));
    cache_.clear();
    leaf_depth_ = -1;
    struct stat st {};
    if (::fstat(fd_.fd, &st) != 0) damaged("fstat");
    file_end_ = static_cast<std::uint64_t>(st.st_size);
    version_ = version;
  }
}

bool CdxIndex::replaced() const {
  struct stat a {}, b {};
  if (fd_.fd < 0 || ::fstat(fd_.fd, &a) != 0) return true;
  if (::stat(path_.c_str(), &b) != 0) return true;
  return a.st_ino != b.st_ino || a.st_dev != b.st_dev;
}

bool CdxIndex::read_node(std::uint32_t off, Node& out, std::string& err) const {
  unsigned char b[kNodeSize];
  if (!pread_full(fd_.fd, b, sizeof b, off)) {
    err = "nó além do fim do arquivo";
    return false;
  }
  return decode_node(b, off, shape_, out, err);
}

Node& CdxIndex::node(std::uint32_t off) {
  auto it = cache_.find(off);
  if (it != cache_.end()) {
    it->second->used = ++tick_;
    return *it->second;
  }
  if (cache_only_) throw NeedDisk{};
  check_pointer(off);
  std::unique_ptr<Node> n;
  if (!spare_.empty()) {
    n = std::move(spare_.back());
    spare_.pop_back();
  } else {
    n = std::make_unique<Node>();
  }
  std::string err;
  if (!read_node(off, *n, err)) {
    spare_.push_back(std::move(n));
    damaged(err + " (nó " + std::to_string(off) + ")");
  }
  n->used = ++tick_;
  Node& ref = *n;
  cache_.emplace(off, std::move(n));
  return ref;
}

Node& CdxIndex::new_node(std::uint16_t attr) {
  std::uint32_t off;
  if (free_ != 0) {
    check_pointer(free_);
    if (cache_.count(free_)) damaged("lista de nós livres aponta um nó em uso");
    unsigned char b[8];
    if (!pread_full(fd_.fd, b, sizeof b, free_) || b[0] != 0xFF || b[1] != 0xFF) damaged("lista de nós livres inválida");
    off = free_;
    free_ = get32(b + 4) == kNone ? 0 : get32(b + 4);
  } else {
    off = static_cast<std::uint32_t>(file_end_);
    file_end_ += kNodeSize;
  }
  header_dirty_ = true;
  std::unique_ptr<Node> n;
  if (!spare_.empty()) {
    n = std::move(spare_.back());
    spare_.pop_back();
  } else {
    n = std::make_unique<Node>();
  }
  n->clear();
  n->off = off;
  n->attr = attr;
  n->left = n->right = kNone;
  n->dirty = true;
  n->used = ++tick_;
  Node& ref = *n;
  cache_[off] = std::move(n);
  dirty_offs_.push_back(off);
  return ref;
}

void CdxIndex::free_node(std::uint32_t off) {
  auto it = cache_.find(off);
  if (it != cache_.end()) {
    spare_.push_back(std::move(it->second));
    cache_.erase(it);
  }
  pending_free_.push_back(off);
  header_dirty_ = true;
}

void CdxIndex::mark(Node& n) {
  if (n.dirty) return;
  n.dirty = true;
  dirty_offs_.push_back(n.off);
}

void CdxIndex::commit() {
  if (!header_dirty_ && pending_free_.empty() && dirty_offs_.empty()) return;
  // nodes in offset order: neighbouring writes
  std::sort(dirty_offs_.begin(), dirty_offs_.end());
  for (std::uint32_t off : dirty_offs_) {
    auto it = cache_.find(off);
    if (it == cache_.end() || !it->second->dirty) continue;  // freed since
    Node* n = it->second.get();
    encode_node(*n, shape_, buf_.data());
    if (!pwrite_full(fd_.fd, buf_.data(), kNodeSize, off)) {
      std::string e = io_error(path_, "nó");
      discard();
      throw CdxError(e);
    }
    n->dirty = false;
  }
  dirty_offs_.clear();
  for (std::uint32_t off : pending_free_) {
    std::memset(buf_.data(), 0, kNodeSize);
    buf_[0] = buf_[1] = 0xFF;  // marks a free node
    put32(buf_.data() + 4, free_ ? free_ : kNone);
    if (!pwrite_full(fd_.fd, buf_.data(), kNodeSize, off)) {
      std::string e = io_error(path_, "lista livre");
      discard();
      throw CdxError(e);
    }
    free_ = off;
  }
  pending_free_.clear();
  ++version_;
  ours_ = true;
  write_header();
  header_dirty_ = false;
}

void CdxIndex::write_header() {
  TagHeader h;
  h.root = root_;
  h.free_list = free_;
  h.version = version_;
  h.key_len = shape_.key_len;
  h.options = options_;
  h.signature = signature_;
  h.key_type = key_type_;
  h.keys = keys_;
  h.stamp_records = stamp_.records;
  h.stamp_updates = stamp_.updates;
  unsigned char b[kHeaderFields];
  encode_tag_fields(h, b);
  if (map_.p && !read_only_) {
    // through the mapping: the same page other processes read, without a
    // call; the change counter goes last
    unsigned char* m = static_cast<unsigned char*>(map_.p) + tag_off_;
    std::memcpy(m, b, 8);
    std::memcpy(m + 12, b + 12, kHeaderFields - 12);
    std::uint32_t v;
    std::memcpy(&v, b + 8, 4);
    __atomic_store_n(reinterpret_cast<std::uint32_t*>(m + 8), v, __ATOMIC_RELEASE);
    stamp_.present = true;
    return;
  }
  if (!pwrite_full(fd_.fd, b, sizeof b, tag_off_)) {
    std::string e = io_error(path_, "cabeçalho");
    discard();
    throw CdxError(e);
  }
  stamp_.present = true;
}

void CdxIndex::discard() {
  for (auto it = cache_.begin(); it != cache_.end();) {
    if (it->second->dirty) {
      spare_.push_back(std::move(it->second));
      it = cache_.erase(it);
    } else {
      ++it;
    }
  }
  pending_free_.clear();
  dirty_offs_.clear();
  header_dirty_ = false;
  at_ = false;
  end_ = 0;
  try {
    refresh(true);
  } catch (const CdxError&) {
  }
}

void CdxIndex::trim() {
  if (cache_.size() <= cache_cap_) return;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> order;
  order.reserve(cache_.size());
  for (auto& [off, n] : cache_)
    if (!n->dirty) order.emplace_back(n->used, off);
  std::size_t drop = cache_.size() - cache_cap_ * 3 / 4;
  drop = std::min(drop, order.size());
  std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(drop), order.end());
  for (std::size_t i = 0; i < drop; ++i) {
    auto it = cache_.find(order[i].second);
    spare_.push_back(std::move(it->second));
    cache_.erase(it);
  }
  if (spare_.size() > 64) spare_.resize(64);
}

void CdxIndex::normalize_into(std::string_view key, std::string& out) const {
  out.assign(key.substr(0, static_cast<std::size_t>(shape_.key_len)));
  out.resize(static_cast<std::size_t>(shape_.key_len), static_cast<char>(shape_.pad));
}

std::string CdxIndex::normalize(std::string_view key) const {
  std::string s(key.substr(0, static_cast<std::size_t>(shape_.key_len)));
  s.resize(static_cast<std::size_t>(shape_.key_len), static_cast<char>(shape_.pad));
  return s;
}

// ---- searching ----------------------------------------------------------------

int CdxIndex::compare(const Node& n, int i, const unsigned char* target, std::size_t len, std::uint32_t rec,
                      bool use_rec) const {
  int c = len ? std::memcmp(n.key(i, shape_.key_len), target, len) : 0;
  if (c != 0 || !use_rec) return c;
  std::uint32_t r = n.rec[static_cast<std::size_t>(i)];
  return r < rec ? -1 : r > rec ? 1 : 0;
}

// Walks from the root to the leaf where the first entry not below the target
// is (or would be); path_steps_ gets every node and the slot taken in it.
int CdxIndex::descend(const unsigned char* target, std::size_t len, std::uint32_t rec, bool use_rec) {
  path_steps_.clear();
  std::uint32_t off = root_;
  for (int depth = 0;; ++depth) {
    if (depth > kMaxDepth) damaged("laço entre nós");
    Node& n = node(off);
    if ((depth == 0) != n.root()) damaged(depth == 0 ? "nó raiz sem a marca de raiz" : "raiz no meio da árvore");
    int lo = 0, hi = n.n();
    while (lo < hi) {
      int mid = (lo + hi) / 2;
      if (compare(n, mid, target, len, rec, use_rec) < 0) lo = mid + 1;
      else hi = mid;
    }
    if (n.leaf()) {
      if (leaf_depth_ < 0) leaf_depth_ = depth;
      else if (leaf_depth_ != depth) damaged("folhas em profundidades diferentes");
      path_steps_.push_back({off, lo});
      return lo;
    }
    if (lo == n.n()) lo = n.n() - 1;
    path_steps_.push_back({off, lo});
    std::uint32_t next = n.child[static_cast<std::size_t>(lo)];
    if (next == off) damaged("nó aponta para si mesmo");
    off = next;
  }
}

void CdxIndex::set_position(const Node& leaf, int idx) {
  at_ = true;
  end_ = 0;
  pos_leaf_ = leaf.off;
  pos_idx_ = idx;
  pos_rec_ = leaf.rec[static_cast<std::size_t>(idx)];
  pos_key_.assign(reinterpret_cast<const char*>(leaf.key(idx, shape_.key_len)), static_cast<std::size_t>(shape_.key_len));
  pos_version_ = version_;
}

void CdxIndex::settle_forward(std::uint32_t off, int idx) {
  for (std::uint64_t steps = 0;; ++steps) {
    if (steps > file_end_ / kNodeSize) damaged("laço entre folhas");
    Node& l = node(off);
    if (!l.leaf()) damaged("irmão de folha não é folha");
    if (idx < l.n()) {
      set_position(l, idx);
      return;
    }
    if (l.right == kNone) {
      at_ = false;
      end_ = 1;
      return;
    }
    off = l.right;
    idx = 0;
  }
}

void CdxIndex::settle_backward(std::uint32_t off, int idx) {
  for (std::uint64_t steps = 0;; ++steps) {
    if (steps > file_end_ / kNodeSize) damaged("laço entre folhas");
    Node& l = node(off);
    if (!l.leaf()) damaged("irmão de folha não é folha");
    if (idx >= l.n()) idx = l.n() - 1;
    if (idx >= 0) {
      set_position(l, idx);
      return;
    }
    if (l.left == kNone) {
      at_ = false;
      end_ = -1;
      return;
    }
    off = l.left;
    idx = 1 << 30;
  }
}

// In Shared mode on a local disk a read whose nodes are all in the cache is
// served without the lock when the change counter in the mapped header still
// is the one the cache belongs to: the cache then holds the last committed
// state. Anything else is done under the lock.
bool CdxIndex::optimistic() const {
  if (sharing_ != CdxSharing::Shared || !map_.p || batch_ > 0 || broken_ || fd_.fd < 0) return false;
  const auto* v = reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(map_.p) + tag_off_ + 8);
  return __atomic_load_n(v, __ATOMIC_ACQUIRE) == version_;
}

template <class F>
auto CdxIndex::reading(F&& body) -> decltype(body()) {
  if (optimistic()) {
    cache_only_ = true;
    try {
      auto r = body();
      cache_only_ = false;
      return r;
    } catch (const NeedDisk&) {
      cache_only_ = false;
    } catch (...) {
      cache_only_ = false;
      throw;
    }
  }
  Call c(*this, false);
  auto r = body();
  c.done();
  return r;
}

SeekResult CdxIndex::seek(std::string_view key, SeekMode mode) {
  return reading([&] {
    if (mode == SeekMode::Exact) normalize_into(key, scratch_);
    else scratch_.assign(key.substr(0, static_cast<std::size_t>(shape_.key_len)));
    auto* t = reinterpret_cast<const unsigned char*>(scratch_.data());
    int idx = descend(t, scratch_.size(), 0, false);
    settle_forward(path_steps_.back().off, idx);
    SeekResult r;
    r.found = at_ && pos_key_.compare(0, scratch_.size(), scratch_) == 0;
    if (!r.found && mode != SeekMode::Soft) {
      at_ = false;
      end_ = 1;
    }
    r.recno = recno();
    return r;
  });
}

std::uint32_t CdxIndex::go_to(std::string_view key, std::uint32_t recno) {
  return reading([&] {
    normalize_into(key, scratch_);
    int idx = descend(reinterpret_cast<const unsigned char*>(scratch_.data()), scratch_.size(), recno, true);
    settle_forward(path_steps_.back().off, idx);
    return this->recno();
  });
}

std::uint32_t CdxIndex::first() {
  return reading([&] {
    int idx = descend(nullptr, 0, 0, false);
    settle_forward(path_steps_.back().off, idx);
    return recno();
  });
}

std::uint32_t CdxIndex::last() {
  return reading([&] {
    scratch_.assign(static_cast<std::size_t>(shape_.key_len), '\xFF');
    int idx = descend(reinterpret_cast<const unsigned char*>(scratch_.data()), scratch_.size(), kNone, true);
    settle_backward(path_steps_.back().off, idx - 1);
    return recno();
  });
}

std::uint32_t CdxIndex::next() { return step(1); }
std::uint32_t CdxIndex::prev() { return step(-1); }

// One entry forward or back. After a change (here or in another process) the
// position is found again from its key and record number.
std::uint32_t CdxIndex::step(int dir) {
  if (!at_) {
    if (dir > 0 && end_ < 0) return first();
    if (dir < 0 && end_ > 0) return last();
    return 0;
  }
  return reading([&] {
    old_key_ = pos_key_;
    const std::uint32_t old_rec = pos_rec_;
    std::uint32_t leaf = pos_leaf_;
    int idx = pos_idx_;
    bool exact = true;
    if (pos_version_ != version_ || !cache_.count(pos_leaf_)) {
      idx = descend(reinterpret_cast<const unsigned char*>(old_key_.data()), old_key_.size(), old_rec, true);
      leaf = path_steps_.back().off;
      Node& l = node(leaf);
      exact = idx < l.n() && compare(l, idx, reinterpret_cast<const unsigned char*>(old_key_.data()), old_key_.size(), old_rec, true) == 0;
    } else {
      Node& l = node(leaf);
      if (idx >= l.n() || l.rec[static_cast<std::size_t>(idx)] != old_rec) damaged("posição perdida");
    }
    if (dir > 0) settle_forward(leaf, exact ? idx + 1 : idx);
    else settle_backward(leaf, idx - 1);
    if (at_) {
      int cmp = pos_key_.compare(old_key_);
      if (cmp == 0) cmp = pos_rec_ < old_rec ? -1 : pos_rec_ > old_rec ? 1 : 0;
      if (cmp * dir <= 0) damaged("chaves fora de ordem");
    } else if (dir < 0 && end_ == 0) {
      end_ = -1;
    }
    return recno();
  });
}

std::uint32_t CdxIndex::walk_count() {
  std::uint32_t off = root_;
  for (int depth = 0;; ++depth) {
    if (depth > kMaxDepth) damaged("laço entre nós");
    Node& n = node(off);
    if (n.leaf()) break;
    off = n.child[0];
  }
  std::uint64_t total = 0;
  for (std::uint64_t steps = 0; off != kNone; ++steps) {
    if (steps > file_end_ / kNodeSize) damaged("laço entre folhas");
    Node& l = node(off);
    if (!l.leaf()) damaged("irmão de folha não é folha");
    total += static_cast<std::uint64_t>(l.n());
    off = l.right;
    trim();
  }
  return static_cast<std::uint32_t>(total);
}

std::uint32_t CdxIndex::count() {
  return reading([&] { return keys_; });
}

CdxStamp CdxIndex::stamp() {
  return reading([&] { return stamp_; });
}

void CdxIndex::set_stamp(std::uint32_t records, std::uint64_t updates) {
  Call c(*this, true);
  stamp_.records = records;
  stamp_.updates = updates;
  header_dirty_ = true;
  c.done();
}

// ---- changing ---------------------------------------------------------------------

void CdxIndex::insert(std::string_view key, std::uint32_t recno) {
  Call c(*this, true);
  normalize_into(key, scratch_);
  const int kl = shape_.key_len;
  auto* k = reinterpret_cast<const unsigned char*>(scratch_.data());
  int idx = descend(k, scratch_.size(), recno, true);
  Node& leaf = node(path_steps_.back().off);
  if (idx < leaf.n() && compare(leaf, idx, k, scratch_.size(), recno, true) == 0) {
    c.done();  // already there
    return;
  }
  const bool append = idx == leaf.n() && leaf.right == kNone;
  leaf.keys.insert(leaf.keys.begin() + static_cast<std::ptrdiff_t>(idx) * kl, k, k + kl);
  leaf.rec.insert(leaf.rec.begin() + idx, recno);
  note_leaf_insert(leaf, idx, shape_);
  mark(leaf);
  ++keys_;
  header_dirty_ = true;
  settle(static_cast<int>(path_steps_.size()) - 1, append);
  c.done();
}

bool CdxIndex::remove(std::string_view key, std::uint32_t recno) {
  Call c(*this, true);
  normalize_into(key, scratch_);
  auto* k = reinterpret_cast<const unsigned char*>(scratch_.data());
  int idx = descend(k, scratch_.size(), recno, true);
  Node& leaf = node(path_steps_.back().off);
  if (idx >= leaf.n() || compare(leaf, idx, k, scratch_.size(), recno, true) != 0) {
    c.done();
    return false;
  }
  erase_entry(leaf, idx, shape_.key_len);
  leaf.packed_max = -1;
  mark(leaf);
  if (keys_ > 0) --keys_;
  header_dirty_ = true;
  const int d = static_cast<int>(path_steps_.size()) - 1;
  if (leaf.n() == 0 && d > 0) remove_empty(d);
  else settle(d, false);
  // a root with a single child hands the root over to it
  for (;;) {
    Node& r = node(root_);
    if (r.leaf() || r.n() != 1) break;
    std::uint32_t child = r.child[0];
    Node& ch = node(child);
    ch.attr |= kAttrRoot;
    ch.left = ch.right = kNone;
    mark(ch);
    free_node(root_);
    root_ = child;
    leaf_depth_ = -1;
  }
  c.done();
  return true;
}

// The node at path depth d lost all its entries: unlink it from its level
// and drop its entry from the parent.
void CdxIndex::remove_empty(int d) {
  const std::uint32_t off = path_steps_[static_cast<std::size_t>(d)].off;
  Node& x = node(off);
  const std::uint32_t left = x.left, right = x.right;
  if (left != kNone) {
    Node& l = node(left);
    l.right = right;
    mark(l);
  }
  if (right != kNone) {
    Node& r = node(right);
    r.left = left;
    mark(r);
  }
  free_node(off);
  Node& p = node(path_steps_[static_cast<std::size_t>(d - 1)].off);
  const int i = path_steps_[static_cast<std::size_t>(d - 1)].idx;
  if (i >= p.n() || p.child[static_cast<std::size_t>(i)] != off) damaged("pai não confere com o filho");
  erase_entry(p, i, shape_.key_len);
  mark(p);
  if (p.n() == 0) {
    if (d - 1 > 0) {
      remove_empty(d - 1);
    } else {  // the whole tree is empty again: the root becomes an empty leaf
      p.clear();
      p.attr = kAttrRoot | kAttrLeaf;
      p.left = p.right = kNone;
      leaf_depth_ = -1;
    }
  } else if (i == p.n()) {
    propagate_max(d - 1);
  }
}

// The last entry of the node at depth d may have changed: the parents'
// copies of it follow.
void CdxIndex::propagate_max(int d) {
  const int kl = shape_.key_len;
  while (d > 0) {
    Node& x = node(path_steps_[static_cast<std::size_t>(d)].off);
    if (x.n() == 0) return;
    Node& p = node(path_steps_[static_cast<std::size_t>(d - 1)].off);
    const int i = path_steps_[static_cast<std::size_t>(d - 1)].idx;
    if (i >= p.n() || p.child[static_cast<std::size_t>(i)] != x.off) damaged("pai não confere com o filho");
    if (p.rec[static_cast<std::size_t>(i)] == x.rec.back() &&
        std::memcmp(p.key(i, kl), x.key(x.n() - 1, kl), static_cast<std::size_t>(kl)) == 0)
      return;
    set_entry(p, i, x, kl);
    mark(p);
    if (i != p.n() - 1) return;
    --d;
  }
}

// The node at depth d changed; when it no longer fits it is split into as
// many nodes as needed (two, rarely three for very long keys), the new ones
// taking its place among its siblings and in its parent.
void CdxIndex::settle(int d, bool append) {
  const int kl = shape_.key_len;
  Node* x = &node(path_steps_[static_cast<std::size_t>(d)].off);
  const int n = x->n();
  cuts_.clear();
  cuts_.push_back(0);
  if (x->leaf()) {
    if ((x->packed_max < 0 || x->packed_max > kLeafSpace) && leaf_bytes(*x, shape_) > kLeafSpace) {
      LeafSizer sz(*x, shape_);
      if (append && n > 1 && sz.fits(0, n - 1)) {
        cuts_.push_back(n - 1);  // appending in order: keep the full node full
      } else {
        int best = -1, best_size = 1 << 30;
        for (int s = 1; s < n; ++s) {
          int a = sz.bytes(0, s), b = sz.bytes(s, n);
          if (a <= kLeafSpace && b <= kLeafSpace && std::max(a, b) < best_size) {
            best = s;
            best_size = std::max(a, b);
          }
        }
        if (best > 0) {
          cuts_.push_back(best);
        } else {
          for (int a = 0, b = 1; b < n; ++b)
            if (!sz.fits(a, b + 1)) {
              cuts_.push_back(b);
              a = b;
            }
        }
      }
    }
  } else {
    const int cap = interior_capacity(kl);
    if (n > cap) {
      if (append && n == cap + 1) {
        cuts_.push_back(cap);
      } else {
        const int k = (n + cap - 1) / cap;
        for (int j = 1; j < k; ++j) cuts_.push_back(n * j / k);
      }
    }
  }
  cuts_.push_back(n);
  if (cuts_.size() == 2) {
    propagate_max(d);
    return;
  }

  // split
  const std::uint16_t attr = static_cast<std::uint16_t>(x->attr & ~kAttrRoot);
  const bool was_root = x->root();
  std::vector<std::uint32_t> offs{x->off};
  for (std::size_t j = 1; j + 1 < cuts_.size(); ++j) {
    Node& y = new_node(attr);
    const int a = cuts_[j], b = cuts_[j + 1];
    y.keys.assign(x->keys.begin() + static_cast<std::ptrdiff_t>(a) * kl, x->keys.begin() + static_cast<std::ptrdiff_t>(b) * kl);
    y.rec.assign(x->rec.begin() + a, x->rec.begin() + b);
    if (!x->leaf()) y.child.assign(x->child.begin() + a, x->child.begin() + b);
    offs.push_back(y.off);
  }
  const int keep = cuts_[1];
  x->packed_max = -1;
  x->keys.resize(static_cast<std::size_t>(keep) * kl);
  x->rec.resize(static_cast<std::size_t>(keep));
  if (!x->leaf()) x->child.resize(static_cast<std::size_t>(keep));
  x->attr = attr;
  mark(*x);
  const std::uint32_t old_right = x->right;
  for (std::size_t j = 0; j < offs.size(); ++j) {
    Node& y = node(offs[j]);
    if (j > 0) y.left = offs[j - 1];
    y.right = j + 1 < offs.size() ? offs[j + 1] : old_right;
    mark(y);
  }
  if (old_right != kNone) {
    Node& r = node(old_right);
    r.left = offs.back();
    mark(r);
  }
  if (was_root) {
    Node& r = new_node(kAttrRoot);
    for (std::size_t j = 0; j < offs.size(); ++j) insert_entry(r, static_cast<int>(j), node(offs[j]), kl);
    root_ = r.off;
    leaf_depth_ = -1;
    path_steps_.insert(path_steps_.begin(), PathStep{r.off, 0});
    settle(0, append);
    return;
  }
  Node& p = node(path_steps_[static_cast<std::size_t>(d - 1)].off);
  const int i = path_steps_[static_cast<std::size_t>(d - 1)].idx;
  if (i >= p.n() || p.child[static_cast<std::size_t>(i)] != offs[0]) damaged("pai não confere com o filho");
  const bool parent_append = append && i == p.n() - 1 && p.right == kNone;
  set_entry(p, i, node(offs[0]), kl);
  for (std::size_t j = 1; j < offs.size(); ++j) insert_entry(p, i + static_cast<int>(j), node(offs[j]), kl);
  mark(p);
  path_steps_[static_cast<std::size_t>(d - 1)].idx = i + static_cast<int>(offs.size()) - 1;
  settle(d - 1, parent_append);
}

// ---- verification ---------------------------------------------------------------

CdxVerifyResult CdxIndex::verify(std::uint32_t record_count,
                                 const std::function<bool(std::uint32_t, std::string&)>& expected_key) {
  Call c(*this, false);
  if (!read_batch_) commit();  // the walk reads the file itself: deferred changes first
  CdxVerifyResult res;
  const int kl = shape_.key_len;
  auto problem = [&](std::string text) {
    res.ok = false;
    ++res.problem_count;
    if (res.problems.size() < 20) res.problems.push_back(std::move(text));
  };
  std::vector<bool> seen(static_cast<std::size_t>(record_count) + 1);
  std::vector<bool> visited(static_cast<std::size_t>(file_end_ / kNodeSize) + 1);
  std::vector<Node> stack(kMaxDepth + 2);
  std::string last_key, want;
  std::uint32_t last_rec = 0;
  bool have_last = false;
  int leaf_depth = -1;

  std::function<void(std::uint32_t, int)> walk = [&](std::uint32_t off, int depth) {
    if (depth > kMaxDepth) { problem("laço entre nós"); return; }
    if (off % kNodeSize || off < first_node_ || off + kNodeSize > file_end_ || (off >= tag_off_ && off < tag_off_ + 1024)) {
      problem("ponteiro de nó inválido " + std::to_string(off));
      return;
    }
    if (visited[off / kNodeSize]) { problem("nó " + std::to_string(off) + " alcançado duas vezes"); return; }
    visited[off / kNodeSize] = true;
    Node& n = stack[static_cast<std::size_t>(depth)];
    std::string err;
    if (!read_node(off, n, err)) { problem("nó " + std::to_string(off) + ": " + err); return; }
    if ((depth == 0) != n.root()) problem("marca de raiz errada no nó " + std::to_string(off));
    if (n.leaf()) {
      if (leaf_depth < 0) leaf_depth = depth;
      else if (leaf_depth != depth) problem("folhas em profundidades diferentes");
      for (int i = 0; i < n.n(); ++i) {
        std::string_view k(reinterpret_cast<const char*>(n.key(i, kl)), static_cast<std::size_t>(kl));
        const std::uint32_t r = n.rec[static_cast<std::size_t>(i)];
        ++res.keys;
        if (have_last && (k < std::string_view(last_key) || (k == std::string_view(last_key) && r <= last_rec)))
          problem("chaves fora de ordem no registro " + std::to_string(r));
        last_key.assign(k);
        last_rec = r;
        have_last = true;
        if (r < 1 || r > record_count) { problem("registro " + std::to_string(r) + " não existe na tabela"); continue; }
        if (seen[r]) { problem("registro " + std::to_string(r) + " com mais de uma chave"); continue; }
        seen[r] = true;
        want.clear();
        if (!expected_key(r, want)) { problem("registro " + std::to_string(r) + " não deveria estar no índice"); continue; }
        if (normalize(want) != k) problem("registro " + std::to_string(r) + ": chave não confere");
      }
      return;
    }
    for (int i = 0; i < n.n(); ++i) {
      Node& self = stack[static_cast<std::size_t>(depth)];
      const std::uint32_t child = self.child[static_cast<std::size_t>(i)];
      const std::uint64_t before = res.keys;
      walk(child, depth + 1);
      Node& again = stack[static_cast<std::size_t>(depth)];
      if (res.keys == before) continue;
      std::string_view k(reinterpret_cast<const char*>(again.key(i, kl)), static_cast<std::size_t>(kl));
      if (k != std::string_view(last_key) || again.rec[static_cast<std::size_t>(i)] != last_rec)
        problem("chave do nó interior " + std::to_string(off) + " não confere com o filho");
    }
  };
  walk(root_, 0);
  for (std::uint32_t r = 1; r <= record_count; ++r) {
    if (seen[r]) continue;
    want.clear();
    if (expected_key(r, want)) problem("registro " + std::to_string(r) + " sem chave no índice");
  }
  if (res.keys != keys_) problem("contagem de chaves do cabeçalho não confere (" + std::to_string(keys_) + " / " + std::to_string(res.keys) + ")");
  for (std::string& p : res.problems) p = from_utf8(p);
  c.done();
  return res;
}

}  // namespace tx::storage
