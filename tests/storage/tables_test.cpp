// The catalogue's openings against real folders: creation, index rebuilds,
// the structure upgrade, the folder list, locks between two processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <random>

#include "storage/catalogue.hpp"
#include "storage/layout.hpp"
#include "storage/tables.hpp"

using namespace tx;
using namespace tx::storage;
namespace fs = std::filesystem;

namespace {

struct Office {
  fs::path root;
  RecordingHost host;
  std::unique_ptr<Tables> t;
  Office() {
    root = fs::temp_directory_path() / ("tx_tables_" + std::to_string(::getpid()) + "_" +
                                        std::to_string(std::random_device{}()));
    fs::create_directories(root / "PROG");
    fs::create_directories(root / "DADOS");
    t = std::make_unique<Tables>(host);
    t->places.ARQDEF = (root / "PROG").string() + "\\";
    t->places.LOCARQ = (root / "DADOS").string() + "\\";
    t->places.LOCTRAB = (root / "DADOS").string() + "\\";
    t->places.NUSU = "07";
  }
  ~Office() {
    t.reset();
    fs::remove_all(root);
  }
  bool has(const char* rel) const { return fs::exists(root / rel); }
};

std::vector<std::string> column(WorkArea& wa, const char* field) {
  std::vector<std::string> out;
  for (wa.go_top(); !wa.eof(); wa.skip()) out.push_back(wa.trimmed(field));
  return out;
}

}  // namespace

TEST(Tables, DeclarationTableInANewFolderIsCreatedWithItsIndexes) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(9, false)) << o.t->last_error();
  EXPECT_TRUE(o.has("DADOS/IMP0914.DBF"));
  EXPECT_TRUE(o.has("DADOS/IMP0914.CDX"));
  EXPECT_TRUE(o.has("DADOS/IMP0914B.CDX"));
  EXPECT_TRUE(o.has("DADOS/IMP0914C.CDX"));
  EXPECT_TRUE(o.host.alerts.empty());
  WorkArea& wa = o.t->area(9);
  EXPECT_EQ(wa.alias(), "IMP0914");
  EXPECT_EQ(wa.order_count(), 3);
  EXPECT_EQ(o.t->selected(), 9);
  // Working copies live in the working folder under the terminal's name.
  ASSERT_TRUE(o.t->ABERTURA(24, true)) << o.t->last_error();
  EXPECT_TRUE(o.has("DADOS/TMP_0407.DBF"));
  EXPECT_EQ(o.t->area(24).table().field_count(), static_cast<int>(table_layout(4)->size()));
}

TEST(Tables, AMissingFirstIndexPacksTheTableAndRebuildsIt) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(9, false));
  WorkArea& wa = o.t->area(9);
  for (const char* cpf : {"33333333333", "11111111111", "22222222222"}) {
    ASSERT_TRUE(o.t->ADD_REC(5));
    ASSERT_TRUE(wa.replace_text("CPF", cpf));
  }
  ASSERT_TRUE(wa.seek("11111111111"));
  ASSERT_TRUE(wa.delete_record());
  o.t->FECHA_TUDO();
  fs::remove(o.root / "DADOS/IMP0914.CDX");
  o.t->MOS_MENS = true;
  ASSERT_TRUE(o.t->ABERTURA(9, false)) << o.t->last_error();
  EXPECT_EQ(wa.reccount(), 2u);  // the deleted record is gone for good
  EXPECT_EQ(column(wa, "CPF"), (std::vector<std::string>{"22222222222", "33333333333"}));
  bool told = false;
  for (auto& p : o.host.progresses) told |= p.find("Criando o indice ") == 0 && p.find("IMP0914.CDX") != std::string::npos;
  EXPECT_TRUE(told);
  // The other orders point at the new record numbers too.
  ASSERT_TRUE(wa.set_order(3));
  EXPECT_EQ(column(wa, "CPF").size(), 2u);
}

