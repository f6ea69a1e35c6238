// One 512-byte node of a compact index, decoded, and its byte form.
//
// Interface
//   Node                 a node with its keys unpacked to full width (key_len
//                        bytes each, one contiguous array), record numbers and,
//                        for interior nodes, child offsets
//   decode_node(bytes)   checks and unpacks a node; a damaged one (bad counts,
//                        masks, key bytes overlapping the entries) is an error
//                        text, never a crash
//   encode_node(node)    packs it back; the caller made sure it fits
//   leaf_bytes(node)     packed size of a leaf's entries
//   LeafSizer            byte size of runs of leaf entries, to decide splits
//
// Byte form (all offsets from the node start):
//   0  attributes (LE 16): 1 root, 2 leaf     2  key count (LE 16)
//   4  left sibling, 8 right sibling (LE 32, byte offsets, 0xFFFFFFFF none)
//   interior: from 12, entries of key_len key bytes, record number and child
//     offset (both big-endian 32)
//   leaf: 12 free bytes, 14 record-number mask, 18 duplicate mask, 19 trail
//     mask, 20..22 bit counts of the three, 23 bytes per entry; from 24 the
//     entries (record number in the low bits, then the count of leading bytes
//     shared with the previous key, then the count of trailing pad bytes,
//     little-endian), key bytes packed from the end of the node backwards.
//     Pad bytes are blanks for character keys and NULs for number keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tx::storage::cdx {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr int kNodeSize = 512;
constexpr int kLeafSpace = kNodeSize - 24;
constexpr int kInteriorSpace = kNodeSize - 12;
constexpr int kMaxKeyLen = 240;
constexpr std::uint16_t kAttrRoot = 1;
constexpr std::uint16_t kAttrLeaf = 2;

struct Node {
  std::uint32_t off = 0;
  std::uint16_t attr = 0;
  std::uint32_t left = kNone, right = kNone;
  std::vector<unsigned char> keys;  // n * key_len bytes
  std::vector<std::uint32_t> rec;
  std::vector<std::uint32_t> child;  // interior nodes only
  bool dirty = false;
  std::uint64_t used = 0;  // cache clock
  int packed_max = -1;     // leaves: packed size is at most this; -1 unknown
  std::uint32_t max_rec = 0;  // leaves, valid while packed_max >= 0

  int n() const { return static_cast<int>(rec.size()); }
  bool leaf() const { return (attr & kAttrLeaf) != 0; }
  bool root() const { return (attr & kAttrRoot) != 0; }
  const unsigned char* key(int i, int key_len) const { return keys.data() + static_cast<std::size_t>(i) * key_len; }
  unsigned char* key(int i, int key_len) { return keys.data() + static_cast<std::size_t>(i) * key_len; }
  void clear() { keys.clear(); rec.clear(); child.clear(); packed_max = -1; max_rec = 0; }
};

struct KeyShape {
  int key_len = 1;
  unsigned char pad = ' ';
};

// Entries an interior node can hold.
inline int interior_capacity(int key_len) { return kInteriorSpace / (key_len + 8); }

// false with a reason when the bytes are not a sound node.
bool decode_node(const unsigned char* bytes, std::uint32_t off, const KeyShape& shape, Node& out,
                 std::string& error);
void encode_node(const Node& node, const KeyShape& shape, unsigned char* bytes);

// Bytes the entries of a leaf take packed (at most kLeafSpace to fit); sets
// the leaf's packed_max and max_rec.
int leaf_bytes(Node& leaf, const KeyShape& shape);
// After inserting entry i: an upper bound of the packed size from the one
// before (the entry after i can only share more with i than with i - 1).
void note_leaf_insert(Node& leaf, int i, const KeyShape& shape);

// Sizes of runs [a, b) of a leaf's entries packed into one node.
class LeafSizer {
 public:
  LeafSizer(const Node& leaf, const KeyShape& shape);
  int bytes(int a, int b) const;  // with the widest record number of the whole leaf
  bool fits(int a, int b) const { return bytes(a, b) <= kLeafSpace; }

 private:
  int key_len_;
  int per_entry_;
  std::vector<int> trail_;   // trailing pad bytes of each key
  std::vector<int> prefix_;  // prefix_[i] = stored bytes of entries 1..i-1 after their predecessor
};

// Bytes per leaf entry and bit counts for a largest record number.
struct LeafBits {
  int rec_bits, key_bits, bytes;
};
LeafBits leaf_bits(std::uint32_t max_rec, int key_len);
int trailing_pad(const unsigned char* key, int key_len, unsigned char pad);
int shared_prefix(const unsigned char* a, const unsigned char* b, int key_len);

}  // namespace tx::storage::cdx
