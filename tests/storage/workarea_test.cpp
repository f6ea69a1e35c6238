// Work areas over real table and index files: movement in every order,
// hidden records, seeks, and indexes that follow every change.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "storage/workarea.hpp"

using namespace tx;
using namespace tx::storage;
namespace fs = std::filesystem;

namespace {

struct TempDir {
  fs::path dir;
  TempDir() {
    dir = fs::temp_directory_path() / ("tx_wa_" + std::to_string(::getpid()) + "_" +
                                       std::to_string(std::random_device{}()));
    fs::create_directories(dir);
  }
  ~TempDir() { fs::remove_all(dir); }
  std::string operator/(const std::string& n) const { return (dir / n).string(); }
};

const std::vector<FieldDef> kFields = {
    {"CPF", 'C', 11, 0}, {"NOME", 'C', 20, 0}, {"I7_0", 'N', 4, 0}, {"VALOR", 'N', 12, 2}, {"DT", 'D', 8, 0}};

std::vector<std::string> walk(WorkArea& wa, const char* field) {
  std::vector<std::string> out;
  for (wa.go_top(); !wa.eof(); wa.skip()) out.push_back(wa.trimmed(field));
  return out;
}

std::vector<std::string> walk_back(WorkArea& wa, const char* field) {
  std::vector<std::string> out;
  for (wa.go_bottom(); !wa.bof() && !wa.eof(); wa.skip(-1)) out.push_back(wa.trimmed(field));
  return out;
}

class WorkAreaTest : public ::testing::Test {
 protected:
  TempDir tmp;
  WorkArea wa{9};
  void SetUp() override {
    ASSERT_TRUE(DbfTable::create(tmp / "T.DBF", kFields));
    ASSERT_TRUE(wa.open(tmp / "T.DBF", DbfTable::Mode::Exclusive, "T"));
  }
  void add(const char* cpf, const char* nome, int item) {
    ASSERT_TRUE(wa.append_blank());
    ASSERT_TRUE(wa.replace_text("CPF", cpf));
    ASSERT_TRUE(wa.replace_text("NOME", nome));
    ASSERT_TRUE(wa.replace_number("I7_0", item));
  }
};

}  // namespace

TEST_F(WorkAreaTest, OrdersFollowAppendsReplacesAndDeletes) {
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "CPF+str(I7_0,4)"));
  ASSERT_TRUE(wa.add_order(tmp / "TB.CDX", "UPPER(NOME)"));
  add("22222222222", "bruno", 2);
  add("11111111111", "Carla", 1);
  add("22222222222", "ana", 1);
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"Carla", "ana", "bruno"}));
  EXPECT_EQ(walk_back(wa, "NOME"), (std::vector<std::string>{"bruno", "ana", "Carla"}));
  ASSERT_TRUE(wa.set_order(2));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"ana", "bruno", "Carla"}));

  // A changed key moves the record in its order.
  ASSERT_TRUE(wa.seek("BRUNO"));
  ASSERT_TRUE(wa.found());
  ASSERT_TRUE(wa.replace_text("NOME", "Zeca"));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"ana", "Carla", "Zeca"}));

  // Deleted records are hidden in every order, and come back on recall.
  ASSERT_TRUE(wa.seek("ANA"));
  ASSERT_TRUE(wa.delete_record());
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"Carla", "Zeca"}));
  wa.set_hide_deleted(false);
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"ana", "Carla", "Zeca"}));
  ASSERT_TRUE(wa.seek("ANA"));
  ASSERT_TRUE(wa.recall());
  wa.set_hide_deleted(true);
  EXPECT_EQ(walk(wa, "NOME").size(), 3u);
}

