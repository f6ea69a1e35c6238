// The bytes of a table file's header and field descriptors, as dBASE III and
// FoxPro 2.x write them. Pure functions: any byte string in, a parsed header
// or a clear error out; nothing here touches a file.
//
// Layout
//   0      version: 0x03 plain, 0xF5 with a FoxPro memo file (.FPT)
//   1..3   last update YY MM DD (YY = year - 1900)
//   4..7   record count (little endian)
//   8..9   header length = 32 + 32 * fields + 1
//   10..11 record length = 1 (deleted flag) + sum of widths
//   29     language driver (0x02: code page 850)
//   32 ... one 32-byte descriptor per field: name (11 bytes, NUL padded),
//          type, offset in the record (4 bytes), width, decimals
//   then   0x0D; records follow at the header length; 0x1A after the last
//
// Field types: C (1..65535; a width above 255 keeps its high byte in the
// decimals byte), N (1..20 wide, decimals below the width), D (8, yyyymmdd),
// L (1), M (10: memo block number as right-aligned digits).
//
// Invariants of a parsed header: at least one field, record_len == 1 + sum of
// widths, offsets[i] is the start of field i in the record (offsets[0] == 1),
// names are upper case and unique. Allocation is bounded by the header
// length (at most 64 KB).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.hpp"
#include "storage/dbf_status.hpp"
#include "storage/field.hpp"

namespace tx::storage {

inline constexpr unsigned char kDbfVersionPlain = 0x03;
inline constexpr unsigned char kDbfVersionMemo = 0xF5;
inline constexpr unsigned char kDbfLanguageCp850 = 0x02;
inline constexpr unsigned char kDbfHeaderEnd = 0x0D;
inline constexpr unsigned char kDbfEofMarker = 0x1A;
inline constexpr std::size_t kDbfPrefixSize = 32;
inline constexpr std::size_t kDbfDescriptorSize = 32;
inline constexpr int kDbfMaxNumericWidth = 20;
inline constexpr int kDbfMaxRecordLength = 65535;
inline constexpr int kDbfMaxFields = (65535 - 33) / 32;
// Extra bytes tolerated between the terminator and the first record (some
// writers leave a padding byte or a 263-byte back link there).
inline constexpr int kDbfMaxHeaderSlack = 264;

struct DbfHeader {
  unsigned char version = kDbfVersionPlain;
  int update_year = 0;  // full year, e.g. 2014
  int update_month = 0;
  int update_day = 0;
  std::uint32_t record_count = 0;
  std::uint16_t header_len = 0;
  std::uint16_t record_len = 0;
  unsigned char language = kDbfLanguageCp850;
  std::vector<FieldDef> fields;
  std::vector<int> offsets;

  bool has_memo_fields() const;
  // Byte offset of record recno (1-based) in the file.
  std::uint64_t record_offset(std::uint32_t recno) const {
    return header_len + std::uint64_t(recno - 1) * record_len;
  }
};

// Reads the fixed 32-byte prefix (version, date, count, lengths). Fields are
// left empty. Needs at least 32 bytes.
DbfStatus parse_dbf_prefix(std::string_view bytes, DbfHeader& out);
// Reads the prefix and every descriptor. `bytes` must hold the whole header
// (header_len bytes, as told by the prefix); more is ignored.
DbfStatus parse_dbf_header(std::string_view bytes, DbfHeader& out);
// A record count the file cannot hold is damage; a missing or extra end
// marker (or a few stray bytes) is not.
DbfStatus check_dbf_size(const DbfHeader& h, std::uint64_t file_size);

// Checks a layout for creation: names (1..10 of A-Z 0-9 _, starting with a
// letter, unique without regard to case), types and widths.
DbfStatus validate_dbf_fields(const std::vector<FieldDef>& fields);
// The header bytes for a valid layout (names written upper case).
std::string build_dbf_header(const std::vector<FieldDef>& fields, std::uint32_t record_count,
                             Date last_update);
// Writes the record count and last update date into a 32-byte prefix.
void put_dbf_count_and_date(char* prefix, std::uint32_t record_count, Date last_update);

}  // namespace tx::storage
