// DbfTable on real files: values of every field type survive a close and a
// reopen, numbers are rounded or refused, memo texts, pack/zap/copy, the
// shared-mode rules, and damaged files refused with a clear error.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dbf_test_util.hpp"
#include "storage/dbf_table.hpp"

using namespace tx;
using namespace tx::storage;
using tx::storage::dbf_testing::read_all;
using tx::storage::dbf_testing::DbfScratchDir;
using tx::storage::dbf_testing::write_all;

namespace {

Decimal dec(const char* s) { return *Decimal::parse(s); }

std::vector<FieldDef> every_type() {
  return {{"CPF", 'C', 11, 0},   {"TEXTO", 'C', 512, 0}, {"VALOR", 'N', 12, 2}, {"TAXA", 'N', 18, 8},
          {"QTD", 'N', 4, 0},    {"DT", 'D', 8, 0},      {"OK", 'L', 1, 0},     {"NOTA", 'M', 10, 0}};
}

class DbfTableTest : public ::testing::Test {
 protected:
  void make(const std::vector<FieldDef>& fields) {
    ASSERT_TRUE(DbfTable::create(path, fields, Date::ymd(2014, 3, 1)));
  }
  void open(DbfTable& t, DbfTable::Mode m = DbfTable::Mode::Exclusive) {
    DbfStatus s = t.open(path, m);
    ASSERT_TRUE(s) << s.message;
  }
  DbfScratchDir dir;
  std::string path = dir.file("IMP0114.DBF");
};

struct Row {
  const char* cpf;
  std::string texto;
  const char* valor;
  const char* taxa;
  const char* qtd;
  Date dt;
  bool ok;
  std::string nota;
};

TEST_F(DbfTableTest, EveryFieldTypeSurvivesReopen) {
  make(every_type());
  const std::vector<Row> rows = {
      {"12345678901", std::string(511, 'x') + "y", "1234.56", "0.12345678", "12", Date::ymd(2014, 4, 30), true,
       "primeira nota"},
      {"00000000000", "\x80\x87\xc6o", "-0.01", "-12345678.12345678", "-999", Date{}, false, ""},
      {"", "", "0", "0", "0", Date::ymd(1900, 1, 1), false, std::string(3000, 'm')},
      {"9", "curto", "999999999.99", "1", "9999", Date::ymd(2099, 12, 31), true, "x"},
  };
  {
    DbfTable t;
    open(t);
    for (const Row& r : rows) {
      ASSERT_TRUE(t.append_blank());
      ASSERT_TRUE(t.set_text("CPF", r.cpf));
      ASSERT_TRUE(t.set_text("texto", r.texto));
      ASSERT_TRUE(t.set_number("VALOR", dec(r.valor)));
      ASSERT_TRUE(t.set_number("TAXA", dec(r.taxa)));
      ASSERT_TRUE(t.set_number("QTD", dec(r.qtd)));
      ASSERT_TRUE(t.set_date("DT", r.dt));
      ASSERT_TRUE(t.set_logical("OK", r.ok));
      DbfStatus m = t.set_memo("NOTA", r.nota);
      ASSERT_TRUE(m) << m.message;
    }
    ASSERT_TRUE(t.close());
  }
  DbfTable t;
  open(t, DbfTable::Mode::Shared);
  ASSERT_EQ(t.record_count(), rows.size());
  for (std::uint32_t n = 1; n <= rows.size(); ++n) {
    const Row& r = rows[n - 1];
    ASSERT_TRUE(t.go(n));
    std::string cpf = r.cpf;
    cpf.resize(11, ' ');
    EXPECT_EQ(t.get_text("CPF"), cpf);
    std::string texto = r.texto;
    texto.resize(512, ' ');
    EXPECT_EQ(t.get_text(1), texto);
    EXPECT_EQ(t.get_number("VALOR"), dec(r.valor)) << n;
    EXPECT_EQ(t.get_number("TAXA"), dec(r.taxa)) << n;
    EXPECT_EQ(t.get_number("QTD"), dec(r.qtd)) << n;
    EXPECT_EQ(t.get_date("DT"), r.dt) << n;
    EXPECT_EQ(t.get_logical("OK"), r.ok) << n;
    std::string memo;
    ASSERT_TRUE(t.get_memo("NOTA", memo));
    EXPECT_EQ(memo, r.nota) << n;
    EXPECT_FALSE(t.deleted());
  }
  ASSERT_TRUE(t.go(2));
  EXPECT_EQ(t.get_text("DT"), "        ") << "the empty date is stored blank";
  EXPECT_EQ(t.get_text("VALOR"), "       -0.01");
  EXPECT_EQ(t.get_text("NOTA"), "          ") << "no memo, no block";
  ASSERT_TRUE(t.go(1));
  EXPECT_EQ(t.get_text("OK"), "T");
  EXPECT_EQ(t.get_text("QTD"), "  12");
}

TEST_F(DbfTableTest, NumbersRoundHalfAwayOrAreRefused) {
  make({{"V", 'N', 5, 2}, {"I", 'N', 4, 0}, {"M", 'N', 12, 2}, {"T", 'N', 18, 8}});
  DbfTable t;
  open(t);
  ASSERT_TRUE(t.append_blank());
  struct Case {
    const char* field;
    const char* value;
    const char* stored;  // nullptr: refused
  } cases[] = {
      {"V", "1.005", " 1.01"},        {"V", "-1.005", "-1.01"},      {"V", "0.5", " 0.50"},
      {"V", "-0.004", " 0.00"},       {"V", "99.99", "99.99"},       {"V", "99.995", nullptr},
      {"V", "100", nullptr},          {"V", "-9.99", "-9.99"},       {"V", "-10", nullptr},
      {"I", "2.5", "   3"},           {"I", "-2.5", "  -3"},         {"I", "9999", "9999"},
      {"I", "10000", nullptr},        {"I", "-999", "-999"},         {"I", "-1000", nullptr},
      {"M", "999999999.99", "999999999.99"}, {"M", "1000000000", nullptr},
      {"T", "123456789.12345678", "123456789.12345678"}, {"T", "0.000000005", "        0.00000001"}, {"T", "-123456789.12345678", nullptr},
      {"T", "1234567890.1", nullptr},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(t.set_number(c.field, 7));
    std::string before(t.get_text(c.field));
    DbfStatus s = t.set_number(c.field, dec(c.value));
    if (c.stored) {
      EXPECT_TRUE(s) << c.field << " " << c.value << ": " << s.message;
      EXPECT_EQ(t.get_text(c.field), c.stored) << c.field << " " << c.value;
    } else {
      EXPECT_EQ(s.code, DbfCode::Invalid) << c.field << " " << c.value;
      EXPECT_NE(s.message.find("cabe"), std::string::npos) << s.message;
      EXPECT_EQ(t.get_text(c.field), before) << "a refused value leaves the field as it was";
      EXPECT_EQ(std::string(t.get_text(c.field)).find('*'), std::string::npos);
    }
  }
}

TEST_F(DbfTableTest, StoredNumbersReadLeniently) {
  make({{"V", 'N', 8, 2}});
  DbfTable t;
  open(t);
  ASSERT_TRUE(t.append_blank());
  struct Case {
    const char* bytes;
    const char* value;
  } cases[] = {{"        ", "0"}, {"   12.50", "12.5"}, {"  -0.75 ", "-0.75"}, {"********", "0"}, {"12      ", "12"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(t.set_raw(0, c.bytes));
    EXPECT_EQ(t.get_number(0), dec(c.value)) << c.bytes;
  }
}

TEST_F(DbfTableTest, FieldsByNameAndTypeChecks) {
  make(every_type());
  DbfTable t;
  open(t);
  EXPECT_EQ(t.field_index("cpf"), 0);
  EXPECT_EQ(t.field_index("Nota"), 7);
  EXPECT_EQ(t.field_index("NOPE"), -1);
  EXPECT_EQ(t.field_index("MUITO_COMPRIDO"), -1);
  EXPECT_EQ(t.set_text("CPF", "1").code, DbfCode::Invalid) << "no record at end of file";
  ASSERT_TRUE(t.append_blank());
  EXPECT_EQ(t.set_text("NOPE", "x").code, DbfCode::Invalid);
  EXPECT_EQ(t.set_text("VALOR", "12").code, DbfCode::Invalid) << "text into a number";
  EXPECT_EQ(t.set_number("CPF", 1).code, DbfCode::Invalid);
  EXPECT_EQ(t.set_date("OK", Date::ymd(2014, 1, 1)).code, DbfCode::Invalid);
  EXPECT_EQ(t.set_logical("DT", true).code, DbfCode::Invalid);
  EXPECT_EQ(t.set_memo("CPF", "x").code, DbfCode::Invalid);
  ASSERT_TRUE(t.set_text("CPF", "123456789012345"));
  EXPECT_EQ(t.get_text("CPF"), "12345678901") << "text is cut to the width";
  EXPECT_FALSE(t.get_logical("OK")) << "blank logical is false";
  // RecordView sees the same bytes.
  const RecordView& view = t;
  EXPECT_EQ(view.raw(view.field_index("cpf")), "12345678901");
  for (int i = 0; i < view.field_count(); ++i)
    EXPECT_EQ(view.raw(i).size(), static_cast<std::size_t>(view.field(i).len));
}

TEST_F(DbfTableTest, MemoRewriteReusesBlocksWhenItFits) {
  make({{"NOME", 'C', 10, 0}, {"TXT", 'M', 10, 0}});
  DbfTable t;
  open(t);
  ASSERT_TRUE(t.append_blank());
  ASSERT_TRUE(t.set_memo("TXT", std::string(100, 'a')));
  std::string first_block(t.get_text("TXT"));
  EXPECT_EQ(first_block, "         8") << "first block after the 512-byte header of 64-byte blocks";
  ASSERT_TRUE(t.set_memo("TXT", "curto"));
  EXPECT_EQ(std::string(t.get_text("TXT")), first_block) << "a shorter text stays in place";
  ASSERT_TRUE(t.set_memo("TXT", std::string(1000, 'b')));
  EXPECT_NE(std::string(t.get_text("TXT")), first_block) << "a longer text moves to new blocks";
  std::string memo;
  ASSERT_TRUE(t.get_memo("TXT", memo));
  EXPECT_EQ(memo, std::string(1000, 'b'));
  ASSERT_TRUE(t.set_memo("TXT", ""));
  ASSERT_TRUE(t.get_memo("TXT", memo));
  EXPECT_EQ(memo, "");
  // Damaged block numbers are reported, not trusted.
  for (const char* bad : {"    999999", "        3x", "         1"}) {
    ASSERT_TRUE(t.set_raw(1, bad));
    EXPECT_EQ(t.get_memo("TXT", memo).code, DbfCode::Damaged) << bad;
  }
}

TEST_F(DbfTableTest, MemoFileMissingOrDamagedIsReported) {
  make({{"TXT", 'M', 10, 0}});
  std::string memo = DbfTable::memo_path_for(path);
  EXPECT_EQ(memo, dir.file("IMP0114.FPT"));
  EXPECT_EQ(DbfTable::memo_path_for(dir.file("x.dbf")), dir.file("x.fpt"));
  {
    DbfTable t;
    open(t);
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_memo(0, "texto"));
  }
  // A memo whose length runs past the end of the file.
  std::string bytes = read_all(memo);
  bytes[512 + 4] = '\x7f';
  write_all(memo, bytes);
  {
    DbfTable t;
    open(t);
    std::string out;
    DbfStatus s = t.get_memo(0, out);
    EXPECT_EQ(s.code, DbfCode::Damaged);
    EXPECT_TRUE(out.empty());
  }
  std::filesystem::remove(memo);
  DbfTable t;
  EXPECT_EQ(t.open(path, DbfTable::Mode::Shared).code, DbfCode::NotFound);
  EXPECT_FALSE(t.is_open());
}

TEST_F(DbfTableTest, WidestLayoutWith146Fields) {
  std::vector<FieldDef> f{{"CPF", 'C', 11, 0}};
  for (int i = 1; f.size() < 145; ++i) f.push_back({"I13_" + std::to_string(i), 'N', 12, 2});
  int used = 1;
  for (auto& x : f) used += x.len;
  f.push_back({"RESTO", 'C', 1803 - used, 0});
  make(f);
  {
    DbfTable t;
    open(t);
    EXPECT_EQ(t.header().record_len, 1803);
    for (int r = 1; r <= 3; ++r) {
      ASSERT_TRUE(t.append_blank());
      ASSERT_TRUE(t.set_text(0, std::to_string(r)));
      for (int i = 1; i < 145; ++i) ASSERT_TRUE(t.set_number(i, Decimal::from_units(r * 1000 + i, 2)));
      ASSERT_TRUE(t.set_text(145, "fim"));
    }
  }
  DbfTable t;
  open(t);
  EXPECT_EQ(t.file_size(), 32u + 32 * 146 + 1 + 3 * 1803 + 1);
  for (std::uint32_t r = 1; r <= 3; ++r) {
    ASSERT_TRUE(t.go(r));
    for (int i = 1; i < 145; ++i) ASSERT_EQ(t.get_number(i), Decimal::from_units(r * 1000 + i, 2));
    EXPECT_EQ(t.get_text(145).substr(0, 3), "fim");
  }
}

TEST_F(DbfTableTest, SequentialMovesBothWaysSeeChanges) {
  make({{"N", 'N', 6, 0}, {"PAD", 'C', 200, 0}});
  DbfTable t;
  open(t);
  const std::uint32_t n = 1000;
  for (std::uint32_t i = 1; i <= n; ++i) {
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_number(0, static_cast<int>(i)));
  }
  for (std::uint32_t i = 1; i <= n; ++i) {
    ASSERT_TRUE(t.go(i));
    ASSERT_EQ(t.get_number(0), static_cast<int>(i));
    if (i % 7 == 0) {
      ASSERT_TRUE(t.set_number(0, static_cast<int>(i) * 10));
    }
  }
  for (std::uint32_t i = n; i >= 1; --i) {
    ASSERT_TRUE(t.go(i));
    ASSERT_EQ(t.get_number(0), static_cast<int>(i % 7 == 0 ? i * 10 : i)) << i;
  }
  EXPECT_FALSE(t.go(0));
  EXPECT_TRUE(t.eof());
  EXPECT_FALSE(t.go(n + 1));
  EXPECT_TRUE(t.eof());
  EXPECT_EQ(t.recno(), n + 1);
}

