// A FoxPro memo file (.FPT): the long texts of a table's memo fields.
//
// Layout
//   header  512 bytes: next free block (big endian, 4 bytes) at 0, block size
//           (big endian, 2 bytes) at 6 (64 when created here)
//   block   type (4 bytes BE, 1 = text), length (4 bytes BE), the bytes;
//           a memo takes ceil((8 + length) / block size) consecutive blocks
//   A record's memo field holds the first block number; blank means no text.
//
// Interface
//   MemoFile::create(path)          a new empty memo file (written beside and
//                                   renamed, so no half header is ever seen)
//   open(path, writable) / close()
//   read(block, out)                the text of a memo; block 0 gives ""
//   write(text, old_block, out)     stores a text: in place when it fits the
//                                   blocks of old_block, else in new blocks at
//                                   the end (allocation under a short lock so
//                                   two terminals never take the same blocks)
//   reset()                         empties the file (all blocks free)
// Damage (a block past the end, a length beyond the file) is reported, never
// trusted: no read allocates more than the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/dbf_status.hpp"

namespace tx::storage {

class MemoFile {
 public:
  static constexpr int kHeaderSize = 512;
  static constexpr int kDefaultBlockSize = 64;
  static constexpr std::uint32_t kTextType = 1;

  MemoFile() = default;
  ~MemoFile();
  MemoFile(const MemoFile&) = delete;
  MemoFile& operator=(const MemoFile&) = delete;

  static DbfStatus create(const std::string& path, int block_size = kDefaultBlockSize);

  DbfStatus open(const std::string& path, bool writable);
  void close();
  bool is_open() const { return fd_ >= 0; }
  int block_size() const { return block_size_; }
  const std::string& path() const { return path_; }

  DbfStatus read(std::uint32_t block, std::string& out) const;
  DbfStatus write(std::string_view text, std::uint32_t old_block, std::uint32_t& block_out);
  DbfStatus reset();

 private:
  DbfStatus read_next_free(std::uint32_t& next) const;
  std::uint64_t blocks_for(std::uint64_t length) const {
    return (8 + length + static_cast<std::uint64_t>(block_size_) - 1) / static_cast<std::uint64_t>(block_size_);
  }
  std::uint32_t first_data_block() const {
    return static_cast<std::uint32_t>((kHeaderSize + block_size_ - 1) / block_size_);
  }

  int fd_ = -1;
  bool writable_ = false;
  int block_size_ = kDefaultBlockSize;
  std::string path_;
};

}  // namespace tx::storage
