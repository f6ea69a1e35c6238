// The delivered reference tables made from the shipped data files.
#include <fstream>

#include "shell/reference_data.hpp"
#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

TEST(ReferenceFile, FieldsAndRecords) {
  ReferenceTable t;
  std::string error;
  ASSERT_TRUE(read_reference_file("# comment\nCODDES N 2;DESCDOA C 60\n\n37;Funpresp\r\n99\n", t, &error)) << error;
  ASSERT_EQ(t.fields.size(), 2u);
  EXPECT_EQ(t.fields[0].name, "CODDES");
  EXPECT_EQ(t.fields[0].type, 'N');
  EXPECT_EQ(t.fields[1].len, 60);
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.records[0], (std::vector<std::string>{"37", "Funpresp"}));
  EXPECT_EQ(t.records[1], (std::vector<std::string>{"99", ""}));
  for (const char* bad : {"", "CODDES X 2", "CODDES N", "CODDES N 2,2", "NOMEMUITOLONGO C 2",
                          "CODDES N 2\n1;dois;tres"})
    EXPECT_FALSE(read_reference_file(bad, t, &error)) << bad;
}

TEST(ReferenceFile, EveryShippedFileReads) {
  for (const auto& name : kReferenceTables) {
    std::ifstream in(reference_folder() + "/" + name + ".csv");
    ASSERT_TRUE(in) << name;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ReferenceTable t;
    std::string error;
    EXPECT_TRUE(read_reference_file(text, t, &error)) << name << ": " << error;
  }
}

TEST_F(StartupTest, InstallMakesMissingTablesAndLeavesExistingOnes) {
  const std::string arqdef = folder + "\\";
  auto made = install_reference_tables(arqdef, reference_folder());
  EXPECT_EQ(made, kReferenceTables);
  EXPECT_TRUE(has_file("HELPTXT.FPT"));
  with_tables("00", [](storage::Tables& t) {
    ASSERT_TRUE(t.ABERTURA(49));
    auto& wa = t.area(49);
    EXPECT_EQ(wa.reccount(), 5u);
    wa.set_order(0);
    wa.go_top();
    EXPECT_EQ(wa.get_number("CODDES").to_long(), 37);
    ASSERT_TRUE(wa.lock_record());
    wa.replace_text("DESCDOA", "alterado pelo escritorio");
    wa.commit();
  });
  EXPECT_TRUE(install_reference_tables(arqdef, reference_folder()).empty());
  with_tables("00", [](storage::Tables& t) {
    ASSERT_TRUE(t.ABERTURA(49));
    auto& wa = t.area(49);
    wa.set_order(0);
    wa.go_top();
    EXPECT_EQ(wa.trimmed("DESCDOA"), "alterado pelo escritorio");
  });
  EXPECT_TRUE(install_reference_tables(arqdef, "").empty());
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    EXPECT_EQ(entry.path().filename().string().find("~NEW"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace tx::shell::testing