TEST_F(DbfTableTest, ExclusiveCountFollowsAppendsAndDateComesOnCommit) {
  make({{"A", 'C', 4, 0}});
  DbfTable t;
  open(t);
  t.set_today(Date::ymd(2014, 5, 2));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(t.append_blank());
  ASSERT_TRUE(t.go(1));  // writes the last appended record
  std::string bytes = read_all(path);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 5u) << "a stop now would lose no written record";
  EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 3u) << "date still the creation's";
  ASSERT_TRUE(t.commit());
  bytes = read_all(path);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 5u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 114u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 5u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[3]), 2u);
  EXPECT_EQ(bytes.size(), 32u + 32 + 1 + 5 * 5 + 1);
  EXPECT_EQ(bytes.back(), '\x1a');
}

TEST_F(DbfTableTest, PackKeepsUndeletedRecordsInOrder) {
  make({{"N", 'N', 4, 0}, {"TXT", 'M', 10, 0}});
  DbfTable t;
  open(t);
  for (int i = 1; i <= 10; ++i) {
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_number(0, i));
    ASSERT_TRUE(t.set_memo(1, "memo " + std::to_string(i)));
    if (i % 2 == 0) {
      ASSERT_TRUE(t.set_deleted(true));
    }
  }
  ASSERT_TRUE(t.go(4));
  EXPECT_TRUE(t.deleted());
  ASSERT_TRUE(t.set_deleted(false));  // recall
  DbfStatus s = t.pack();
  ASSERT_TRUE(s) << s.message;
  EXPECT_EQ(t.record_count(), 6u);
  const int expect[] = {1, 3, 4, 5, 7, 9};
  for (std::uint32_t r = 1; r <= 6; ++r) {
    ASSERT_TRUE(t.go(r));
    EXPECT_EQ(t.get_number(0), expect[r - 1]);
    std::string memo;
    ASSERT_TRUE(t.get_memo(1, memo));
    EXPECT_EQ(memo, "memo " + std::to_string(expect[r - 1]));
  }
  EXPECT_EQ(t.file_size(), t.header().header_len + 6u * t.header().record_len + 1);
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    ++files;
    EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos);
  }
  EXPECT_EQ(files, 2) << "only the table and its memo file remain";
  // Still exclusive after the swap: another open is refused.
  DbfTable other;
  EXPECT_EQ(other.open(path, DbfTable::Mode::Shared).code, DbfCode::Busy);
  ASSERT_TRUE(t.close());
  DbfTable again;
  open(again, DbfTable::Mode::Shared);
  EXPECT_EQ(again.record_count(), 6u);
  EXPECT_EQ(again.pack().code, DbfCode::Invalid) << "pack needs an exclusive open";
  EXPECT_EQ(again.zap().code, DbfCode::Invalid);
}

