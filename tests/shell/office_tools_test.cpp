// The folder list as the operator reaches it from the main menu.
#include <gtest/gtest.h>

#include <filesystem>

#include "startup_fixture.hpp"

namespace tx::shell::testing {

class FolderCommandTest : public StartupTest {
 protected:
  // The terminal's folder list as stored: (mark, folder) in list order.
  std::vector<std::pair<std::string, std::string>> folder_list() {
    std::vector<std::pair<std::string, std::string>> out;
    with_tables("00", [&](storage::Tables& tables) {
      ASSERT_TRUE(tables.ABERTURA(50, true));
      auto& wa = tables.area(50);
      for (wa.go_top(); !wa.eof(); wa.skip()) out.emplace_back(wa.trimmed("SELEC"), wa.trimmed("DIRETOR"));
    });
    return out;
  }
};

TEST_F(FolderCommandTest, AddingAFolderAndTypingSSwitchesToIt) {
  no_update_check();
  std::string other = folder + "/Dados2";  // mixed case, kept as typed
  std::filesystem::create_directories(other);
  // Declaração > Pastas; a new line with the folder; "S" on it (the last
  // line, Ctrl-PgDn; one letter fills the cell); Esc leaves the list; Esc
  // and "S" leave the program.
  auto r = run("{Tick*2}{Alt-D}{Tick}p{Tick*2}{Down}{Right}{Enter}" + other +
               "{Enter}{Tick*2}{Ctrl-PgDn}{Left}{Enter}S{Tick*3}{Esc}" + answer("{Esc}") + answer("S"));
  EXPECT_EQ(r.status, 0) << r.where << r.screen;
  EXPECT_FALSE(r.ran_out) << r.where;
  EXPECT_EQ(r.g.LOCARQ, other + "\\");
  auto list = folder_list();
  ASSERT_EQ(list.size(), 2u);
  // In name order the program folder comes first.
  EXPECT_EQ(list[0], (std::pair<std::string, std::string>{"N", folder}));
  EXPECT_EQ(list[1], (std::pair<std::string, std::string>{"S", other}));
  EXPECT_TRUE(std::filesystem::exists(other + "/IMP0914.DBF"));
}

TEST_F(FolderCommandTest, OtherLettersThanSOrNAreRefused) {
  no_update_check();
  // "X" fills "Sel" and is refused at once with the yes/no letter box; Esc
  // abandons the cell, Esc leaves the list, Esc and "S" leave the program.
  auto r = run("{Tick*2}{Alt-D}{Tick}p{Tick*2}{Enter}X" + answer("{Enter}") + "{Tick*2}{Esc}{Tick*2}{Esc}" +
               answer("{Esc}") + answer("S"));
  EXPECT_EQ(r.status, 0) << r.where << r.screen;
  EXPECT_FALSE(r.ran_out) << r.where;
  auto list = folder_list();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], (std::pair<std::string, std::string>{"S", folder}));
}

}  // namespace tx::shell::testing
