// Fuzz target: any byte string as a table file. The header parser must give
// a header or a clear error; a table that opens must let every record and
// every field be read (the memo file is a sound memo header followed by the
// same bytes, so memo block numbers land in fuzzed data)
// without a crash, an overflow or an allocation beyond the input's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "storage/dbf_format.hpp"
#include "storage/dbf_table.hpp"

using namespace tx::storage;

namespace {

constexpr std::uint32_t kMaxRecords = 64;

void write_file(const std::string& path, std::string_view prefix, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (!prefix.empty()) std::fwrite(prefix.data(), 1, prefix.size(), f);
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

// Next free block just past the data, blocks of 64 bytes.
std::string memo_header(size_t size) {
  std::string h(512, '\0');
  std::uint32_t next = static_cast<std::uint32_t>(8 + (size + 63) / 64);
  h[0] = static_cast<char>(next >> 24);
  h[1] = static_cast<char>(next >> 16);
  h[2] = static_cast<char>(next >> 8);
  h[3] = static_cast<char>(next);
  h[7] = 64;
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DbfHeader h;
  if (parse_dbf_header(bytes, h)) {
    (void)check_dbf_size(h, size);
    if (h.fields.size() * kDbfDescriptorSize + kDbfPrefixSize >= h.header_len + 1u) std::abort();
  }

  char dir_tmpl[] = "/tmp/fuzz_dbf_XXXXXX";
  if (!::mkdtemp(dir_tmpl)) return 0;
  std::string dir = dir_tmpl;
  std::string table = dir + "/T.DBF";
  std::string memo = DbfTable::memo_path_for(table);
  write_file(table, {}, data, size);
  write_file(memo, memo_header(size), data, size);
  {
    DbfTable t;
    if (t.open(table, DbfTable::Mode::Shared)) {
      std::uint32_t n = t.record_count();
      for (std::uint32_t r = 1; r <= n && r <= kMaxRecords; ++r) {
        if (!t.go(r)) continue;
        (void)t.deleted();
        for (int i = 0; i < t.field_count(); ++i) {
          (void)t.get_text(i);
          switch (t.field(i).type) {
            case 'N': (void)t.get_number(i); break;
            case 'D': (void)t.get_date(i); break;
            case 'L': (void)t.get_logical(i); break;
            case 'M': {
              std::string text;
              (void)t.get_memo(i, text);
              if (text.size() > size + 512) std::abort();
              break;
            }
            default: break;
          }
        }
      }
    }
  }
  ::unlink(table.c_str());
  ::unlink(memo.c_str());
  ::rmdir(dir.c_str());
  return 0;
}