TEST_F(DbfTableTest, ZapAndCopyStructure) {
  make(every_type());
  DbfTable t;
  open(t);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_memo("NOTA", "x"));
  }
  ASSERT_TRUE(t.zap());
  EXPECT_EQ(t.record_count(), 0u);
  EXPECT_TRUE(t.eof());
  EXPECT_EQ(t.file_size(), t.header().header_len + 1u);
  ASSERT_TRUE(t.append_blank());
  ASSERT_TRUE(t.set_memo("NOTA", "depois"));
  EXPECT_EQ(t.get_text("NOTA"), "         8") << "memo blocks start over";
  std::string copy = dir.file("ACERTO.DBF");
  ASSERT_TRUE(t.copy_structure(copy));
  DbfTable c;
  ASSERT_TRUE(c.open(copy, DbfTable::Mode::Shared));
  EXPECT_EQ(c.record_count(), 0u);
  ASSERT_EQ(c.field_count(), t.field_count());
  for (int i = 0; i < c.field_count(); ++i) {
    EXPECT_EQ(c.field(i).name, t.field(i).name);
    EXPECT_EQ(c.field(i).type, t.field(i).type);
    EXPECT_EQ(c.field(i).len, t.field(i).len);
    EXPECT_EQ(c.field(i).dec, t.field(i).dec);
  }
}