TEST(Tables, OldRegisterIsUpgradedAtStartAndItsIndexesRebuilt) {
  Office o;
  // An old register without the newest fields, with one taxpayer abroad.
  std::vector<FieldDef> old;
  for (const auto& f : *table_layout(9))
    if (f.name != "I9_6" && f.name != "EXTERIOR" && f.name != "EBRASIL") old.push_back(f);
  std::string path = (o.root / "DADOS/IMP0914.DBF").string();
  ASSERT_TRUE(DbfTable::create(path, old));
  {
    DbfTable t;
    ASSERT_TRUE(t.open(path, DbfTable::Mode::Exclusive));
    for (auto [cpf, uf] : {std::pair{"11111111111", "EX"}, std::pair{"22222222222", "SP"}}) {
      ASSERT_TRUE(t.append_blank());
      ASSERT_TRUE(t.set_text("CPF", cpf));
      ASSERT_TRUE(t.set_text("UF", uf));
      ASSERT_TRUE(t.set_text("NOMECONTR", "Fulano"));
    }
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_text("CPF", "99999999999"));
    ASSERT_TRUE(t.set_deleted(true));
    ASSERT_TRUE(t.close());
  }
  std::ofstream(o.root / "DADOS/IMP0914.CDX") << "stale";
  // The data folder is in the terminal's list; ABERTURA(0) upgrades it.
  ASSERT_TRUE(o.t->ABERTURA(50, true));
  WorkArea& list = o.t->area(50);
  ASSERT_TRUE(list.append_blank());
  ASSERT_TRUE(list.replace_text("DIRETOR", (o.root / "DADOS").string()));
  std::string keep = o.t->places.LOCARQ;
  ASSERT_TRUE(o.t->ABERTURA(0));
  EXPECT_EQ(o.t->places.LOCARQ, keep);  // left as it was found
  EXPECT_FALSE(o.has("DADOS/IMP0914.CDX")) << "stale index must go";
  EXPECT_FALSE(o.has("DADOS/ACERTO07.DBF"));

  ASSERT_TRUE(o.t->ABERTURA(9));
  WorkArea& wa = o.t->area(9);
  EXPECT_EQ(wa.table().field_count(), static_cast<int>(table_layout(9)->size()));
  EXPECT_EQ(wa.reccount(), 2u);  // the deleted record was not carried over
  ASSERT_TRUE(wa.seek("11111111111"));
  EXPECT_EQ(wa.trimmed("EXTERIOR"), "S");
  EXPECT_EQ(wa.trimmed("EBRASIL"), "N");
  EXPECT_EQ(wa.trimmed("NOMECONTR"), "Fulano");
  ASSERT_TRUE(wa.seek("22222222222"));
  EXPECT_EQ(wa.trimmed("EXTERIOR"), "N");
  EXPECT_EQ(wa.trimmed("EBRASIL"), "S");
}

TEST(Tables, FolderListGetsTheProgramFolderAndKeepsUnreachableFolders) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(50, true));
  WorkArea& list = o.t->area(50);
  ASSERT_EQ(list.reccount(), 1u);
  EXPECT_EQ(list.trimmed("DIRETOR"), (o.root / "PROG").string());
  EXPECT_EQ(list.trimmed("SELEC"), "S");
  EXPECT_TRUE(o.has("PROG/DIRET07.DBF"));
  ASSERT_TRUE(list.append_blank());
  ASSERT_TRUE(list.replace_text("DIRETOR", "/nao/existe/agora"));
  ASSERT_TRUE(o.t->ABERTURA(0));
  EXPECT_EQ(o.t->area(50).reccount(), 2u);
}

TEST(Tables, SettingsTableIsCreatedWithItsDefaults) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(43));
  WorkArea& d = o.t->area(43);
  ASSERT_EQ(d.reccount(), 1u);
  d.go_top();
  EXPECT_EQ(DTOC(d.get_date("VCTO1")), "30/04/2014");
  EXPECT_EQ(DTOC(d.get_date("VCTO8")), "28/11/2014");
  EXPECT_EQ(d.get_number("VAL_DOLAR").str(4), "2.0429");
  EXPECT_EQ(d.get_number("TEMP_SAL"), Decimal(15));
  EXPECT_EQ(d.trimmed("PROCESSA"), "N");
  EXPECT_EQ(d.trimmed("VER_ATUAL"), "");
}

TEST(Tables, MissingReferenceTablesAreReportedNotPretended) {
  Office o;
  EXPECT_FALSE(o.t->ABERTURA(46));  // CODBENS is delivered, never made up
  ASSERT_EQ(o.host.alerts.size(), 1u);
  EXPECT_NE(o.host.alerts[0].find("CODBENS"), std::string::npos);
  EXPECT_FALSE(o.t->area(46).used());
  ASSERT_TRUE(o.t->ABERTURA(0));
  EXPECT_FALSE(o.t->missing_reference().empty());
  EXPECT_NE(o.host.alerts.back().find("Tabelas de refer"), std::string::npos);
}

TEST(Tables, TerminalNumbersOutsideTheRangeNeverReachAFileName) {
  for (const char* bad : {"100", "7", "../", "-1", "ab"}) {
    Office o;
    o.t->places.NUSU = bad;
    EXPECT_FALSE(o.t->ABERTURA(50, true)) << bad;
    EXPECT_TRUE(fs::is_empty(o.root / "PROG")) << bad;
  }
}

// Locks between two real processes: the child holds, the parent waits.
TEST(Tables, RecordLockWaitsTenTimesThenGivesUpAndWorksWhenTheHolderDies) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(42));
  ASSERT_TRUE(o.t->ADD_REC(5));
  ASSERT_TRUE(o.t->area(42).replace_text("NRO_TERM", "07"));
  o.t->area(42).unlock();
  o.t->FECHA_TUDO();

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    StorageHost quiet;
    Tables other(quiet);
    other.places = o.t->places;
    other.places.NUSU = "08";
    bool ok = other.ABERTURA(42) && other.area(42).lock_record().is_ok();
    char c = ok ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    pause();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  ASSERT_TRUE(o.t->ABERTURA(42));
  o.t->area(42).go_top();
  EXPECT_FALSE(o.t->REC_LOCK(5));
  EXPECT_EQ(o.host.pauses, 10);
  ASSERT_FALSE(o.host.alerts.empty());
  EXPECT_EQ(o.host.alerts.back(), std::string("ATEN\x80\xC7O! Registro n\xC6o ficou dispon\xA1vel. Dado n\xC7o ser\xA0 gravado."));
  ASSERT_FALSE(o.host.statuses.empty());
  EXPECT_EQ(o.host.statuses.front(), "Aguardando registro ficar disponivel no arquivo CONFIG");

  // Esc cuts the wait short.
  o.host.pauses = 0;
  o.host.esc_after = 3;
  EXPECT_FALSE(o.t->FIL_LOCK(0));
  EXPECT_EQ(o.host.pauses, 3);
  o.host.esc_after = -1;

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_TRUE(o.t->REC_LOCK(5));
}

