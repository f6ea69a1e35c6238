#include "storage/cdx_header.hpp"

#include <cstring>

#include "storage/cdx_node.hpp"

namespace tx::storage::cdx {

namespace {
constexpr char kMagic[4] = {'T', 'X', '1', '4'};

std::uint32_t get32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(unsigned char* p, unsigned v) { p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; }
unsigned get16(const unsigned char* p) { return p[0] | (p[1] << 8); }

void put_pools(unsigned char* p, std::string_view key, std::string_view filter) {
  // key expression, NUL, FOR expression, NUL: the pools at 512
  std::size_t kl = std::min<std::size_t>(key.size(), 510);
  std::size_t fl = std::min<std::size_t>(filter.size(), 510 - kl);
  std::memcpy(p + 512, key.data(), kl);
  std::memcpy(p + 512 + kl + 1, filter.data(), fl);
  put16(p + 502, 0);
  put16(p + 504, static_cast<unsigned>(kl + 1 + fl + 1));
  put16(p + 506, static_cast<unsigned>(fl + 1));
  put16(p + 510, static_cast<unsigned>(kl + 1));
}
}  // namespace

void encode_tag_fields(const TagHeader& h, unsigned char* p) {
  std::memset(p, 0, kHeaderFields);
  put32(p, h.root);
  put32(p + 4, h.free_list);
  put32(p + 8, h.version);
  put16(p + 12, static_cast<unsigned>(h.key_len));
  p[14] = h.options;
  p[15] = h.signature;
  std::memcpy(p + 16, kMagic, 4);
  p[20] = static_cast<unsigned char>(h.key_type);
  put32(p + 24, h.keys);
  put32(p + 28, h.stamp_records);
  put32(p + 32, static_cast<std::uint32_t>(h.stamp_updates));
  put32(p + 36, static_cast<std::uint32_t>(h.stamp_updates >> 32));
}

void encode_tag_header(const TagHeader& h, unsigned char* p) {
  std::memset(p, 0, 1024);
  encode_tag_fields(h, p);
  put_pools(p, h.expression, h.for_expression);
}

bool decode_tag_header(const unsigned char* p, TagHeader& h, std::string& error) {
  h.root = get32(p);
  h.free_list = get32(p + 4);
  if (h.free_list == kNone) h.free_list = 0;
  h.version = get32(p + 8);
  h.key_len = static_cast<int>(get16(p + 12));
  h.options = p[14];
  h.signature = p[15];
  h.order = static_cast<std::uint16_t>(get16(p + 502));
  if (h.key_len < 1 || h.key_len > kMaxKeyLen) { error = "tamanho de chave inválido"; return false; }
  if (!(h.options & kOptCompact)) { error = "não é um índice compacto"; return false; }
  h.ours = std::memcmp(p + 16, kMagic, 4) == 0;
  if (h.ours) {
    h.key_type = static_cast<char>(p[20]);
    if (h.key_type != 'C' && h.key_type != 'N' && h.key_type != 'D') { error = "tipo de chave inválido"; return false; }
    if (h.key_type != 'C' && h.key_len != 8) { error = "tamanho de chave não confere com o tipo"; return false; }
    h.keys = get32(p + 24);
    h.stamp_records = get32(p + 28);
    h.stamp_updates = get32(p + 32) | (static_cast<std::uint64_t>(get32(p + 36)) << 32);
  }
  const unsigned key_expr = get16(p + 510);
  const unsigned for_expr = get16(p + 506);
  if (key_expr > 512 || for_expr > 512 || key_expr + for_expr > 512) { error = "expressão inválida no cabeçalho"; return false; }
  const char* pool = reinterpret_cast<const char*>(p + 512);
  std::string_view all(pool, 512);
  std::size_t nul = all.find('\0');
  h.expression.assign(all.substr(0, nul == std::string_view::npos ? 512 : nul));
  h.for_expression.clear();
  if (nul != std::string_view::npos && nul + 1 < 512) {
    std::string_view rest = all.substr(nul + 1);
    h.for_expression.assign(rest.substr(0, rest.find('\0')));
  }
  return true;
}

void encode_directory(std::string_view tag_name, unsigned char* p) {
  std::memset(p, 0, 1536);
  TagHeader dir;
  dir.root = kDirLeaf;
  dir.key_len = kTagNameLen;
  dir.options = kOptCompact | kOptCompound | kOptStructural;
  // the directory header has no block of ours and empty pools
  put32(p, dir.root);
  put16(p + 12, kTagNameLen);
  p[14] = dir.options;
  p[15] = dir.signature;
  put_pools(p, "", "");
  Node leaf;
  leaf.attr = kAttrRoot | kAttrLeaf;
  leaf.keys.assign(kTagNameLen, ' ');
  std::memcpy(leaf.keys.data(), tag_name.data(), std::min<std::size_t>(tag_name.size(), kTagNameLen));
  leaf.rec.push_back(kTagOffset);
  encode_node(leaf, KeyShape{kTagNameLen, ' '}, p + kDirLeaf);
}

std::string tag_name_for(std::string_view path) {
  std::size_t slash = path.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t dot = base.find('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  std::string name;
  for (char c : base.substr(0, kTagNameLen)) name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  if (name.empty()) name = "TAG";
  return name;
}

}  // namespace tx::storage::cdx