TEST_F(DbfTableTest, SharedOpensSeeEachOthersWritesAndNeedLocks) {
  make({{"CPF", 'C', 11, 0}, {"V", 'N', 8, 2}});
  DbfTable a, b;
  open(a, DbfTable::Mode::Shared);
  open(b, DbfTable::Mode::Shared);
  ASSERT_TRUE(a.append_blank());
  EXPECT_TRUE(a.record_locked(1)) << "an appended record stays locked for its writer";
  ASSERT_TRUE(a.set_text("CPF", "11111111111"));
  ASSERT_TRUE(a.flush());
  EXPECT_EQ(b.record_count(), 1u);
  ASSERT_TRUE(b.go(1));
  EXPECT_EQ(b.get_text("CPF"), "11111111111");
  EXPECT_EQ(b.lock_record(1).code, DbfCode::Busy);
  EXPECT_EQ(b.lock_file().code, DbfCode::Busy);
  ASSERT_TRUE(b.set_number("V", 5));
  EXPECT_EQ(b.flush().code, DbfCode::Invalid) << "a shared record is written only under its lock";
  a.unlock_all();
  ASSERT_TRUE(b.lock_record(1));
  ASSERT_TRUE(b.flush());
  b.unlock_record(1);
  ASSERT_TRUE(a.go(1));
  EXPECT_EQ(a.get_number("V"), 5) << "the next go() reads the other's change";
  ASSERT_TRUE(a.lock_file());
  EXPECT_EQ(b.append_blank().code, DbfCode::Busy) << "no append while another holds the file";
  EXPECT_EQ(b.record_count(), 1u);
  DbfTable x;
  EXPECT_EQ(x.open(path, DbfTable::Mode::Exclusive).code, DbfCode::Busy);
  EXPECT_EQ(x.open(path, DbfTable::Mode::Exclusive).message, "Arquivo em uso por outro terminal");
  a.unlock_all();
  ASSERT_TRUE(b.append_blank());
  EXPECT_EQ(a.record_count(), 2u);
}