TEST(Tables, SecondCopyOfOneTerminalCannotTakeItsFolderList) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(0));
  StorageHost quiet;
  Tables second(quiet);
  second.places = o.t->places;
  // Another process: open file descriptions in one process contend too.
  EXPECT_FALSE(second.ABERTURA(0));
  EXPECT_FALSE(second.ABERTURA(50, true));
  o.t->FECHA_TUDO();
  EXPECT_TRUE(second.ABERTURA(0));
}

// Two terminals appending to one shared register at once: every record is
// there once and the index agrees with the table afterwards.
TEST(Tables, TwoProcessesAppendingKeepTableAndIndexesConsistent) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(9));
  o.t->FECHA_TUDO();
  // Each terminal answers with the step that failed, or an empty text.
  auto work = [&](const char* term, int base) -> std::string {
    RecordingHost host;
    host.real_pauses = true;
    Tables t(host);
    t.places = o.t->places;
    t.places.NUSU = term;
    auto failed = [&](const std::string& step) {
      return step + (host.alerts.empty() ? "" : ": " + host.alerts.back());
    };
    if (!t.ABERTURA(9)) return failed("abertura");
    for (int i = 0; i < 1000; ++i) {
      char cpf[16];
      std::snprintf(cpf, sizeof cpf, "%011d", base + i);
      if (!t.ADD_REC(5)) return failed("inclusão " + std::to_string(i));
      if (!t.area(9).replace_text("CPF", cpf)) return failed("CPF");
      if (!t.area(9).replace_text("NOMECONTR", std::string("NOME ") + cpf)) return failed("nome");
      if (!t.area(9).commit()) return failed("gravação");
      t.area(9).unlock();
    }
    t.FECHA_TUDO();
    return "";
  };
  int pipe_fd[2];
  ASSERT_EQ(pipe(pipe_fd), 0);
  pid_t child = fork();
  if (child == 0) {
    close(pipe_fd[0]);
    std::string why = work("08", 100000);
    if (write(pipe_fd[1], why.data(), why.size()) < 0) _exit(2);
    _exit(why.empty() ? 0 : 1);
  }
  close(pipe_fd[1]);
  EXPECT_EQ(work("07", 200000), "");
  std::string child_why;
  char buf[256];
  for (ssize_t n; (n = read(pipe_fd[0], buf, sizeof buf)) > 0;) child_why.append(buf, n);
  close(pipe_fd[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << child_why;

  ASSERT_TRUE(o.t->ABERTURA(9));
  WorkArea& wa = o.t->area(9);
  EXPECT_EQ(wa.reccount(), 2000u);
  auto cpfs = column(wa, "CPF");
  ASSERT_EQ(cpfs.size(), 2000u);
  EXPECT_TRUE(std::is_sorted(cpfs.begin(), cpfs.end()));
  EXPECT_EQ(std::adjacent_find(cpfs.begin(), cpfs.end()), cpfs.end());
  ASSERT_TRUE(wa.set_order(2));
  EXPECT_EQ(column(wa, "CPF").size(), 2000u);
  ASSERT_TRUE(wa.set_order(1));
  ASSERT_TRUE(wa.seek("00000100999"));
  EXPECT_EQ(wa.trimmed("NOMECONTR"), "NOME 00000100999");
}

// A shared opening by a terminal that is alone checks the indexes first: a
// record appended behind the index's back (a crash, another program) is
// found in the order afterwards.
TEST(Tables, SharedOpeningAloneRebuildsAStaleIndex) {
  Office o;
  ASSERT_TRUE(o.t->ABERTURA(9));
  ASSERT_TRUE(o.t->ADD_REC(5));
  ASSERT_TRUE(o.t->area(9).replace_text("CPF", "22222222222"));
  o.t->FECHA_TUDO();
  {
    DbfTable t;
    ASSERT_TRUE(t.open((o.root / "DADOS/IMP0914.DBF").string(), DbfTable::Mode::Exclusive));
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_text("CPF", "11111111111"));
    ASSERT_TRUE(t.close());
  }
  ASSERT_TRUE(o.t->ABERTURA(9));
  EXPECT_FALSE(o.t->area(9).exclusive());
  EXPECT_EQ(column(o.t->area(9), "CPF"), (std::vector<std::string>{"11111111111", "22222222222"}));
  ASSERT_TRUE(o.t->area(9).seek("11111111111"));
}
