#include "storage/memo_file.hpp"

#include <cerrno>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_lock.hpp"
#include "storage/dbf_io.hpp"

namespace tx::storage {

namespace {

std::uint32_t be32(const unsigned char* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
void put_be32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

DbfStatus memo_damaged(const std::string& path, const char* why) {
  return DbfStatus::fail(DbfCode::Damaged, "Arquivo de memo danificado: " + path + ": " + why);
}

std::string header_bytes(std::uint32_t next_free, int block_size) {
  std::string h(MemoFile::kHeaderSize, '\0');
  auto* p = reinterpret_cast<unsigned char*>(h.data());
  put_be32(p, next_free);
  p[6] = static_cast<unsigned char>((block_size >> 8) & 0xFF);
  p[7] = static_cast<unsigned char>(block_size & 0xFF);
  return h;
}

}  // namespace

MemoFile::~MemoFile() { close(); }

DbfStatus MemoFile::create(const std::string& path, int block_size) {
  if (block_size < 1 || block_size > 65535)
    return DbfStatus::fail(DbfCode::Invalid, "Tamanho de bloco de memo inv\xa0lido");
  std::uint32_t first = static_cast<std::uint32_t>((kHeaderSize + block_size - 1) / block_size);
  std::string bytes = header_bytes(first, block_size);
  bytes.resize(std::size_t(first) * std::size_t(block_size), '\0');
  return write_file_atomically(path, bytes);
}

DbfStatus MemoFile::open(const std::string& path, bool writable) {
  close();
  int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) {
    int e = errno;
    return DbfStatus::fail(e == ENOENT ? DbfCode::NotFound : DbfCode::IoError,
                           "Arquivo de memo " + path + " n\xc6o pode ser aberto: " + strerror(e), e);
  }
  unsigned char h[8];
  if (!pread_full(fd, h, sizeof h, 0)) {
    ::close(fd);
    return memo_damaged(path, "cabe\x87""alho incompleto");
  }
  int bs = (h[6] << 8) | h[7];
  if (bs == 0) {
    ::close(fd);
    return memo_damaged(path, "tamanho de bloco zero");
  }
  fd_ = fd;
  writable_ = writable;
  block_size_ = bs;
  path_ = path;
  return DbfStatus::ok();
}

void MemoFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

DbfStatus MemoFile::read(std::uint32_t block, std::string& out) const {
  out.clear();
  if (block == 0) return DbfStatus::ok();
  if (fd_ < 0) return DbfStatus::fail(DbfCode::Invalid, "Arquivo de memo n\xc6o est\xa0 aberto");
  if (block < first_data_block()) return memo_damaged(path_, "bloco dentro do cabe\x87""alho");
  struct stat st {};
  if (fstat(fd_, &st) != 0) return DbfStatus::fail(DbfCode::IoError, "Erro ao ler " + path_, errno);
  std::uint64_t off = std::uint64_t(block) * std::uint64_t(block_size_);
  std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  if (off + 8 > size) return memo_damaged(path_, "bloco al\x82m do fim do arquivo");
  unsigned char bh[8];
  if (!pread_full(fd_, bh, 8, off)) return memo_damaged(path_, "bloco ileg\xa1vel");
  std::uint64_t len = be32(bh + 4);
  if (len > size - off - 8) return memo_damaged(path_, "tamanho do memo al\x82m do fim do arquivo");
  out.resize(len);
  if (len && !pread_full(fd_, out.data(), len, off + 8)) {
    out.clear();
    return memo_damaged(path_, "memo ileg\xa1vel");
  }
  return DbfStatus::ok();
}

DbfStatus MemoFile::read_next_free(std::uint32_t& next) const {
  unsigned char h[4];
  if (!pread_full(fd_, h, 4, 0)) return memo_damaged(path_, "cabe\x87""alho incompleto");
  next = be32(h);
  if (next < first_data_block()) next = first_data_block();
  return DbfStatus::ok();
}

DbfStatus MemoFile::write(std::string_view text, std::uint32_t old_block, std::uint32_t& block_out) {
  if (fd_ < 0 || !writable_)
    return DbfStatus::fail(DbfCode::Invalid, "Arquivo de memo aberto s\xa2 para leitura");
  if (text.size() > 0xFFFFFFF0u) return DbfStatus::fail(DbfCode::Invalid, "Memo longo demais");
  std::string block(8 + text.size(), '\0');
  auto* p = reinterpret_cast<unsigned char*>(block.data());
  put_be32(p, kTextType);
  put_be32(p + 4, static_cast<std::uint32_t>(text.size()));
  if (!text.empty()) memcpy(block.data() + 8, text.data(), text.size());

  // In place when the old memo's blocks can hold the new text.
  if (old_block >= first_data_block()) {
    std::uint64_t off = std::uint64_t(old_block) * std::uint64_t(block_size_);
    unsigned char bh[8];
    if (pread_full(fd_, bh, 8, off)) {
      std::uint32_t next = 0;
      if (DbfStatus s = read_next_free(next); !s) return s;
      std::uint64_t old_blocks = blocks_for(be32(bh + 4));
      if (old_block + old_blocks <= next && blocks_for(text.size()) <= old_blocks) {
        if (!pwrite_full(fd_, block.data(), block.size(), off))
          return DbfStatus::fail(DbfCode::IoError, "Erro ao gravar " + path_, errno);
        block_out = old_block;
        return DbfStatus::ok();
      }
    }
  }

  // New blocks at the end, under the allocation lock.
  platform::LockResult lr = platform::LockResult::Busy;
  for (int tries = 0; tries < 20000; ++tries) {
    lr = platform::try_memo_alloc_lock(fd_);
    if (lr != platform::LockResult::Busy) break;
    usleep(100);
  }
  if (lr != platform::LockResult::Acquired)
    return DbfStatus::fail(DbfCode::Busy, "Arquivo de memo em uso por outro terminal");
  std::uint32_t next = 0;
  DbfStatus st = read_next_free(next);
  if (st) {
    std::uint64_t need = blocks_for(text.size());
    if (std::uint64_t(next) + need > 0xFFFFFFFFu) {
      st = DbfStatus::fail(DbfCode::Invalid, "Arquivo de memo cheio");
    } else {
      // Pad to whole blocks so the next free block starts at a block boundary.
      block.resize(need * std::uint64_t(block_size_), '\0');
      std::uint64_t off = std::uint64_t(next) * std::uint64_t(block_size_);
      unsigned char nh[4];
      put_be32(nh, static_cast<std::uint32_t>(next + need));
      if (!pwrite_full(fd_, block.data(), block.size(), off) || !pwrite_full(fd_, nh, 4, 0)) {
        st = DbfStatus::fail(DbfCode::IoError, "Erro ao gravar " + path_, errno);
      } else {
        block_out = next;
      }
    }
  }
  platform::unlock_memo_alloc(fd_);
  return st;
}

DbfStatus MemoFile::reset() {
  if (fd_ < 0 || !writable_)
    return DbfStatus::fail(DbfCode::Invalid, "Arquivo de memo aberto s\xa2 para leitura");
  std::uint32_t first = first_data_block();
  std::string h = header_bytes(first, block_size_);
  if (ftruncate(fd_, off_t(first) * block_size_) != 0 || !pwrite_full(fd_, h.data(), h.size(), 0))
    return DbfStatus::fail(DbfCode::IoError, "Erro ao gravar " + path_, errno);
  return DbfStatus::ok();
}

}  // namespace tx::storage
