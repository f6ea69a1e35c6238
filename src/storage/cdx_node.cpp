#include "storage/cdx_node.hpp"

#include <algorithm>
#include <cstring>

namespace tx::storage::cdx {

namespace {

std::uint16_t get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t get32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t get32be(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
void put16(unsigned char* p, unsigned v) { p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; }
void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put32be(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

int bits_for(std::uint32_t v) {
  int b = 0;
  while (v) { ++b; v >>= 1; }
  return b;
}

}  // namespace

LeafBits leaf_bits(std::uint32_t max_rec, int key_len) {
  LeafBits lb{};
  lb.key_bits = std::max(1, bits_for(static_cast<std::uint32_t>(key_len)));
  int total = std::max(1, bits_for(max_rec)) + 2 * lb.key_bits;
  lb.bytes = (total + 7) / 8;
  lb.rec_bits = std::min(32, lb.bytes * 8 - 2 * lb.key_bits);
  return lb;
}

int trailing_pad(const unsigned char* key, int key_len, unsigned char pad) {
  int t = 0;
  while (t < key_len && key[key_len - 1 - t] == pad) ++t;
  return t;
}

int shared_prefix(const unsigned char* a, const unsigned char* b, int key_len) {
  int d = 0;
  while (d < key_len && a[d] == b[d]) ++d;
  return d;
}

bool decode_node(const unsigned char* p, std::uint32_t off, const KeyShape& shape, Node& out,
                 std::string& error) {
  const int kl = shape.key_len;
  out.clear();
  out.off = off;
  out.attr = get16(p);
  out.left = get32(p + 4);
  out.right = get32(p + 8);
  out.dirty = false;
  const int n = get16(p + 2);
  if (out.attr > 3) { error = "atributo de nó inválido"; return false; }
  if (!out.leaf()) {
    if (n < 1 || n > interior_capacity(kl)) { error = "contagem de chaves inválida"; return false; }
    out.keys.resize(static_cast<std::size_t>(n) * kl);
    out.rec.resize(static_cast<std::size_t>(n));
    out.child.resize(static_cast<std::size_t>(n));
    const unsigned char* e = p + 12;
    for (int i = 0; i < n; ++i, e += kl + 8) {
      std::memcpy(out.key(i, kl), e, static_cast<std::size_t>(kl));
      out.rec[static_cast<std::size_t>(i)] = get32be(e + kl);
      out.child[static_cast<std::size_t>(i)] = get32be(e + kl + 4);
    }
    return true;
  }
  const std::uint32_t rec_mask = get32(p + 14);
  const unsigned dup_mask = p[18], trail_mask = p[19];
  const int rec_bits = p[20], dup_bits = p[21], trail_bits = p[22], bytes = p[23];
  if (bytes < 1 || bytes > 8 || rec_bits > 32 || dup_bits > 8 || trail_bits > 8 ||
      rec_bits + dup_bits + trail_bits > bytes * 8 || n * bytes > kLeafSpace) {
    error = "cabeçalho de folha inválido";
    return false;
  }
  out.keys.resize(static_cast<std::size_t>(n) * kl);
  out.rec.resize(static_cast<std::size_t>(n));
  int end = kNodeSize;  // key bytes are taken from here backwards
  const int entries_end = 24 + n * bytes;
  for (int i = 0; i < n; ++i) {
    const unsigned char* e = p + 24 + i * bytes;
    std::uint64_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | e[k];
    const std::uint32_t rec = static_cast<std::uint32_t>(v & rec_mask);
    const int dup = static_cast<int>((v >> rec_bits) & dup_mask);
    const int trail = static_cast<int>((v >> (rec_bits + dup_bits)) & trail_mask);
    if (dup + trail > kl || (i == 0 && dup > 0)) { error = "compressão de chave inválida"; return false; }
    const int take = kl - dup - trail;
    end -= take;
    if (end < entries_end) { error = "chaves sobrepostas às entradas"; return false; }
    unsigned char* k = out.key(i, kl);
    if (dup) std::memcpy(k, k - kl, static_cast<std::size_t>(dup));
    std::memcpy(k + dup, p + end, static_cast<std::size_t>(take));
    std::memset(k + dup + take, shape.pad, static_cast<std::size_t>(trail));
    out.rec[static_cast<std::size_t>(i)] = rec;
  }
  out.packed_max = -1;  // the stored masks may differ from ours: recompute when needed
  return true;
}

void encode_node(const Node& node, const KeyShape& shape, unsigned char* p) {
  const int kl = shape.key_len;
  const int n = node.n();
  std::memset(p, 0, kNodeSize);
  put16(p, node.attr);
  put16(p + 2, static_cast<unsigned>(n));
  put32(p + 4, node.left);
  put32(p + 8, node.right);
  if (!node.leaf()) {
    unsigned char* e = p + 12;
    for (int i = 0; i < n; ++i, e += kl + 8) {
      std::memcpy(e, node.key(i, kl), static_cast<std::size_t>(kl));
      put32be(e + kl, node.rec[static_cast<std::size_t>(i)]);
      put32be(e + kl + 4, node.child[static_cast<std::size_t>(i)]);
    }
    return;
  }
  std::uint32_t max_rec = 0;
  for (std::uint32_t r : node.rec) max_rec = std::max(max_rec, r);
  const LeafBits lb = leaf_bits(max_rec, kl);
  const std::uint32_t rec_mask = lb.rec_bits >= 32 ? 0xFFFFFFFFu : ((1u << lb.rec_bits) - 1);
  const unsigned key_mask = (1u << lb.key_bits) - 1;
  put32(p + 14, rec_mask);
  p[18] = static_cast<unsigned char>(key_mask);
  p[19] = static_cast<unsigned char>(key_mask);
  p[20] = static_cast<unsigned char>(lb.rec_bits);
  p[21] = static_cast<unsigned char>(lb.key_bits);
  p[22] = static_cast<unsigned char>(lb.key_bits);
  p[23] = static_cast<unsigned char>(lb.bytes);
  int end = kNodeSize;
  for (int i = 0; i < n; ++i) {
    const unsigned char* k = node.key(i, kl);
    const int trail = trailing_pad(k, kl, shape.pad);
    const int dup = i == 0 ? 0 : std::min(shared_prefix(k - kl, k, kl), kl - trail);
    const int take = kl - dup - trail;
    end -= take;
    std::memcpy(p + end, k + dup, static_cast<std::size_t>(take));
    std::uint64_t v = node.rec[static_cast<std::size_t>(i)] |
                      (static_cast<std::uint64_t>(dup) << lb.rec_bits) |
                      (static_cast<std::uint64_t>(trail) << (lb.rec_bits + lb.key_bits));
    unsigned char* e = p + 24 + i * lb.bytes;
    for (int b = 0; b < lb.bytes; ++b) e[b] = static_cast<unsigned char>(v >> (8 * b));
  }
  put16(p + 12, static_cast<unsigned>(std::max(0, end - (24 + n * lb.bytes))));
}

int leaf_bytes(Node& leaf, const KeyShape& shape) {
  const int kl = shape.key_len;
  const int n = leaf.n();
  std::uint32_t max_rec = 0;
  for (std::uint32_t r : leaf.rec) max_rec = std::max(max_rec, r);
  int total = n * leaf_bits(max_rec, kl).bytes;
  for (int i = 0; i < n; ++i) {
    const unsigned char* k = leaf.key(i, kl);
    const int trail = trailing_pad(k, kl, shape.pad);
    const int dup = i == 0 ? 0 : std::min(shared_prefix(k - kl, k, kl), kl - trail);
    total += kl - dup - trail;
  }
  leaf.packed_max = total;
  leaf.max_rec = max_rec;
  return total;
}

void note_leaf_insert(Node& leaf, int i, const KeyShape& shape) {
  if (leaf.packed_max < 0) return;
  const int kl = shape.key_len;
  const int n = leaf.n();  // with the new entry
  const int old_bytes = leaf_bits(leaf.max_rec, kl).bytes;
  leaf.max_rec = std::max(leaf.max_rec, leaf.rec[static_cast<std::size_t>(i)]);
  const int new_bytes = leaf_bits(leaf.max_rec, kl).bytes;
  const int stored = kl - trailing_pad(leaf.key(i, kl), kl, shape.pad);
  // the entry after i shares at least as much with i as it did with i - 1
  // (or, when i is first, it starts sharing): its bytes do not grow
  leaf.packed_max += (n - 1) * (new_bytes - old_bytes) + new_bytes + stored;
}

LeafSizer::LeafSizer(const Node& leaf, const KeyShape& shape) : key_len_(shape.key_len) {
  const int n = leaf.n();
  std::uint32_t max_rec = 0;
  for (std::uint32_t r : leaf.rec) max_rec = std::max(max_rec, r);
  per_entry_ = leaf_bits(max_rec, key_len_).bytes;
  trail_.resize(static_cast<std::size_t>(n));
  prefix_.assign(static_cast<std::size_t>(n) + 1, 0);
  for (int i = 0; i < n; ++i) {
    const unsigned char* k = leaf.key(i, key_len_);
    trail_[static_cast<std::size_t>(i)] = trailing_pad(k, key_len_, shape.pad);
    if (i >= 1) {
      int stored = std::max(0, key_len_ - trail_[static_cast<std::size_t>(i)] - shared_prefix(k - key_len_, k, key_len_));
      prefix_[static_cast<std::size_t>(i) + 1] = prefix_[static_cast<std::size_t>(i)] + stored;
    }
  }
}

int LeafSizer::bytes(int a, int b) const {
  if (b <= a) return 0;
  return (b - a) * per_entry_ + (key_len_ - trail_[static_cast<std::size_t>(a)]) +
         (prefix_[static_cast<std::size_t>(b)] - prefix_[static_cast<std::size_t>(a) + 1]);
}

}  // namespace tx::storage::cdx
