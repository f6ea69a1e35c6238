// The table check command, run as the real program on a real folder.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>

#include "storage/tables.hpp"

namespace fs = std::filesystem;
using namespace tx::storage;

namespace {

struct CheckRun {
  int status = -1;
  std::string out;
};

CheckRun run_check(const fs::path& folder) {
  const char* bin = std::getenv("TX2014_BIN");
  std::string cmd = std::string(bin ? bin : TX_BINARY_DIR "/tx2014") + " --verifica-tabelas '" + folder.string() + "'";
  CheckRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

struct Folder {
  fs::path dir = fs::temp_directory_path() /
                 ("tx_verif_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()));
  Folder() {
    fs::create_directories(dir);
    RecordingHost host;
    Tables t(host);
    t.places.ARQDEF = t.places.LOCARQ = t.places.LOCTRAB = dir.string() + "/";
    t.places.NUSU = "03";
    EXPECT_TRUE(t.ABERTURA(9));
    EXPECT_TRUE(t.ABERTURA(4));
    EXPECT_TRUE(t.ABERTURA(50, true));
    for (int i = 0; i < 40; ++i) {
      t.SELECT(4);
      EXPECT_TRUE(t.ADD_REC(1));
      char cpf[16];
      std::snprintf(cpf, sizeof cpf, "%011d", i % 7);
      t.area(4).replace_text("CPF", cpf);
      t.area(4).replace_number("I7_0", i);
    }
    t.FECHA_TUDO();
  }
  ~Folder() { fs::remove_all(dir); }
};

}  // namespace

TEST(VerificaTabelas, SoundFolderPassesAndNothingChanges) {
  Folder f;
  std::map<std::string, std::string> before;
  for (auto& e : fs::directory_iterator(f.dir)) before[e.path().filename()] = slurp(e.path());
  CheckRun r = run_check(f.dir);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("IMP0414.DBF: íntegro (40 registros"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("IMP0914B.CDX: íntegro"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("DIRET03.CDX: íntegro"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("8 arquivo(s) íntegro(s), 0 danificado(s)"), std::string::npos) << r.out;
  for (auto& e : fs::directory_iterator(f.dir)) EXPECT_EQ(slurp(e.path()), before[e.path().filename()]);
}

TEST(VerificaTabelas, DamagedTableAndIndexAreNamedAndFailTheRun) {
  Folder f;
  // A record count larger than the file holds.
  {
    std::fstream t(f.dir / "IMP0914.DBF", std::ios::in | std::ios::out | std::ios::binary);
    t.seekp(4);
    const char big[4] = {'\x10', '\x27', 0, 0};
    t.write(big, 4);
  }
  // An index entry pointing at the wrong record: swap two records' keys by
  // rewriting the table's key field behind the index's back.
  {
    DbfTable t;
    ASSERT_TRUE(t.open((f.dir / "IMP0414.DBF").string(), DbfTable::Mode::Exclusive));
    ASSERT_TRUE(t.go(1));
    ASSERT_TRUE(t.set_text("CPF", "99999999999"));
    ASSERT_TRUE(t.close());
  }
  CheckRun r = run_check(f.dir);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("IMP0914.DBF: DANIFICADO"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("IMP0414.CDX: DANIFICADO"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("IMP0414.DBF: íntegro"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("danificado(s)"), std::string::npos);
  EXPECT_EQ(r.out.find(" 0 danificado(s)"), std::string::npos) << r.out;
}
