// Facts every table layout must satisfy, and the sizes of the main tables.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "storage/catalogue.hpp"
#include "storage/layout.hpp"

using namespace tx::storage;

namespace {

// Numbers the system creates itself (declaration tables, working copies,
// office tables).
std::vector<int> created_numbers() {
  std::vector<int> out;
  for (int n = 1; n <= 40; ++n) out.push_back(n);
  for (int n : {41, 42, 43, 44, 50, 52, 53, 54, 56, 57, 63, 67, 68, 70, 72, 73, 74}) out.push_back(n);
  return out;
}

int position(const std::vector<FieldDef>& fields, const std::string& name) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

TEST(LayoutTables, EveryCreatedTableHasAWellFormedLayout) {
  for (int n : created_numbers()) {
    SCOPED_TRACE("table " + std::to_string(n));
    const std::vector<FieldDef>* fields = table_layout(n);
    ASSERT_NE(fields, nullptr);
    ASSERT_FALSE(fields->empty());
    std::set<std::string> seen;
    for (const FieldDef& f : *fields) {
      SCOPED_TRACE(f.name);
      EXPECT_TRUE(seen.insert(f.name).second) << "duplicate field";
      EXPECT_GE(f.name.size(), 1u);
      EXPECT_LE(f.name.size(), 10u);
      EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(f.name[0])));
      for (char c : f.name) {
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) ||
                    std::isdigit(static_cast<unsigned char>(c)) || c == '_')
            << "character '" << c << "'";
      }
      switch (f.type) {
        case 'C':
          EXPECT_GE(f.len, 1);
          EXPECT_LE(f.len, 512);
          EXPECT_EQ(f.dec, 0);
          break;
        case 'N':
          EXPECT_GE(f.len, 1);
          EXPECT_LE(f.len, 20);
          EXPECT_GE(f.dec, 0);
          EXPECT_LT(f.dec, f.len);
          // a number with decimals needs room for the point and one digit before it
          if (f.dec > 0) {
            EXPECT_GE(f.len, f.dec + 2);
          }
          break;
        case 'D': EXPECT_EQ(f.len, 8); break;
        case 'L': EXPECT_EQ(f.len, 1); break;
        default: ADD_FAILURE() << "type " << f.type;
      }
    }
  }
}

TEST(LayoutTables, DeclarationTablesStartWithCpf) {
  for (int n = 1; n <= 20; ++n) {
    const auto& fields = *table_layout(n);
    EXPECT_EQ(fields[0].name, "CPF") << n;
    EXPECT_EQ(fields[0].type, 'C') << n;
    EXPECT_EQ(fields[0].len, 11) << n;
  }
  // the rural annex carries its place of activity right after the CPF
  for (int n = 15; n <= 19; ++n) EXPECT_EQ((*table_layout(n))[1].name, "ATV_BRASIL") << n;
}

TEST(LayoutTables, FieldCountsAndRecordLengths) {
  struct Case {
    int number;
    std::size_t fields;
    int record;
  } cases[] = {
      {1, 146, 1803}, {2, 76, 937},  {3, 8, 96},   {4, 26, 850},  {5, 8, 570},
      {6, 21, 288},   {7, 134, 1818}, {8, 23, 216}, {9, 102, 1135}, {42, 39, 807}, {43, 33, 336}, {12, 93, 1115}, {15, 66, 608}, {50, 2, 82},
      {56, 18, 110},  {67, 6, 75},   {72, 5, 97},
  };
  for (const Case& c : cases) {
    const std::vector<FieldDef>* fields = table_layout(c.number);
    ASSERT_NE(fields, nullptr) << c.number;
    EXPECT_EQ(fields->size(), c.fields) << "table " << c.number;
    EXPECT_EQ(record_length(*fields), c.record) << "table " << c.number;
  }
}

TEST(LayoutTables, WorkingCopiesMirrorTheirTables) {
  for (int n = 21; n <= 40; ++n) {
    ASSERT_NE(table_layout(n), nullptr) << n;
    EXPECT_EQ(table_layout(n), table_layout(n - 20)) << n;
  }
}

