// The table catalogue: file names, places, modes, creation and index files.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "storage/catalogue.hpp"

using namespace tx::storage;

TEST(CatalogueEntries, HoldsExactlyTheCataloguedNumbers) {
  std::vector<int> expected;
  for (int n = 1; n <= 70; ++n) expected.push_back(n);
  for (int n = 72; n <= 75; ++n) expected.push_back(n);
  EXPECT_EQ(catalogue_numbers(), expected);
  for (int n : {0, -3, 71, 76, 100}) EXPECT_EQ(catalogue_entry(n), nullptr) << n;
  for (int n : expected) {
    ASSERT_NE(catalogue_entry(n), nullptr) << n;
    EXPECT_EQ(catalogue_entry(n)->number, n);
    EXPECT_LE(catalogue_entry(n)->indexes.size(), 3u) << n;
  }
}

TEST(CatalogueEntries, FileNamesForATerminal) {
  struct Case {
    int number;
    int terminal;
    const char* name;
  } cases[] = {
      {1, 7, "IMP0114"},   {9, 0, "IMP0914"},   {20, 99, "IMP2014"},
      {21, 7, "TMP_0107"}, {24, 7, "TMP_0407"}, {35, 12, "TMP_1512"}, {40, 0, "TMP_2000"},
      {50, 3, "DIRET03"},  {50, 42, "DIRET42"}, {68, 5, "DETALH05"},
      {41, 7, "PRINTS"},   {44, 7, "IMPCORRIG"}, {54, 7, "LisErro"}, {72, 7, "AGENDA"},
      {75, 7, "ECACIDAD"},
      // a terminal outside 00-99 never reaches a file name
      {24, -1, ""}, {24, 100, ""}, {50, 100, ""}, {68, -7, ""},
      // tables shared by all terminals do not depend on it
      {9, 100, "IMP0914"},
      {71, 7, ""}, {0, 7, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(table_file_name(c.number, c.terminal), c.name) << c.number << "/" << c.terminal;
}

TEST(CatalogueEntries, LocationsModesAndCreation) {
  using L = TableLocation;
  using M = OpenMode;
  struct Case {
    int number;
    L location;
    M mode;
    bool created;
  } cases[] = {
      {1, L::DataFolder, M::Caller, true},         {9, L::DataFolder, M::Caller, true},
      {20, L::DataFolder, M::Caller, true},        {21, L::WorkingFolder, M::Exclusive, true},
      {40, L::WorkingFolder, M::Exclusive, true},  {41, L::ProgramFolder, M::Shared, true},
      {43, L::ProgramFolder, M::Shared, true},     {44, L::ProgramFolder, M::Exclusive, true},
      {45, L::ProgramFolder, M::Shared, false},    {50, L::ProgramFolder, M::Exclusive, true},
      {51, L::ProgramFolder, M::Shared, false},    {55, L::ProgramFolder, M::Shared, false},
      {63, L::ProgramFolder, M::Caller, true},     {64, L::ProgramFolder, M::Shared, false},
      {66, L::ProgramFolder, M::CallerDefaultShared, false},
      {67, L::ProgramFolder, M::CallerDefaultShared, true},
      {68, L::ProgramFolder, M::Exclusive, true},  {69, L::ProgramFolder, M::Shared, false},
      {70, L::ProgramFolder, M::Exclusive, true},  {72, L::ProgramFolder, M::Shared, true},
      {73, L::ProgramFolder, M::Shared, true},     {75, L::ProgramFolder, M::Shared, false},
  };
  for (const Case& c : cases) {
    const CatalogueEntry* e = catalogue_entry(c.number);
    ASSERT_NE(e, nullptr) << c.number;
    EXPECT_EQ(e->location, c.location) << c.number;
    EXPECT_EQ(e->mode, c.mode) << c.number;
    EXPECT_EQ(e->created_when_missing, c.created) << c.number;
  }
  std::set<int> delivered;
  for (int n : catalogue_numbers())
    if (!catalogue_entry(n)->created_when_missing) delivered.insert(n);
  EXPECT_EQ(delivered, (std::set<int>{45, 46, 47, 48, 49, 51, 55, 58, 59, 60, 61, 62, 64, 65, 66,
                                      69, 75}));
}

TEST(CatalogueEntries, OnlyTheHelpTextsNeedTheirMemoFile) {
  for (int n : catalogue_numbers()) EXPECT_EQ(catalogue_entry(n)->needs_memo, n == 45) << n;
}

TEST(CatalogueEntries, WorkingCopiesUseTheirTablesLayout) {
  for (int n = 1; n <= 20; ++n) {
    EXPECT_EQ(catalogue_entry(n)->layout_number, n);
    EXPECT_EQ(catalogue_entry(n + 20)->layout_number, n);
    EXPECT_TRUE(catalogue_entry(n + 20)->per_terminal);
  }
  EXPECT_EQ(catalogue_entry(46)->layout_number, 0);
  EXPECT_EQ(catalogue_entry(72)->layout_number, 72);
}

TEST(CatalogueEntries, OpenModeActuallyUsed) {
  struct Case {
    OpenMode mode;
    bool requested, exclusive;
  } cases[] = {
      {OpenMode::Shared, false, false},   {OpenMode::Shared, true, false},
      {OpenMode::Exclusive, false, true}, {OpenMode::Exclusive, true, true},
      {OpenMode::Caller, false, false},   {OpenMode::Caller, true, true},
      {OpenMode::CallerDefaultShared, false, false},
      {OpenMode::CallerDefaultShared, true, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(opens_exclusive(c.mode, c.requested), c.exclusive)
        << static_cast<int>(c.mode) << " " << c.requested;
}

TEST(CatalogueEntries, IndexFileNames) {
  struct Case {
    int number;
    int k;
    int terminal;
    const char* name;
  } cases[] = {
      {1, 0, 7, "IMP0114"},     {4, 0, 7, "IMP0414"},    {9, 0, 7, "IMP0914"},
      {9, 1, 7, "IMP0914B"},    {9, 2, 7, "IMP0914C"},   {55, 0, 7, "BANCOS"},
      {55, 1, 7, "BANCOSB"},    {58, 1, 7, "OCUPACAB"},  {59, 1, 7, "CODNATB"},
      {70, 0, 7, "LISNOME"},    {70, 1, 7, "LISNOMEB"},  {72, 0, 7, "AGENDA"},
      {72, 1, 7, "AGENDAB"},    {72, 2, 7, "AGENDAC"},   {73, 1, 7, "USOLOGB"},
      {50, 0, 7, "DIRET07"},    {24, 0, 7, "TMP_0407"},  {54, 0, 7, "LisErro"},
      // no such index
      {1, 1, 7, ""},  {9, 3, 7, ""}, {9, -1, 7, ""}, {41, 0, 7, ""}, {68, 0, 7, ""},
      {64, 0, 7, ""}, {71, 0, 7, ""},
      // no valid terminal, no name
      {50, 0, 100, ""}, {24, 0, -1, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(index_file_name(c.number, c.k, c.terminal), c.name) << c.number << "/" << c.k;
}
