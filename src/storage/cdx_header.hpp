// The fixed parts of a one-tag compact index file: the tag directory and the
// 1024-byte tag header.
//
// Interface
//   kTagOffset, kFirstNode      where the tag header and its nodes begin
//   TagHeader                   the header's fields, including this program's
//                               block in the reserved bytes 16-39
//   encode_tag_header / decode_tag_header (the whole 1024 bytes)
//   encode_tag_fields           bytes 0-39 only: what a change rewrites
//   encode_directory            bytes 0-1535: directory header and its leaf
//   tag_name_for(path)          the file's base name, upper case, 10 at most
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tx::storage::cdx {

constexpr std::uint32_t kDirLeaf = 1024;
constexpr std::uint32_t kTagOffset = 1536;
constexpr std::uint32_t kFirstNode = kTagOffset + 1024;
constexpr std::uint32_t kHeaderFields = 40;
constexpr long kLockOffset = 0x7FFFFFF0;
constexpr unsigned char kOptCompact = 32, kOptCompound = 64, kOptStructural = 128;
constexpr int kTagNameLen = 10;

struct TagHeader {
  std::uint32_t root = 0;
  std::uint32_t free_list = 0;  // 0 none
  std::uint32_t version = 0;
  int key_len = 0;
  unsigned char options = kOptCompact | kOptCompound;
  unsigned char signature = 1;
  std::uint16_t order = 0;  // 0 ascending
  bool ours = false;
  char key_type = 'C';
  std::uint32_t keys = 0;
  std::uint32_t stamp_records = 0;
  std::uint64_t stamp_updates = 0;
  std::string expression, for_expression;
};

void encode_tag_header(const TagHeader& h, unsigned char* out1024);
void encode_tag_fields(const TagHeader& h, unsigned char* out40);
bool decode_tag_header(const unsigned char* p1024, TagHeader& h, std::string& error);
void encode_directory(std::string_view tag_name, unsigned char* out1536);
std::string tag_name_for(std::string_view path);

}  // namespace tx::storage::cdx
