// Families of generated fields: order, positions and types, and the
// generator's refusal of malformed rows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "storage/layout.hpp"
#include "storage/layout_rows.hpp"

using namespace tx::storage;

namespace {

int position(int table, const std::string& name) {
  const auto& fields = *table_layout(table);
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name) return static_cast<int>(i);
  return -1;
}

std::string name_at(int table, int i) {
  const auto& fields = *table_layout(table);
  if (i < 0 || i >= static_cast<int>(fields.size())) return "<out of range>";
  return fields[static_cast<std::size_t>(i)].name;
}

std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

TEST(LayoutFamilies, FixedPositions) {
  struct Case {
    int table;
    int index;
    const char* name;
  } cases[] = {
      {1, 1, "I3_01"},     {1, 2, "I4_01"},      {1, 3, "I3_02"},      {1, 4, "I4_02"},
      {1, 19, "I3_10"},    {1, 20, "I4_10"},     {1, 21, "I3_11"},     {1, 34, "I3_24"},
      {1, 35, "I3_04GCPV"}, {1, 145, "NOVREG"},
      {2, 39, "NEW1"},     {2, 40, "I1_401"},    {2, 41, "I1_501"},    {2, 42, "I1_601"},
      {2, 43, "I1_402"},   {2, 75, "I1_612"},
      {7, 61, "NEW"},      {7, 62, "REC_MES01"}, {7, 63, "VAL_TRI01"}, {7, 64, "DIA_REC01"},
      {7, 68, "REC_MES02"}, {7, 132, "IMP_PAG12"}, {7, 133, "IMP_LEI12"},
      {12, 1, "CPFDEPEN"}, {12, 2, "I2_101"},    {12, 8, "I2_701"},    {12, 9, "I2_102"},
      {12, 92, "I2_713"},
      {15, 2, "I3_01OR"},  {15, 3, "I3_01OD"},   {15, 4, "I3_02OR"},   {15, 25, "I3_12OD"},
      {15, 26, "I4R_01"},  {15, 32, "I4R_07"},   {15, 39, "I7_1A"},    {15, 43, "I7_1V1"},
      {15, 44, "I7_2A"},   {15, 63, "I7_5V1"},   {15, 64, "I7_V1"},    {15, 65, "SO_TOTAL"},
      {43, 0, "VCTO1"},    {43, 7, "VCTO8"},     {43, 8, "VAL_SEG"},
      {41, 2, "SEQ0"},     {41, 5, "SEQ3"},      {57, 9, "SEQ0"},      {57, 12, "SEQ3"},
      {56, 1, "COR_TEL1"}, {56, 9, "COR_ENCHE"}, {56, 10, "COR_1_CLI"}, {56, 17, "COR_ENCH_C"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(name_at(c.table, c.index), c.name) << "table " << c.table << " field " << c.index;
}

TEST(LayoutFamilies, RangesAreContiguousAndComplete) {
  struct Family {
    int table;
    std::string prefix, suffix;
    int from, to;
    bool two_digits;
    int stride;  // distance between consecutive members
    char type;
    int len, dec;
  } families[] = {
      {1, "I3_", "", 1, 10, true, 2, 'N', 12, 2},
      {1, "I3_", "", 11, 24, true, 1, 'N', 12, 2},
      {1, "I4_", "", 1, 10, true, 2, 'N', 12, 2},
      {1, "I13_", "", 1, 50, true, 1, 'N', 12, 2},
      {2, "I1_", "", 4, 7, false, 1, 'N', 12, 2},
      {2, "I1_", "", 12, 20, false, 1, 'N', 12, 2},
      {2, "I1_", "", 23, 34, false, 1, 'N', 12, 2},
      {2, "I1_4", "", 1, 12, true, 3, 'N', 12, 2},
      {2, "I1_6", "", 1, 12, true, 3, 'N', 12, 2},
      {6, "I6_4", "", 1, 12, true, 1, 'N', 14, 2},
      {7, "REC_MES", "", 1, 12, true, 6, 'N', 12, 2},
      {7, "DIA_REC", "", 1, 12, true, 6, 'N', 2, 0},
      {7, "IMP_LEI", "", 1, 12, true, 6, 'N', 12, 2},
      {9, "I13_", "C", 1, 5, false, 1, 'N', 12, 2},
      {12, "I2_1", "", 1, 13, true, 7, 'N', 12, 2},
      {12, "I2_7", "", 1, 13, true, 7, 'N', 12, 2},
      {15, "I3_", "OR", 1, 12, true, 2, 'N', 12, 2},
      {15, "I4R_", "", 1, 7, true, 1, 'N', 12, 2},
      {15, "I7_", "V1", 1, 5, false, 5, 'N', 6, 0},
      {41, "SEQ", "", 0, 3, false, 1, 'C', 60, 0},
      {43, "VCTO", "", 1, 8, false, 1, 'D', 8, 0},
  };
  for (const Family& f : families) {
    int first = -1;
    for (int k = f.from; k <= f.to; ++k) {
      std::string name = f.prefix + (f.two_digits ? two(k) : std::to_string(k)) + f.suffix;
      SCOPED_TRACE("table " + std::to_string(f.table) + " " + name);
      int at = position(f.table, name);
      ASSERT_GE(at, 0);
      if (first < 0) first = at;
      EXPECT_EQ(at, first + (k - f.from) * f.stride);
      const FieldDef& def = (*table_layout(f.table))[static_cast<std::size_t>(at)];
      EXPECT_EQ(def.type, f.type);
      EXPECT_EQ(def.len, f.len);
      EXPECT_EQ(def.dec, f.dec);
    }
  }
}

TEST(LayoutGenerator, CounterPaddingAndGroups) {
  const LayoutRow rows[] = {
      {"A#", 'N', 3, 0, 9, 10},                  // plain counter
      {"B##x", 'C', 2, 0, 9, 10},                // two digits, case folded
      {"P## Q##", 'N', 5, 1, 1, 2, 2},           // two rows repeated together
      {"R##", 'D', 8},
      {"last", 'L', 1},
  };
  std::vector<std::string> expected = {"A9",  "A10", "B09X", "B10X", "P01", "Q01",
                                       "R01", "P02", "Q02",  "R02",  "LAST"};
  auto fields = expand_layout(rows);
  ASSERT_EQ(fields.size(), expected.size());
  for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i].name, expected[i]) << i;
  EXPECT_EQ(fields[6].type, 'D');  // a group member keeps its own type
  EXPECT_EQ(fields[5].dec, 1);
}

TEST(LayoutGenerator, RefusesMalformedRows) {
  struct Case {
    const char* what;
    std::vector<LayoutRow> rows;
  } cases[] = {
      {"counter placeholder without a range", {{"A##", 'N', 3}}},
      {"range that no name uses", {{"A", 'N', 3, 0, 1, 3}}},
      {"group running past the end", {{"A#", 'N', 3, 0, 1, 3, 2}}},
      {"group member with its own range", {{"A#", 'N', 3, 0, 1, 3, 2}, {"B#", 'N', 3, 0, 1, 2}}},
      {"group without a range", {{"A", 'N', 3, 0, 0, -1, 2}, {"B", 'N', 3}}},
  };
  for (const Case& c : cases) EXPECT_THROW(expand_layout(c.rows), std::invalid_argument) << c.what;
}
