// Leaving the program: confirmation, the configuration record written back,
// and the second copy on the same terminal.
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

TEST_F(StartupTest, AltTAsksAndTheRecordIsWrittenBackOnYes) {
  no_update_check();
  // "Janela na declaração" (36), second button: full-screen declarations.
  auto r = run(answer("{Alt-O}") + "J" + answer("{Right}{Enter}") + answer("{Alt-T}") + answer("N") +
               answer("{Alt-T}") + answer("S"));
  EXPECT_EQ(r.status, 0) << r.where;
  EXPECT_FALSE(r.ran_out) << r.where;
  const std::vector<std::pair<int, int>> want = {{36, 0}, {91, 0}, {91, 0}};
  EXPECT_EQ(r.commands, want);
  EXPECT_EQ(r.g.OPCIRPF, "N");
  EXPECT_EQ(config_text("00", "OPCIRPF"), "N");
  EXPECT_EQ(r.g.last_command, 91);
}

TEST_F(StartupTest, ExitWritesTheGlobalsIntoTheRecord) {
  no_update_check();
  auto prepare = [](Program& p) {
    // What other parts change while the program runs.
    p.set_command(14, [](Program& q, int) {
      q.g.NOMEAG = "ANA";
      q.g.ULT_CPF = "12345678909";
      q.g.OPTTRAN = 2;
      q.g.SOESTE = 12;
      q.g.XDRIVE = "E";
      q.g.OPCIRPF = "N";
    });
  };
  auto r = run(answer("{Alt-D}") + "A" + answer("{Esc}") + answer("N") + answer("{Esc}") + answer("S"),
               Date::ymd(2014, 4, 10), prepare);
  ASSERT_EQ(r.status, 0) << r.where;
  EXPECT_FALSE(r.ran_out) << r.where;
  struct Case { const char* field; const char* want; };
  const Case cases[] = {{"NOMEAG", "ANA"}, {"ult_cpf", "12345678909"}, {"OPTTRAN", "2"},
                        {"SOESTE", "12"},  {"XDRIVE", "E"},            {"OPCIRPF", "N"}};
  for (const auto& c : cases) EXPECT_EQ(config_text("00", c.field), c.want) << c.field;
}

TEST_F(StartupTest, TerminarLeavesAtOnceAndAConsoleThatGoesAwayStillSaves) {
  no_update_check();
  auto r = run(answer("{Alt-D}") + "T");
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(r.ran_out) << r.where;
  EXPECT_EQ(r.g.last_command, 18);
  auto set_name = [](Program& p) { p.set_command(14, [](Program& q, int) { q.g.NOMEAG = "BETO"; }); };
  r = run(answer("{Alt-D}") + "A", Date::ymd(2014, 4, 10), set_name);  // then the script runs out
  EXPECT_TRUE(r.ran_out);
  EXPECT_EQ(config_text("00", "NOMEAG"), "BETO");
}

// A second copy started on a terminal whose folder list another running
// copy holds stops at the shared-table step; another terminal starts.
TEST_F(StartupTest, SecondCopyOnTheSameTerminalIsRefused) {
  const char* bin = std::getenv("TX2014_BIN");
  std::string program = bin && *bin ? bin : TX_BINARY_DIR "/tx2014";
  no_update_check();
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The first copy: the start-up verification of terminal 05, then it
    // keeps running until told to stop.
    storage::RecordingHost host;
    storage::Tables t(host);
    t.places.ARQDEF = t.places.LOCARQ = t.places.LOCTRAB = folder + "\\";
    t.places.NUSU = "05";
    char ok = t.ABERTURA(0) ? 'y' : 'n';
    (void)!write(ready[1], &ok, 1);
    char c;
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  std::string keys = folder + "/keys";
  std::ofstream(keys) << answer("{Esc}") + answer("S");
  std::string no_keys = folder + "/none";
  std::ofstream(no_keys) << "";
  auto start = [&](const std::string& terminal, int& status, const std::string& script) {
    std::string cmd = "cd '" + folder + "' && DVE2014='" + folder + "' TERMINAL=" + terminal +
                      " TX2014_HOJE=10/04/2014 '" + program + "' --headless-script '" + script + "' 2>&1";
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int rc = pclose(p);
    status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
  };
  int status = -1;
  // The notice waits for a key: where the script ran out shows it.
  std::string out = start("05", status, no_keys);
  EXPECT_NE(out.find("O programa TX2014 no terminal 05 está em uso"), std::string::npos) << out;
  EXPECT_EQ(status, 3);
  out = start("05", status, keys);
  EXPECT_EQ(status, 1) << out;
  out = start("06", status, keys);
  EXPECT_EQ(status, 0) << out;
  char c = 'x';
  (void)!write(release[1], &c, 1);
  int st = 0;
  waitpid(child, &st, 0);
  out = start("05", status, keys);
  EXPECT_EQ(status, 0) << out;
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

}  // namespace
}  // namespace tx::shell::testing