TEST(LayoutTables, DeliveredAndUnknownTablesHaveNoLayout) {
  for (int n : {45, 46, 47, 48, 49, 51, 55, 58, 59, 60, 61, 62, 64, 65, 66, 69, 75,  // delivered
                0, -1, 71, 76, 99, 1000})
    EXPECT_EQ(table_layout(n), nullptr) << n;
}

TEST(LayoutTables, LayoutsAgreeWithTheCatalogue) {
  for (int n : catalogue_numbers()) {
    const CatalogueEntry* e = catalogue_entry(n);
    if (e->created_when_missing)
      EXPECT_NE(table_layout(n), nullptr) << n << " is created when missing but has no layout";
    else
      EXPECT_EQ(table_layout(n), nullptr) << n << " is delivered but has a layout";
  }
}

TEST(LayoutTables, OnlyTheLongDescriptionsAre512Wide) {
  std::set<std::string> wide;
  for (int n : created_numbers())
    for (const FieldDef& f : *table_layout(n))
      if (f.type == 'C' && f.len == 512) wide.insert(std::to_string(n) + ":" + f.name);
  // tables 21-40 repeat 1-20
  std::set<std::string> expected = {"4:I7_2",   "5:I8_2",   "17:I8R_1",  "18:I9R_1",
                                    "24:I7_2",  "25:I8_2",  "37:I8R_1",  "38:I9R_1",
                                    "52:DESCRICAO"};
  EXPECT_EQ(wide, expected);
}

TEST(LayoutTables, BillingSlipHasSixFieldsAndOneDocumentNumber) {
  const auto& fields = *table_layout(67);
  ASSERT_EQ(fields.size(), 6u);
  const char* names[] = {"NRODOCUM", "NOSSONRO", "DATADOC", "VALORDOC", "NOMESAC", "CPFSAC"};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(fields[i].name, names[i]);
  int count = 0;
  for (const FieldDef& f : fields) count += f.name == "NRODOCUM";
  EXPECT_EQ(count, 1);
}

TEST(LayoutTables, MixedCaseNamesAreStoredUpperCase) {
  struct Case {
    int number;
    const char* name;
  } cases[] = {{1, "CPFINVENT"}, {1, "DATADECIS"}, {1, "NROPROCES"}, {1, "LIVRCARTO"},
               {12, "CPFDEPEN"}, {42, "DIRTRAB"},  {42, "QUEIMP"},   {42, "ULT_SENAAR"},
               {42, "MOSCPF"},   {54, "CODERR"}};
  for (const Case& c : cases) EXPECT_GE(position(*table_layout(c.number), c.name), 0) << c.name;
}

TEST(LayoutTables, LayoutUpgradeMarkersExist) {
  struct Case {
    int number;
    const char* name;
    char type;
  } cases[] = {{1, "I4_10", 'N'}, {2, "I1_36", 'C'}, {7, "NEW", 'L'}, {9, "I9_6", 'C'}};
  for (const Case& c : cases) {
    const auto& fields = *table_layout(c.number);
    int at = position(fields, c.name);
    ASSERT_GE(at, 0) << c.name;
    EXPECT_EQ(fields[static_cast<std::size_t>(at)].type, c.type) << c.name;
  }
}

TEST(LayoutTables, CreationMessages) {
  struct Case {
    int number;
    const char* text;
  } cases[] = {
      {1, "Criando IMP01.DBF"},  {9, "Criando IMP09.DBF"},   {14, "Criando IMP14.DBF"},
      {15, "Criando IMP15.DBF)"}, {16, "Criando IMP16.DBF"}, {20, "Criando IMP20.DBF"},
      {21, "Criando IMP01.DBF"}, {35, "Criando IMP15.DBF)"}, {40, "Criando IMP20.DBF"},
      {50, "Criando DIRETOR.DBF"}, {41, ""}, {43, ""}, {67, ""}, {68, ""}, {72, ""},
      {46, ""}, {0, ""}, {71, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(creation_message(c.number), c.text) << c.number;
}