TEST_F(WorkAreaTest, SeekExactPrefixSoftAndNotFound) {
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "CPF+str(I7_0,4)"));
  add("33333333333", "c", 1);
  add("11111111111", "a", 1);
  add("11111111111", "b", 2);
  ASSERT_TRUE(wa.seek("11111111111"));
  EXPECT_TRUE(wa.found());
  EXPECT_EQ(wa.trimmed("NOME"), "a");  // the first of the prefix
  ASSERT_TRUE(wa.seek("11111111111   2"));
  EXPECT_TRUE(wa.found());
  EXPECT_EQ(wa.trimmed("NOME"), "b");
  ASSERT_TRUE(wa.seek("2"));
  EXPECT_FALSE(wa.found());
  EXPECT_TRUE(wa.eof());
  ASSERT_TRUE(wa.seek("2", /*soft=*/true));
  EXPECT_FALSE(wa.found());
  EXPECT_FALSE(wa.eof());
  EXPECT_EQ(wa.trimmed("NOME"), "c");
  ASSERT_TRUE(wa.seek("9", true));
  EXPECT_TRUE(wa.eof());
}

TEST_F(WorkAreaTest, FilterHidesAndBofEofAtTheEnds) {
  for (int i = 1; i <= 6; ++i) add("11111111111", std::to_string(i).c_str(), i);
  ASSERT_TRUE(wa.set_filter("I7_0 > 2 .AND. I7_0 < 6"));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"3", "4", "5"}));
  wa.go_top();
  wa.skip(-1);
  EXPECT_TRUE(wa.bof());
  EXPECT_EQ(wa.trimmed("NOME"), "3");
  wa.go_bottom();
  EXPECT_EQ(wa.trimmed("NOME"), "5");
  wa.skip();
  EXPECT_TRUE(wa.eof());
  EXPECT_FALSE(wa.set_filter("NOME +").is_ok());
  EXPECT_FALSE(wa.set_filter("NOME").is_ok());  // not a condition
  wa.clear_filter();
  EXPECT_EQ(walk(wa, "NOME").size(), 6u);
}

TEST_F(WorkAreaTest, PackRebuildsEveryIndexNotOnlyTheFirst) {
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "CPF"));
  ASSERT_TRUE(wa.add_order(tmp / "TB.CDX", "UPPER(NOME)"));
  add("3", "c", 1);
  add("1", "a", 1);
  add("2", "b", 1);
  wa.go(2);
  ASSERT_TRUE(wa.delete_record());
  ASSERT_TRUE(wa.pack());
  EXPECT_EQ(wa.reccount(), 2u);
  ASSERT_TRUE(wa.set_order(2));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"b", "c"}));
  ASSERT_TRUE(wa.seek("B"));
  EXPECT_EQ(wa.recno(), 2u);  // the new record number, not the old one
  ASSERT_TRUE(wa.zap());
  EXPECT_EQ(wa.reccount(), 0u);
  EXPECT_TRUE(walk(wa, "NOME").empty());
}

TEST_F(WorkAreaTest, StaleDamagedOrForeignIndexesAreRebuilt) {
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "CPF"));
  add("2", "b", 1);
  add("1", "a", 1);
  ASSERT_TRUE(wa.close());

  // Another program appends a record behind the index's back.
  {
    DbfTable t;
    ASSERT_TRUE(t.open(tmp / "T.DBF", DbfTable::Mode::Exclusive));
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_text("CPF", "0"));
    ASSERT_TRUE(t.set_text("NOME", "zero"));
    ASSERT_TRUE(t.close());
  }
  ASSERT_TRUE(wa.open(tmp / "T.DBF", DbfTable::Mode::Exclusive, "T"));
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "CPF"));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"zero", "a", "b"}));
  ASSERT_TRUE(wa.close());

  // Garbage in the index file.
  {
    FILE* f = fopen((tmp / "T.CDX").c_str(), "r+b");
    ASSERT_TRUE(f);
    fseek(f, 1536, SEEK_SET);
    for (int i = 0; i < 600; ++i) fputc(0xFF, f);
    fclose(f);
  }
  ASSERT_TRUE(wa.open(tmp / "T.DBF", DbfTable::Mode::Exclusive, "T"));
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "CPF"));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"zero", "a", "b"}));

  // An index built on another expression is not used for this one.
  wa.close_orders();
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "UPPER(NOME)"));
  EXPECT_EQ(walk(wa, "NOME"), (std::vector<std::string>{"a", "b", "zero"}));
}