TEST_F(DbfTableTest, ReleasingARecordKeepsTheFileLock) {
  make({{"A", 'C', 4, 0}});
  {
    DbfTable t;
    open(t);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(t.append_blank());
  }
  DbfTable a, b;
  open(a, DbfTable::Mode::Shared);
  open(b, DbfTable::Mode::Shared);
  ASSERT_TRUE(a.lock_record(2));
  ASSERT_TRUE(a.lock_file());
  a.unlock_record(2);  // must not open a hole in the file lock
  EXPECT_EQ(b.lock_record(2).code, DbfCode::Busy);
  EXPECT_EQ(b.lock_record(3).code, DbfCode::Busy);
  a.unlock_all();
  EXPECT_TRUE(b.lock_record(2));
  EXPECT_TRUE(b.lock_record(3));
  b.unlock_record(2);
  EXPECT_TRUE(a.lock_record(2));
  EXPECT_EQ(a.lock_record(3).code, DbfCode::Busy) << "releasing one record keeps the others";
  EXPECT_TRUE(a.close());
  EXPECT_TRUE(b.lock_file()) << "closing drops every lock";
}

TEST_F(DbfTableTest, RereadDropsUnwrittenChanges) {
  make({{"A", 'C', 4, 0}});
  DbfTable t;
  open(t, DbfTable::Mode::Shared);
  ASSERT_TRUE(t.append_blank());
  ASSERT_TRUE(t.set_text(0, "um"));
  ASSERT_TRUE(t.flush());
  t.unlock_all();
  ASSERT_TRUE(t.set_text(0, "dois"));
  EXPECT_FALSE(t.go(1)) << "an unlocked change cannot be written, so the move is refused";
  ASSERT_TRUE(t.reread());
  EXPECT_EQ(t.get_text(0), "um  ");
  EXPECT_TRUE(t.go(1));
  ASSERT_TRUE(t.close());
  DbfTable x;
  open(x);
  ASSERT_TRUE(x.append_blank());
  ASSERT_TRUE(x.set_text(0, "novo"));
  ASSERT_TRUE(x.reread());
  EXPECT_TRUE(x.eof());
  EXPECT_EQ(x.record_count(), 1u) << "an append never written is dropped";
  ASSERT_TRUE(x.close());
  EXPECT_EQ(read_all(path).size(), 32u + 32 + 1 + 5 + 1);
}

