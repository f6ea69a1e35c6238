// Answers to boxes are typed after a few ticks: every box first drops
// the keys typed ahead, as the operator's answer comes once it shows.
//
// Folder list, current folder switch, search in other folders, folder
// creation and the folder settings, on temporary folders.
#include "shell/folders.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/console_headless.hpp"
#include "screen/screen_storage_host.hpp"
#include "shell/config_record.hpp"

namespace tx::shell {
namespace {

namespace fs = std::filesystem;

struct Office {
  fs::path root;
  std::unique_ptr<platform::HeadlessConsole> con;
  std::unique_ptr<screen::Screen> screen;
  std::unique_ptr<screen::ScreenStorageHost> host;
  std::unique_ptr<storage::Tables> tables;
  Globals g;
  std::unique_ptr<FolderRoutines> f;

  explicit Office(std::string_view script = "") {
    root = fs::temp_directory_path() /
           ("tx_folders_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()));
    fs::create_directories(root / "PROG");
    fs::create_directories(root / "Dados" / "Ana");
    fs::create_directories(root / "Dados" / "Beto");
    con = platform::make_headless_console(script);
    screen = std::make_unique<screen::Screen>(*con);
    host = std::make_unique<screen::ScreenStorageHost>(*screen);
    tables = std::make_unique<storage::Tables>(*host);
    g.NUSU = "07";
    g.ARQDEF = path("PROG") + "\\";
    g.LOCARQ = path("Dados/Ana") + "\\";
    g.ROTADOANO = path("Dados/Ana");
    tables->places = {g.ARQDEF, g.LOCARQ, g.ARQDEF, g.NUSU};
    f = std::make_unique<FolderRoutines>(*screen, *tables, g);
  }
  ~Office() {
    tables.reset();
    fs::remove_all(root);
  }
  std::string path(std::string_view rel) const { return (root / rel).string(); }
  storage::WorkArea& list() {
    if (!tables->area(kFolderListTable).used()) {
      EXPECT_TRUE(tables->ABERTURA(kFolderListTable, true));
    }
    return tables->area(kFolderListTable);
  }
  // Replaces the list by these entries and marks.
  void set_list(const std::vector<std::pair<std::string, std::string>>& entries) {
    storage::WorkArea& l = list();
    l.zap();
    for (const auto& [folder, mark] : entries) {
      l.append_blank();
      l.replace_text("DIRETOR", folder);
      l.replace_text("SELEC", mark);
    }
    l.commit();
  }
  std::vector<std::string> marked() {
    std::vector<std::string> out;
    storage::WorkArea& l = list();
    for (l.go_top(); !l.eof(); l.skip())
      if (l.trimmed("SELEC") == "S") out.push_back(l.trimmed("DIRETOR"));
    return out;
  }
  std::vector<std::string> folders() {
    std::vector<std::string> out;
    storage::WorkArea& l = list();
    for (l.go_top(); !l.eof(); l.skip()) out.push_back(l.trimmed("DIRETOR"));
    return out;
  }
  bool go_to(const std::string& folder) {
    storage::WorkArea& l = list();
    for (l.go_top(); !l.eof(); l.skip())
      if (l.trimmed("DIRETOR") == folder) return true;
    return false;
  }
  // A register IMP0914 with one taxpayer in `folder`.
  void put_taxpayer(const std::string& folder, const std::string& cpf, const std::string& name) {
    std::string keep = tables->places.LOCARQ;
    tables->places.LOCARQ = folder + "\\";
    ASSERT_TRUE(tables->ABERTURA(kRegisterArea));
    storage::WorkArea& r = tables->area(kRegisterArea);
    r.append_blank();
    r.replace_text("CPF", cpf);
    r.replace_text("NOMECONTR", name);
    r.commit();
    r.close();
    tables->places.LOCARQ = keep;
  }
};

TEST(FolderPaths, Texts) {
  struct C { std::string in, bar_dir, bar_fora, bar_esq, tira_dir; };
  for (const auto& c : std::vector<C>{
           {"C:\\TX2014", "C:\\TX2014\\", "C:\\TX2014", "\\C:\\TX2014", "TX2014"},
           {"C:\\TX2014\\", "C:\\TX2014\\", "C:\\TX2014", "\\C:\\TX2014\\", ""},
           {"\\Dados\\Ana", "\\Dados\\Ana\\", "\\Dados\\Ana", "\\Dados\\Ana", "Ana"},
           {"ARQ", "ARQ\\", "ARQ", "\\ARQ", "ARQ"},
           {"", "\\", "", "\\", ""},
       }) {
    EXPECT_EQ(BAR_DIR(c.in), c.bar_dir) << c.in;
    EXPECT_EQ(BAR_FORA(c.in), c.bar_fora) << c.in;
    EXPECT_EQ(BAR_ESQ(c.in), c.bar_esq) << c.in;
    EXPECT_EQ(TIRA_DIR(c.in), c.tira_dir) << c.in;
  }
}

TEST(FolderPaths, ExistenceAndDrive) {
  Office o("{Tick*3}{Enter}");
  EXPECT_TRUE(VERDIR(o.path("Dados/Ana")));
  EXPECT_TRUE(VERDIR(o.path("Dados/Ana") + "\\"));
  EXPECT_FALSE(VERDIR(o.path("Dados/Zeca")));
  EXPECT_FALSE(VERDIR(""));
  EXPECT_TRUE(CONFER_DIR(*o.screen, o.path("Dados/Beto")));
  EXPECT_FALSE(CONFER_DIR(*o.screen, "/tx_no_such_folder"));
  EXPECT_NE(o.con->screen_text().find("não encontrado. Assumindo o padrão!"), std::string::npos) << o.con->screen_text();
  EXPECT_TRUE(ESPCIF(*o.screen, "D:\\IRPF"));
  EXPECT_FALSE(ESPCIF(*o.screen, "\\IRPF"));  // the {Enter} closes its box
  EXPECT_EQ(o.con->events_left(), 0u);
}

TEST(FolderSwitch, ChoosingLeavesExactlyOneMark) {
  Office o;
  const std::string ana = o.path("Dados/Ana"), beto = o.path("Dados/Beto"), prog = o.path("PROG");
  o.set_list({{ana, "N"}, {beto, "S"}, {prog, "S"}});
  ASSERT_TRUE(o.go_to(ana));
  ASSERT_TRUE(o.f->TROCASIM(1));
  EXPECT_EQ(o.marked(), std::vector<std::string>{ana});
  EXPECT_EQ(o.g.ROTADOANO, ana);
  EXPECT_EQ(o.g.LOCARQ, ana + "\\");
  EXPECT_EQ(o.tables->places.LOCARQ, ana + "\\");
  EXPECT_TRUE(o.tables->area(kRegisterArea).used());
  EXPECT_TRUE(fs::exists(o.root / "Dados/Ana/IMP0914.DBF"));
  EXPECT_EQ(o.tables->area(kRegisterArea).order(), 2);  // name order
}

TEST(FolderSwitch, CaseIsKeptAndCompared) {
  Office o;
  const std::string mixed = o.path("Dados/Beto");
  const std::string upper = o.path("DADOS/BETO");  // another folder on Linux
  o.set_list({{mixed, "N"}});
  ASSERT_TRUE(o.go_to(mixed));
  ASSERT_TRUE(o.f->TROCASIM(1));
  EXPECT_EQ(o.marked(), std::vector<std::string>{mixed});
  EXPECT_EQ(o.g.ROTADOANO, mixed);
  EXPECT_FALSE(o.go_to(upper));
}

TEST(FolderSwitch, MissingFolderDeclinedChangesNothing) {
  Office o("{Tick*3}N");
  const std::string ana = o.path("Dados/Ana"), gone = o.path("Dados/Zeca");
  o.set_list({{ana, "S"}, {gone, "N"}});
  ASSERT_TRUE(o.go_to(gone));
  EXPECT_FALSE(o.f->TROCASIM(1));
  EXPECT_EQ(o.marked(), std::vector<std::string>{ana});
  EXPECT_EQ(o.g.LOCARQ, ana + "\\");
  EXPECT_FALSE(fs::exists(gone));
}

TEST(FolderSwitch, MissingFolderAcceptedIsCreated) {
  Office o("{Tick*3}S");
  const std::string ana = o.path("Dados/Ana"), fresh = o.path("Dados/Novo/Cli");
  o.set_list({{ana, "S"}, {fresh, "N"}});
  ASSERT_TRUE(o.go_to(fresh));
  ASSERT_TRUE(o.f->TROCASIM(1));
  EXPECT_TRUE(fs::is_directory(fresh));
  EXPECT_EQ(o.marked(), std::vector<std::string>{fresh});
  EXPECT_EQ(o.con->events_left(), 0u);
  EXPECT_FALSE(o.con->script_exhausted());
}

TEST(FolderSwitch, EmptyEntryBecomesTheProgramFolder) {
  Office o;
  o.set_list({{"", "N"}});
  o.list().go_top();
  ASSERT_TRUE(o.f->TROCASIM(1));
  EXPECT_EQ(o.folders(), std::vector<std::string>{o.path("PROG")});
  EXPECT_EQ(o.marked(), std::vector<std::string>{o.path("PROG")});
}

TEST(FolderSwitch, AddedFolderKeepsItsText) {
  Office o;
  o.set_list({});
  ASSERT_TRUE(o.f->add_folder(o.path("Dados/Beto") + "\\"));
  EXPECT_EQ(o.folders(), std::vector<std::string>{o.path("Dados/Beto")});
  EXPECT_TRUE(o.marked().empty());
}

TEST(FolderSwitch, NamesInTheListEditor) {
  Office o("{Tick*3}{Enter}{Tick*3}S");
  EXPECT_FALSE(o.f->valid_folder_name("   "));  // told, {Enter} closes the box
  EXPECT_TRUE(o.f->valid_folder_name(o.path("Dados/Ana")));
  EXPECT_TRUE(o.f->valid_folder_name(o.path("Dados/Nova")));  // created after "S"
  EXPECT_TRUE(fs::is_directory(o.root / "Dados/Nova"));
  EXPECT_EQ(o.con->events_left(), 0u);
}

class FolderSearch : public ::testing::Test {
 protected:
  FolderSearch() {
    ana = o.path("Dados/Ana");
    beto = o.path("Dados/Beto");
    gone = o.path("Dados/Cida");  // in the list, not reachable
    last = o.path("Dados/Zilda");
    fs::create_directories(last);
    o.put_taxpayer(beto, "11144477735", "JOSE DA SILVA");
    o.put_taxpayer(last, "52998224725", "MARIA SOUZA");
    o.put_taxpayer(ana, "12345671300", "ANTONIO LIMA");
    o.set_list({{ana, "S"}, {beto, "N"}, {gone, "N"}, {last, "N"}});
    o.f->MUDADIR(ana + "\\");
  }
  Office o;
  std::string ana, beto, gone, last;
};

TEST_F(FolderSearch, CpfOnlyInTheLastFolderMakesItCurrent) {
  std::string cpf = "52998224725";
  ASSERT_TRUE(o.f->BUSCA_OUTRO(cpf, "M->CPF", 1, 1));
  EXPECT_EQ(cpf, "52998224725");
  EXPECT_EQ(o.g.LOCARQ, last + "\\");
  EXPECT_EQ(o.marked(), std::vector<std::string>{last});
  EXPECT_EQ(o.f->NOMECONTR, PADR("MARIA SOUZA", 53));
  storage::WorkArea& r = o.tables->area(kRegisterArea);
  EXPECT_EQ(o.tables->selected(), kRegisterArea);
  EXPECT_EQ(r.trimmed("CPF"), "52998224725");
  // The unreachable folder is passed over and stays in the list.
  EXPECT_EQ(o.folders(), (std::vector<std::string>{ana, beto, gone, last}));
}

TEST_F(FolderSearch, NamePrefixFoundElsewhere) {
  std::string name = "jose";
  ASSERT_TRUE(o.f->BUSCA_OUTRO(name, "M->NOMECONTR", 2, 1));
  EXPECT_EQ(RTRIM(name), "JOSE DA SILVA");
  EXPECT_EQ(o.g.LOCARQ, beto + "\\");
  EXPECT_EQ(o.tables->area(kRegisterArea).order(), 2);
}

TEST_F(FolderSearch, OnlyARealMatchCounts) {
  std::string name = "BB";  // would land on JOSE or MARIA by nearest position
  o.f->NOMECONTR = PADR("X", 53);
  EXPECT_FALSE(o.f->BUSCA_OUTRO(name, "M->NOMECONTR", 2, 1));
  EXPECT_EQ(o.f->NOMECONTR, std::string(53, ' '));
  EXPECT_EQ(o.g.LOCARQ, ana + "\\");
  EXPECT_EQ(o.marked(), std::vector<std::string>{ana});
  std::string cpf = "11144477736";
  EXPECT_FALSE(o.f->BUSCA_OUTRO(cpf, "M->CPF", 1, 1));
  EXPECT_EQ(o.tables->area(kRegisterArea).order(), 1);
  // The current folder's register is open again.
  o.tables->area(kRegisterArea).go_top();
  EXPECT_EQ(o.tables->area(kRegisterArea).trimmed("CPF"), "12345671300");
}

TEST_F(FolderSearch, CurrentFolderIsNotSearched) {
  std::string cpf = "12345671300";  // only in the current folder
  EXPECT_FALSE(o.f->BUSCA_OUTRO(cpf, "M->CPF", 1, 1));
}

TEST_F(FolderSearch, SpouseOnlyOpensTheRegister) {
  std::string cpf = "11144477735";
  ASSERT_TRUE(o.f->BUSCA_OUTRO(cpf, "M->CPFCONJU", 1, 0));
  EXPECT_EQ(o.g.LOCARQ, ana + "\\");
  EXPECT_EQ(o.marked(), std::vector<std::string>{ana});
  EXPECT_EQ(o.tables->area(kRegisterArea).trimmed("NOMECONTR"), "JOSE DA SILVA");
}

TEST(FolderCreate, LevelsBelowTheRootOnConfirmation) {
  Office o("{Tick*3}S{Tick*3}N");
  const std::string deep = o.path("Novos/Um/Dois/Tres");
  EXPECT_TRUE(o.f->CRI_NDIR(deep + "\\", " TX2014"));
  EXPECT_TRUE(fs::is_directory(deep));
  EXPECT_TRUE(o.f->CRI_NDIR(deep, " TX2014"));  // exists: no question
  const std::string other = o.path("Outros/Um");
  EXPECT_FALSE(o.f->CRI_NDIR(other, " TX2014"));
  EXPECT_FALSE(fs::exists(o.root / "Outros"));
}

TEST(FolderCreate, FailureIsTold) {
  Office o("{Tick*3}S{Tick*3}{Enter}");
  fs::path file = o.root / "plain";
  { std::FILE* fp = std::fopen(file.c_str(), "w"); ASSERT_NE(fp, nullptr); std::fclose(fp); }
  EXPECT_FALSE(o.f->CRI_NDIR((file / "sub").string(), " TX2014"));
  EXPECT_EQ(o.con->events_left(), 0u);
}

class FolderSettings : public ::testing::Test {
 protected:
  FolderSettings() : drive(fs::temp_directory_path() / ("tx_drive_" + std::to_string(::getpid()))) {
    fs::create_directories(drive);
    ::setenv("TX2014_DRIVE_Q", drive.c_str(), 1);
  }
  ~FolderSettings() override {
    ::unsetenv("TX2014_DRIVE_Q");
    fs::remove_all(drive);
  }
  fs::path drive;
};

TEST_F(FolderSettings, DriveAloneGetsABackslash) {
  Office o("Q:{Enter}");
  ASSERT_TRUE(o.f->SELAREA(1));
  EXPECT_EQ(o.g.DIRTRAB, "Q:\\");
  EXPECT_EQ(o.g.LOCTRAB, "Q:\\");
  EXPECT_EQ(o.tables->places.LOCTRAB, "Q:\\");
}

TEST_F(FolderSettings, WorkingFolderCreatedOrAskedAgain) {
  // First answer "no" to creating it: the entry is asked again.
  Office o("Q:\\Trab\\Tx{Enter}{Tick*3}N{Tick*3}Q:\\Trab\\Tx{Enter}{Tick*3}S");
  ASSERT_TRUE(o.f->SELAREA(1));
  EXPECT_TRUE(fs::is_directory(drive / "Trab" / "Tx"));
  EXPECT_EQ(o.g.DIRTRAB, "Q:\\Trab\\Tx");
  EXPECT_EQ(o.g.LOCTRAB, "Q:\\Trab\\Tx\\");
  EXPECT_EQ(o.con->events_left(), 0u);
  EXPECT_FALSE(o.con->script_exhausted());
}

TEST_F(FolderSettings, EscAndEmptyKeepTheWorkingFolder) {
  for (const char* script : {"{Esc}", "{Enter}"}) {
    Office o(script);
    o.g.DIRTRAB = "C:\\OLD";
    o.g.LOCTRAB = "C:\\OLD\\";
    EXPECT_FALSE(o.f->SELAREA(1)) << script;
    EXPECT_EQ(o.g.DIRTRAB, "C:\\OLD");
    EXPECT_EQ(o.g.LOCTRAB, "C:\\OLD\\");
  }
}

TEST_F(FolderSettings, EmptyOfficialFolderIsNoTransferNotTheRoot) {
  Office o("{Enter}{Tick*3}{Enter}");
  o.g.ROTAJAVA = o.g.LOCIRPF = "Q:\\IRPF\\";
  ASSERT_TRUE(o.f->SELAREA(2));
  EXPECT_EQ(o.g.ROTAJAVA, "");
  EXPECT_EQ(o.g.LOCIRPF, "");
  EXPECT_EQ(o.con->events_left(), 0u);
  EXPECT_FALSE(o.con->script_exhausted());
}

TEST_F(FolderSettings, OfficialFolderTakesATrailingBackslash) {
  fs::create_directories(drive / "Receita");
  Office o("Q:\\Receita{Enter}");
  ASSERT_TRUE(o.f->SELAREA(2));
  EXPECT_EQ(o.g.ROTAJAVA, "Q:\\Receita\\");
  EXPECT_EQ(o.g.LOCIRPF, "Q:\\Receita\\");
}

TEST_F(FolderSettings, AltPFillsTheStandardPath) {
  ::setenv("TX2014_DRIVE_C", drive.c_str(), 1);
  Office o("{Alt-P}{Enter}{Tick*3}S");
  bool ok = o.f->SELAREA(2);
  ::unsetenv("TX2014_DRIVE_C");
  ASSERT_TRUE(ok);
  EXPECT_EQ(o.g.ROTAJAVA, std::string(kDefaultOfficialFolder) + "\\");
  EXPECT_TRUE(fs::is_directory(drive / "ARQUIVOS DE PROGRAMAS RFB" / "IRPF2014" / "APLICACAO" / "DADOS"));
}

}  // namespace
}  // namespace tx::shell
