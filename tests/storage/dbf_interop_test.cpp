// Tables written here are read by two independent dBASE readers from Debian
// (python3-dbfread and python3-dbf), and tables written by python3-dbf are
// read here, with the same values for every field type.
//
// What the readers do with a character field wider than 255 (high byte of
// the width in the decimals byte): dbfread honours it; python3-dbf honours it
// only for Clipper tables (dbf_type "clp"), and refuses such a table opened as
// dBASE III or FoxPro with a record-length error.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "dbf_test_util.hpp"
#include "storage/dbf_table.hpp"

using namespace tx;
using namespace tx::storage;
using tx::storage::dbf_testing::DbfScratchDir;
using tx::storage::dbf_testing::write_all;

namespace {

const char* kPython = "/usr/bin/python3";

struct Sample {
  std::vector<FieldDef> fields;
  std::vector<std::vector<std::string>> rows;  // UTF-8 text of each value
};

std::string hex(const std::string& s) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out.push_back(d[c >> 4]);
    out.push_back(d[c & 15]);
  }
  return out;
}

std::string rows_file(const Sample& s) {
  std::string out;
  for (const FieldDef& f : s.fields)
    out += f.name + ":" + f.type + ":" + std::to_string(f.len) + ":" + std::to_string(f.dec) + " ";
  out += "\n";
  for (const auto& row : s.rows) {
    for (std::size_t i = 0; i < row.size(); ++i) out += (i ? "\t" : "") + hex(row[i]);
    out += "\n";
  }
  return out;
}

// A sample restricted to some field types / names.
Sample select(const Sample& all, const std::vector<std::string>& names) {
  Sample s;
  std::vector<std::size_t> idx;
  for (const std::string& n : names)
    for (std::size_t i = 0; i < all.fields.size(); ++i)
      if (all.fields[i].name == n) {
        idx.push_back(i);
        s.fields.push_back(all.fields[i]);
      }
  for (const auto& row : all.rows) {
    std::vector<std::string> r;
    for (std::size_t i : idx) r.push_back(row[i]);
    s.rows.push_back(r);
  }
  return s;
}

Sample every_type() {
  Sample s;
  s.fields = {{"CPF", 'C', 11, 0}, {"NOME", 'C', 40, 0}, {"LONGO", 'C', 512, 0}, {"VALOR", 'N', 12, 2},
              {"TAXA", 'N', 18, 8}, {"QTD", 'N', 4, 0},  {"DT", 'D', 8, 0},       {"OK", 'L', 1, 0},
              {"NOTA", 'M', 10, 0}};
  s.rows = {
      {"12345678901", "José da Conceição", std::string(300, 'a') + "ção" + std::string(200, 'z'), "1234.56",
       "0.12345678", "12", "20140430", "T", "nota com acentuação\r\nsegunda linha"},
      {"00000000000", "ÇÃO", "fim", "-0.01", "-12345678.12345678", "-999", "", "F", ""},
      {"", "", "", "0", "0", "0", "19000101", "F", std::string(2000, 'm')},
      {"99999999999", "Último", std::string(512, 'w'), "999999999.99", "1.5", "9999", "20991231", "T", "x"},
  };
  return s;
}

class DbfInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (run("-c", "import dbf, dbfread").first != 0)
      GTEST_SKIP() << "python3-dbf and python3-dbfread are not installed for " << kPython;
  }

  // Runs the helper script (or `python -c`) and returns exit code and output.
  std::pair<int, std::string> run(const std::string& a, const std::string& b, const std::string& c = "") {
    std::string script = std::string(TX_SOURCE_DIR) + "/tests/storage/dbf_interop.py";
    std::string cmd = std::string(kPython) + " " + (a == "-c" ? "-c '" + b + "'" : script + " " + a + " " + b + " " + c) +
                      " 2>&1";
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return {-1, "popen failed"};
    char buf[512];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    int rc = ::pclose(p);
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
  }

  std::pair<int, std::string> check_with(const std::string& mode, const std::string& table, const Sample& s) {
    std::string rows_path = table + ".rows";
    write_all(rows_path, rows_file(s));
    return run(mode, table, rows_path);
  }

  void write_ours(const std::string& path, const Sample& s) {
    ASSERT_TRUE(DbfTable::create(path, s.fields, Date::ymd(2014, 4, 30)));
    DbfTable t;
    ASSERT_TRUE(t.open(path, DbfTable::Mode::Exclusive));
    for (const auto& row : s.rows) {
      ASSERT_TRUE(t.append_blank());
      for (int i = 0; i < t.field_count(); ++i) {
        const std::string& v = row[static_cast<std::size_t>(i)];
        DbfStatus st;
        switch (t.field(i).type) {
          case 'C': st = t.set_text(i, from_utf8(v)); break;
          case 'N': st = t.set_number(i, *Decimal::parse(v)); break;
          case 'D': st = t.set_date(i, STOD(v)); break;
          case 'L': st = t.set_logical(i, v == "T"); break;
          case 'M': st = t.set_memo(i, from_utf8(v)); break;
        }
        ASSERT_TRUE(st) << t.field(i).name << ": " << st.message;
      }
    }
    ASSERT_TRUE(t.close());
  }

  void expect_ours_reads(const std::string& path, const Sample& s) {
    DbfTable t;
    DbfStatus st = t.open(path, DbfTable::Mode::Shared);
    ASSERT_TRUE(st) << st.message;
    ASSERT_EQ(t.record_count(), s.rows.size());
    ASSERT_EQ(static_cast<std::size_t>(t.field_count()), s.fields.size());
    for (std::uint32_t r = 1; r <= s.rows.size(); ++r) {
      ASSERT_TRUE(t.go(r));
      for (int i = 0; i < t.field_count(); ++i) {
        const FieldDef& f = t.field(i);
        EXPECT_EQ(f.name, s.fields[static_cast<std::size_t>(i)].name);
        EXPECT_EQ(f.len, s.fields[static_cast<std::size_t>(i)].len) << f.name;
        const std::string& want = s.rows[r - 1][static_cast<std::size_t>(i)];
        std::string got;
        switch (f.type) {
          case 'C': {
            std::string_view v = t.get_text(i);
            while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
            got = to_utf8(v);
            break;
          }
          case 'N':
            EXPECT_EQ(t.get_number(i), *Decimal::parse(want)) << "record " << r << " " << f.name;
            continue;
          case 'D': got = t.get_date(i).empty() ? "" : DTOS(t.get_date(i)); break;
          case 'L': got = t.get_logical(i) ? "T" : "F"; break;
          case 'M': {
            std::string memo;
            ASSERT_TRUE(t.get_memo(i, memo));
            got = to_utf8(memo);
            break;
          }
        }
        EXPECT_EQ(got, want) << "record " << r << " " << f.name;
      }
    }
  }

  DbfScratchDir dir;
};

TEST_F(DbfInteropTest, DbfreadReadsEveryTypeIncludingTheWideText) {
  Sample s = every_type();
  std::string path = dir.file("TODOS.DBF");
  write_ours(path, s);
  auto [rc, out] = check_with("dbfread", path, s);
  EXPECT_EQ(rc, 0) << out;
  EXPECT_EQ(out, "OK 4\n");
}

TEST_F(DbfInteropTest, PythonDbfReadsEveryTypeUpTo255Wide) {
  Sample s = select(every_type(), {"CPF", "NOME", "VALOR", "TAXA", "QTD", "DT", "OK", "NOTA"});
  std::string memo_path = dir.file("MEMO.DBF");
  write_ours(memo_path, s);
  auto [rc, out] = check_with("dbf", memo_path, s);
  EXPECT_EQ(rc, 0) << out;
  Sample plain = select(every_type(), {"CPF", "VALOR", "TAXA", "DT", "OK"});
  std::string plain_path = dir.file("PLANO.DBF");
  write_ours(plain_path, plain);
  auto [rc2, out2] = check_with("dbf", plain_path, plain);
  EXPECT_EQ(rc2, 0) << out2;
}

TEST_F(DbfInteropTest, PythonDbfReadsTheWideTextOnlyAsClipper) {
  Sample s = select(every_type(), {"CPF", "LONGO", "VALOR", "DT", "OK"});
  std::string path = dir.file("LONGO.DBF");
  write_ours(path, s);
  auto [rc, out] = check_with("dbf-clp", path, s);
  EXPECT_EQ(rc, 0) << out;
  auto [rc3, out3] = check_with("dbf", path, s);
  EXPECT_EQ(rc3, 2) << out3;
  EXPECT_NE(out3.find("record length"), std::string::npos) << out3;
}

TEST_F(DbfInteropTest, WeReadWhatPythonDbfWrites) {
  struct Case {
    const char* mode;
    std::vector<std::string> fields;
  } cases[] = {
      {"write-db3", {"CPF", "NOME", "VALOR", "TAXA", "QTD", "DT", "OK"}},
      {"write-fp", {"CPF", "NOME", "VALOR", "QTD", "DT", "OK", "NOTA"}},
      {"write-clp", {"CPF", "LONGO", "VALOR", "DT"}},
  };
  for (const Case& c : cases) {
    Sample s = select(every_type(), c.fields);
    std::string path = dir.file(std::string(c.mode + 6) + ".dbf");
    auto [rc, out] = check_with(c.mode, path, s);
    ASSERT_EQ(rc, 0) << c.mode << ": " << out;
    SCOPED_TRACE(c.mode);
    expect_ours_reads(path, s);
  }
}

}  // namespace