TEST_F(DbfTableTest, CreateReplacesWholeAndLeavesNoTempFiles) {
  EXPECT_EQ(DbfTable::create(dir.file("nada/X.DBF"), {{"A", 'C', 1, 0}}).code, DbfCode::IoError);
  EXPECT_EQ(DbfTable::create(path, {{"A", 'X', 1, 0}}).code, DbfCode::Invalid);
  EXPECT_FALSE(std::filesystem::exists(path)) << "a refused layout writes nothing";
  make({{"A", 'C', 1, 0}});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(read_all(path).size(), 32u + 32 + 1 + 1);
}

TEST_F(DbfTableTest, DamagedFilesAreRefusedWithAReason) {
  make({{"CPF", 'C', 11, 0}, {"V", 'N', 8, 2}});
  {
    DbfTable t;
    open(t);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(t.append_blank());
  }
  const std::string good = read_all(path);
  auto with = [&](std::size_t at, unsigned char v) {
    std::string b = good;
    b[at] = static_cast<char>(v);
    return b;
  };
  struct Case {
    const char* what;
    std::string bytes;
    DbfCode code;
  } cases[] = {
      {"empty file", "", DbfCode::Damaged},
      {"garbage", std::string(300, 'G'), DbfCode::Damaged},
      {"cut inside the header", good.substr(0, 40), DbfCode::Damaged},
      {"cut inside the records", good.substr(0, good.size() - 10), DbfCode::Damaged},
      {"record count beyond the file", with(5, 0x10), DbfCode::Damaged},
      {"header length wrong", with(8, 0x80), DbfCode::Damaged},
      {"record length wrong", with(10, 30), DbfCode::Damaged},
      {"end marker missing", good.substr(0, good.size() - 1), DbfCode::Ok},
      {"extra bytes at the end", good + "\x1a\x1a", DbfCode::Ok},
  };
  for (const Case& c : cases) {
    write_all(path, c.bytes);
    DbfTable t;
    DbfStatus s = t.open(path, DbfTable::Mode::Shared);
    EXPECT_EQ(s.code, c.code) << c.what << ": " << s.message;
    if (c.code != DbfCode::Ok) {
      EXPECT_NE(s.message.find("danificado"), std::string::npos) << c.what << ": " << s.message;
      EXPECT_FALSE(t.is_open());
    } else {
      EXPECT_EQ(t.record_count(), 3u) << c.what;
    }
  }
  DbfTable t;
  EXPECT_EQ(t.open(dir.file("FALTA.DBF"), DbfTable::Mode::Shared).code, DbfCode::NotFound);
}

}  // namespace