TEST(WorkAreaClosed, OperationsOnAClosedAreaAreErrorsNotCrashes) {
  WorkArea wa(3);
  EXPECT_FALSE(wa.go_top().is_ok());
  EXPECT_FALSE(wa.skip().is_ok());
  EXPECT_FALSE(wa.seek("X").is_ok());
  EXPECT_FALSE(wa.append_blank().is_ok());
  EXPECT_FALSE(wa.replace_text("CPF", "1").is_ok());
  EXPECT_FALSE(wa.pack().is_ok());
  EXPECT_EQ(wa.append_blank().message, std::string("\xB5rea de trabalho n\xC6o est\xA0 em uso"));
  EXPECT_TRUE(wa.eof());
  EXPECT_EQ(wa.reccount(), 0u);
}

TEST(WorkAreaModel, RandomChangesKeepTheIndexEqualToASortedModel) {
  TempDir tmp;
  ASSERT_TRUE(DbfTable::create(tmp / "M.DBF", kFields));
  WorkArea wa(1);
  ASSERT_TRUE(wa.open(tmp / "M.DBF", DbfTable::Mode::Exclusive, "M"));
  ASSERT_TRUE(wa.add_order(tmp / "M.CDX", "CPF+str(I7_0,4)"));
  std::mt19937 rng(7);
  std::map<std::uint32_t, std::string> model;  // recno -> key
  auto key_for = [](int cpf, int item) {
    char b[32];
    std::snprintf(b, sizeof b, "%011d%4d", cpf, item);
    return std::string(b);
  };
  for (int step = 0; step < 3000; ++step) {
    int op = static_cast<int>(rng() % 10);
    int cpf = static_cast<int>(rng() % 50), item = static_cast<int>(rng() % 20);
    char cbuf[16];
    std::snprintf(cbuf, sizeof cbuf, "%011d", cpf);
    if (op < 5 || model.empty()) {
      ASSERT_TRUE(wa.append_blank());
      ASSERT_TRUE(wa.replace_text("CPF", cbuf));
      ASSERT_TRUE(wa.replace_number("I7_0", item));
      model[wa.recno()] = key_for(cpf, item);
    } else {
      auto it = model.begin();
      std::advance(it, static_cast<long>(rng() % model.size()));
      ASSERT_TRUE(wa.go(it->first));
      if (op < 8) {
        ASSERT_TRUE(wa.replace_number("I7_0", item));
        ASSERT_TRUE(wa.replace_text("CPF", cbuf));
        it->second = key_for(cpf, item);
      } else {
        ASSERT_TRUE(wa.delete_record());
        model.erase(it);
      }
    }
    if (step % 500 == 499) {
      std::vector<std::pair<std::string, std::uint32_t>> want;
      for (auto& [r, k] : model) want.emplace_back(k, r);
      std::sort(want.begin(), want.end());
      std::vector<std::pair<std::string, std::uint32_t>> got;
      for (wa.go_top(); !wa.eof(); wa.skip()) got.emplace_back(wa.key_of(1), wa.recno());
      ASSERT_EQ(got, want) << "after step " << step;
    }
  }
}

TEST_F(WorkAreaTest, CopyTakesTheStructureAndTheVisibleRecordsInOrder) {
  ASSERT_TRUE(wa.add_order(tmp / "T.CDX", "UPPER(NOME)"));
  add("1", "carla", 3);
  add("2", "Ana", 1);
  add("3", "bia", 2);
  ASSERT_TRUE(wa.seek("BIA"));
  ASSERT_TRUE(wa.delete_record());
  ASSERT_TRUE(wa.replace_number("VALOR", Decimal::val("12.34")));
  wa.go_top();
  std::uint32_t here = wa.recno();
  ASSERT_TRUE(wa.copy_to(tmp / "C.DBF"));
  EXPECT_EQ(wa.recno(), here);
  WorkArea copy(2);
  ASSERT_TRUE(copy.open(tmp / "C.DBF", DbfTable::Mode::Shared, "C"));
  EXPECT_EQ(copy.table().field_count(), static_cast<int>(kFields.size()));
  EXPECT_EQ(walk(copy, "NOME"), (std::vector<std::string>{"Ana", "carla"}));
  EXPECT_FALSE(WorkArea(5).copy_to(tmp / "X.DBF").is_ok());
}
