// Header bytes: what we build parses back to the same layout, the bytes sit
// where other dBASE readers expect them, and damaged headers are refused
// with a reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/dbf_format.hpp"

using namespace tx;
using namespace tx::storage;

namespace {

std::vector<FieldDef> sample_fields() {
  return {{"CPF", 'C', 11, 0},  {"NOME", 'C', 512, 0}, {"VALOR", 'N', 12, 2},
          {"TAXA", 'N', 18, 8}, {"DATA", 'D', 8, 0},   {"ATIVO", 'L', 1, 0},
          {"NOTA", 'M', 10, 0}};
}

unsigned byte(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

TEST(DbfFormat, BuiltHeaderHasTheClassicByteLayout) {
  std::string h = build_dbf_header(sample_fields(), 1234, Date::ymd(2014, 4, 30));
  ASSERT_EQ(h.size(), 32u + 32u * 7 + 1);
  EXPECT_EQ(byte(h, 0), 0xF5u) << "memo fields make a FoxPro memo table";
  EXPECT_EQ(byte(h, 1), 114u);
  EXPECT_EQ(byte(h, 2), 4u);
  EXPECT_EQ(byte(h, 3), 30u);
  EXPECT_EQ(byte(h, 4) | byte(h, 5) << 8, 1234u);
  EXPECT_EQ(byte(h, 8) | byte(h, 9) << 8, h.size());
  EXPECT_EQ(byte(h, 10) | byte(h, 11) << 8, 1u + 11 + 512 + 12 + 18 + 8 + 1 + 10);
  EXPECT_EQ(byte(h, 29), 0x02u);
  EXPECT_EQ(byte(h, h.size() - 1), 0x0Du);
  // The 512-wide field keeps its high byte in the decimals byte.
  EXPECT_EQ(h.substr(64, 11), std::string("NOME\0\0\0\0\0\0\0", 11));
  EXPECT_EQ(h[64 + 11], 'C');
  EXPECT_EQ(byte(h, 64 + 16), 0u);
  EXPECT_EQ(byte(h, 64 + 17), 2u);
  EXPECT_EQ(byte(h, 96 + 16), 12u);
  EXPECT_EQ(byte(h, 96 + 17), 2u);
  std::vector<FieldDef> plain = {{"A", 'C', 3, 0}};
  EXPECT_EQ(byte(build_dbf_header(plain, 0, Date::ymd(2014, 1, 1)), 0), 0x03u);
}

TEST(DbfFormat, ParseGivesBackTheLayout) {
  std::vector<FieldDef> fields = sample_fields();
  fields[0].name = "cpf";  // written upper case
  std::string h = build_dbf_header(fields, 9, Date::ymd(2013, 12, 31));
  DbfHeader p;
  ASSERT_TRUE(parse_dbf_header(h, p)) << parse_dbf_header(h, p).message;
  EXPECT_EQ(p.record_count, 9u);
  EXPECT_EQ(p.update_year, 2013);
  EXPECT_EQ(p.update_month, 12);
  EXPECT_EQ(p.update_day, 31);
  ASSERT_EQ(p.fields.size(), fields.size());
  int offset = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(p.fields[i].name, i == 0 ? "CPF" : fields[i].name);
    EXPECT_EQ(p.fields[i].type, fields[i].type);
    EXPECT_EQ(p.fields[i].len, fields[i].len);
    EXPECT_EQ(p.fields[i].dec, fields[i].dec);
    EXPECT_EQ(p.offsets[i], offset);
    offset += fields[i].len;
  }
  EXPECT_EQ(p.record_len, offset);
  EXPECT_TRUE(p.has_memo_fields());
}

TEST(DbfFormat, ManyFieldsAndLongRecord) {
  // 146 fields, record length 1803, as the widest declaration table.
  std::vector<FieldDef> f;
  f.push_back({"CPF", 'C', 11, 0});
  for (int i = 1; f.size() < 145; ++i) f.push_back({"I13_" + std::to_string(i), 'N', 12, 2});
  int used = 1;
  for (auto& x : f) used += x.len;
  f.push_back({"RESTO", 'C', 1803 - used, 0});
  ASSERT_TRUE(validate_dbf_fields(f));
  std::string h = build_dbf_header(f, 0, Date::ymd(2014, 1, 2));
  DbfHeader p;
  ASSERT_TRUE(parse_dbf_header(h, p));
  EXPECT_EQ(p.fields.size(), 146u);
  EXPECT_EQ(p.record_len, 1803);
  EXPECT_EQ(p.header_len, 32 + 32 * 146 + 1);
}

TEST(DbfFormat, DamagedHeadersAreRefusedWithAReason) {
  const std::string good = build_dbf_header({{"A", 'C', 3, 0}, {"B", 'N', 5, 2}}, 0, Date::ymd(2014, 1, 1));
  struct Case {
    const char* what;
    std::size_t at;
    unsigned char value;
  } cases[] = {
      {"unknown version", 0, 0x42},
      {"header length too short", 8, 40},
      {"header length beyond the terminator slack", 9, 0x7F},
      {"record length disagrees", 10, 99},
      {"unknown field type", 32 + 11, 'X'},
      {"numeric too wide", 64 + 16, 21},
      {"decimals not below the width", 64 + 17, 5},
      {"date of wrong width", 32 + 11, 'D'},
      {"empty name", 32, 0},
      {"name with a control byte", 33, 0x01},
      {"duplicate name", 64, 'A'},
      {"terminator missing", 96, 'Z'},
  };
  for (const Case& c : cases) {
    std::string bad = good;
    bad[c.at] = static_cast<char>(c.value);
    DbfHeader p;
    DbfStatus s = parse_dbf_header(bad, p);
    EXPECT_EQ(s.code, DbfCode::Damaged) << c.what;
    EXPECT_FALSE(s.message.empty()) << c.what;
  }
  DbfHeader p;
  EXPECT_EQ(parse_dbf_header(good.substr(0, 20), p).code, DbfCode::Damaged) << "shorter than a prefix";
  EXPECT_EQ(parse_dbf_header(good.substr(0, good.size() - 1), p).code, DbfCode::Damaged)
      << "shorter than its header length";
}

TEST(DbfFormat, PaddingAfterTheTerminatorIsAccepted) {
  std::string h = build_dbf_header({{"A", 'C', 3, 0}}, 0, Date::ymd(2014, 1, 1));
  h.push_back('\0');  // some writers leave one more byte
  h[8] = static_cast<char>(h.size());
  DbfHeader p;
  ASSERT_TRUE(parse_dbf_header(h, p));
  EXPECT_EQ(p.header_len, h.size());
}

TEST(DbfFormat, RecordCountAgainstFileSize) {
  DbfHeader h;
  h.header_len = 97;
  h.record_len = 10;
  h.record_count = 3;
  struct Case {
    std::uint64_t size;
    bool ok;
  } cases[] = {{97 + 30 + 1, true}, {97 + 30, true}, {97 + 30 + 7, true}, {97 + 29, false}, {50, false}};
  for (const Case& c : cases) EXPECT_EQ(check_dbf_size(h, c.size).is_ok(), c.ok) << c.size;
  h.record_count = 0xFFFFFFFFu;
  EXPECT_EQ(check_dbf_size(h, 1000).code, DbfCode::Damaged);
}

TEST(DbfFormat, LayoutValidationForCreation) {
  struct Case {
    FieldDef f;
    bool ok;
  } cases[] = {
      {{"CPF", 'C', 11, 0}, true},     {{"NOME", 'C', 512, 0}, true},  {{"V", 'N', 18, 8}, true},
      {{"V", 'N', 20, 0}, true},       {{"V", 'N', 21, 0}, false},     {{"V", 'N', 3, 2}, false},
      {{"V", 'N', 4, 2}, true},        {{"D", 'D', 8, 0}, true},       {{"D", 'D', 6, 0}, false},
      {{"L", 'L', 1, 0}, true},        {{"L", 'L', 2, 0}, false},      {{"M", 'M', 10, 0}, true},
      {{"M", 'M', 4, 0}, false},       {{"X", 'F', 5, 0}, false},      {{"", 'C', 1, 0}, false},
      {{"NOMECOMPRIDO", 'C', 1, 0}, false}, {{"1A", 'C', 1, 0}, false}, {{"A B", 'C', 1, 0}, false},
      {{"C", 'C', 0, 0}, false},       {{"C", 'C', 5, 1}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(validate_dbf_fields({c.f}).is_ok(), c.ok) << c.f.name << " " << c.f.type << c.f.len;
  EXPECT_FALSE(validate_dbf_fields({{"A", 'C', 1, 0}, {"a", 'N', 2, 0}})) << "names compared without case";
  EXPECT_FALSE(validate_dbf_fields({}));
  EXPECT_FALSE(validate_dbf_fields({{"A", 'C', 40000, 0}, {"B", 'C', 40000, 0}})) << "record over 64 KB";
}

}  // namespace
