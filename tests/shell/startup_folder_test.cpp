// The data folder at start: the fallback question and the terminal's
// folder list.
#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

const std::string kLeave = answer("{Esc}") + answer("S");

TEST_F(StartupTest, MissingDataFolderAsksAndFallsBackToTheProgramFolder) {
  no_update_check();
  const std::string gone = folder + "/2014-apagada";
  config("00", Date::ymd(2014, 4, 10), [&](storage::WorkArea& wa) { wa.replace_text("ROTADOANO", gone); });
  auto asked = run("");
  EXPECT_NE(asked.where.find("A Pasta " + gone + " não foi encontrada!"), std::string::npos) << asked.where;
  EXPECT_NE(asked.where.find("Sim - Assume: " + folder), std::string::npos) << asked.where;

  auto no = run(answer("N"));
  EXPECT_EQ(no.status, 0);
  EXPECT_FALSE(no.ran_out) << no.where;
  EXPECT_FALSE(has_file("DIRET00.DBF"));  // ended before the shared tables
  EXPECT_EQ(config_text("00", "ROTADOANO"), gone);

  auto yes = run(answer("S") + kLeave);
  EXPECT_EQ(yes.status, 0) << yes.where;
  EXPECT_EQ(config_text("00", "ROTADOANO"), folder);
  EXPECT_EQ(yes.g.LOCARQ, folder + "\\");
}

TEST_F(StartupTest, CurrentFolderIsTheOnlyOneMarkedInTheList) {
  no_update_check();
  const std::string data = folder + "/dados2014";
  const std::string other = folder + "/outra";
  std::filesystem::create_directories(data);
  std::filesystem::create_directories(other);
  config("00", Date::ymd(2014, 4, 10), [&](storage::WorkArea& wa) { wa.replace_text("ROTADOANO", data); });
  with_tables("00", [&](storage::Tables& t) {
    ASSERT_TRUE(t.ABERTURA(kFolderListTable, true));
    auto& wa = t.area(kFolderListTable);
    wa.go_top();
    wa.replace_text("SELEC", "S");  // the program folder, marked
    wa.append_blank();
    wa.replace_text("DIRETOR", other);
    wa.replace_text("SELEC", "S");
    wa.commit();
  });
  auto list = [&] {
    std::vector<std::pair<std::string, std::string>> rows;
    with_tables("00", [&](storage::Tables& t) {
      ASSERT_TRUE(t.ABERTURA(kFolderListTable, true));
      auto& wa = t.area(kFolderListTable);
      wa.set_order(0);
      for (wa.go_top(); !wa.eof(); wa.skip()) rows.emplace_back(wa.trimmed("DIRETOR"), wa.trimmed("SELEC"));
    });
    return rows;
  };
  auto r = run(kLeave);
  ASSERT_EQ(r.status, 0) << r.where;
  auto rows = list();
  int marked = 0;
  for (auto& [dir, mark] : rows) {
    if (mark == "S") {
      ++marked;
      EXPECT_EQ(dir, data);
    }
  }
  EXPECT_EQ(marked, 1);
  EXPECT_EQ(rows.size(), 3u);
  // A second start finds the folder and keeps the list as it is.
  run(kLeave);
  EXPECT_EQ(list(), rows);
}

TEST_F(StartupTest, FreshProgramFolderStartsWithoutComplaints) {
  no_update_check();
  auto r = run(kLeave);
  ASSERT_EQ(r.status, 0) << r.where;
  for (const char* t : {"CODBENS.DBF", "CODEPEN.DBF", "CODDIVI.DBF", "DESPESA.DBF", "UFIRM.DBF", "OCUPACAO.DBF",
                        "CODNATUR.DBF", "TABPAIS.DBF", "STATUS.DBF", "IMP0914.DBF", "DIRET00.DBF"})
    EXPECT_TRUE(has_file(t)) << t;
  with_tables("00", [](storage::Tables& t) {
    EXPECT_TRUE(t.ABERTURA(0));
    EXPECT_TRUE(t.missing_reference().empty());
    ASSERT_TRUE(t.ABERTURA(60));
    auto& wa = t.area(60);
    wa.seek("105");
    ASSERT_TRUE(wa.found());
    EXPECT_EQ(wa.trimmed("NOMPAIS"), "Brasil");
  });
}

}  // namespace
}  // namespace tx::shell::testing
