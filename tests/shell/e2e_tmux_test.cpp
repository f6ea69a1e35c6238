// The real program in a real terminal: tmux runs tx2014 in a private server,
// send-keys types, capture-pane reads the screen. Each case polls the pane
// with a bounded number of tries instead of sleeping.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "shell/config_record.hpp"
#include "storage/host.hpp"
#include "storage/tables.hpp"

namespace {

std::string run(const std::string& cmd) {
  std::string out;
  FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// One tmux server of its own, with a plain shell in a window of the given size.
class TmuxSession {
 public:
  TmuxSession(int width, int height) {
    static int serial = 0;
    socket_ = "tx2014-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
    run(tmux() + " -f /dev/null new-session -d -x " + std::to_string(width) + " -y " +
        std::to_string(height) + " " + shell_quote("env -i PATH=/usr/bin:/bin HOME=/tmp TERM=screen PS1='e2e$ ' sh"));
  }
  ~TmuxSession() { run(tmux() + " kill-server"); }

  std::string tmux() const { return "tmux -L " + socket_; }
  std::string pane() const { return run(tmux() + " capture-pane -p"); }
  void type_line(const std::string& text) {
    run(tmux() + " send-keys -l " + shell_quote(text));
    run(tmux() + " send-keys Enter");
  }
  void key(const std::string& name) { run(tmux() + " send-keys " + name); }
  void resize(int width, int height) {
    run(tmux() + " resize-window -x " + std::to_string(width) + " -y " + std::to_string(height));
  }
  // Polls the pane until `ok` holds (at most about ten seconds).
  bool wait_for(const std::function<bool(const std::string&)>& ok) {
    for (int i = 0; i < 200; ++i) {
      last_ = pane();
      if (ok(last_)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool wait_for_text(const std::string& text) {
    return wait_for([&](const std::string& p) { return p.find(text) != std::string::npos; });
  }
  const std::string& last() const { return last_; }

 private:
  std::string socket_;
  std::string last_;
};

const char* binary() {
  const char* bin = std::getenv("TX2014_BIN");
  return bin && *bin ? bin : nullptr;
}

bool has_tmux() { return run("command -v tmux").find("tmux") != std::string::npos; }

// ASCII parts of the texts, whatever the terminal does with accents.
const char* const kMenuBar = "Envia p/ Receita  Backup  Fim";
const char* const kConfirm = "Confirma sa";

class TerminalRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!binary()) GTEST_SKIP() << "TX2014_BIN is not set (run under ctest)";
    if (!has_tmux()) GTEST_SKIP() << "tmux is not installed";
    folder_ = "/tmp/tx2014-e2e-folder-" + std::to_string(getpid());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    // An installation that does not look for updates.
    tx::storage::RecordingHost host;
    tx::storage::Tables t(host);
    t.places.ARQDEF = t.places.LOCARQ = t.places.LOCTRAB = folder_ + "\\";
    ASSERT_TRUE(t.ABERTURA(tx::shell::kSettingsTable));
    auto& wa = t.area(tx::shell::kSettingsTable);
    wa.go_top();
    ASSERT_TRUE(wa.lock_record());
    wa.replace_text("VER_ATUAL", "N");
    wa.commit();
    t.FECHA_TUDO();
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  // The command line that starts the program on the test's folders.
  std::string program(const std::string& extra = "") const {
    return "cd " + shell_quote(folder_) + " && DVE2014=" + shell_quote(folder_) + " TX2014_HOJE=10/04/2014 " + extra +
           shell_quote(binary());
  }
  // After the program: the shell is back, in a sane terminal (the status
  // line only appears if Enter reaches the shell as a line end again).
  void expect_shell_back(TmuxSession& t, int status) {
    ASSERT_TRUE(t.wait_for([](const std::string& p) { return p.find(kMenuBar) == std::string::npos; }))
        << t.last();
    t.type_line("echo status=$?");
    EXPECT_TRUE(t.wait_for_text("status=" + std::to_string(status) + "\n")) << t.last();
  }
  std::string folder_;
};

TEST_F(TerminalRun, StartsAndLeavesOnEscWithConfirmation) {
  TmuxSession t(100, 30);
  ASSERT_TRUE(t.wait_for_text("e2e$")) << t.last();
  t.type_line(program());
  ASSERT_TRUE(t.wait_for_text(kMenuBar)) << t.last();
  ASSERT_TRUE(t.wait_for_text("USUARIO DO TERMINAL 00")) << t.last();
  // Centred: 100 x 30 leaves 10 columns and 1 line of margin before the grid.
  EXPECT_NE(t.last().find("\n" + std::string(11, ' ') + "Declara"), std::string::npos) << t.last();
  EXPECT_EQ(t.last().rfind("\n", t.last().find(kMenuBar)), t.last().find('\n'));
  t.key("Escape");
  ASSERT_TRUE(t.wait_for_text(kConfirm)) << t.last();
  t.key("n");  // "Não": back to the main screen
  ASSERT_TRUE(t.wait_for([](const std::string& p) { return p.find(kConfirm) == std::string::npos; }))
      << t.last();
  EXPECT_NE(t.last().find(kMenuBar), std::string::npos);
  t.key("Escape");
  ASSERT_TRUE(t.wait_for_text(kConfirm)) << t.last();
  t.key("s");
  expect_shell_back(t, 0);
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/DIRET00.DBF"));
}

TEST_F(TerminalRun, SecondCopyOnTheSameTerminalIsRefused) {
  TmuxSession t(100, 30);
  ASSERT_TRUE(t.wait_for_text("e2e$")) << t.last();
  t.type_line(program("TERMINAL=3 "));
  ASSERT_TRUE(t.wait_for_text(kMenuBar)) << t.last();
  TmuxSession second(100, 30);
  ASSERT_TRUE(second.wait_for_text("e2e$")) << second.last();
  second.type_line(program("TERMINAL=3 "));
  ASSERT_TRUE(second.wait_for_text("O programa TX2014 no terminal 03 est")) << second.last();
  second.key("Enter");
  ASSERT_TRUE(second.wait_for([](const std::string& p) { return p.find("no terminal 03 est") == std::string::npos; }))
      << second.last();
  second.type_line("echo status=$?");
  EXPECT_TRUE(second.wait_for_text("status=1\n")) << second.last();
  t.key("Escape");
  ASSERT_TRUE(t.wait_for_text(kConfirm)) << t.last();
  t.key("s");
  expect_shell_back(t, 0);
}

TEST_F(TerminalRun, SmallWindowIsToldAndTheFrameComesWhenItGrows) {
  TmuxSession t(70, 20);
  ASSERT_TRUE(t.wait_for_text("e2e$")) << t.last();
  t.type_line(program());
  ASSERT_TRUE(t.wait_for_text("O terminal precisa de pelo menos 80 colunas e 27 linhas (tem 70x20)"))
      << t.last();
  EXPECT_EQ(t.last().find(kMenuBar), std::string::npos);
  t.resize(100, 30);
  ASSERT_TRUE(t.wait_for_text(kMenuBar)) << t.last();
  t.key("Escape");
  ASSERT_TRUE(t.wait_for_text(kConfirm)) << t.last();
  t.key("s");
  expect_shell_back(t, 0);
}

TEST_F(TerminalRun, EscOnTheSmallWindowMessageGivesUp) {
  TmuxSession t(70, 20);
  ASSERT_TRUE(t.wait_for_text("e2e$")) << t.last();
  t.type_line(program() + " 2>/dev/null");
  ASSERT_TRUE(t.wait_for_text("O terminal precisa")) << t.last();
  t.key("Escape");
  ASSERT_TRUE(t.wait_for([](const std::string& p) { return p.find("Aumente a janela") == std::string::npos; }))
      << t.last();
  t.type_line("echo status=$?");
  EXPECT_TRUE(t.wait_for_text("status=1\n")) << t.last();
}

TEST_F(TerminalRun, SignalsRestoreTheTerminal) {
  // Terminate, hang-up and interrupt end the program cleanly; a crash still
  // gives the terminal back before the default action.
  struct Case {
    int sig;
    const char* name;
    int status;
  };
  const Case cases[] = {{SIGTERM, "SIGTERM", 0}, {SIGHUP, "SIGHUP", 0}, {SIGINT, "SIGINT", 0},
                        {SIGSEGV, "SIGSEGV", 128 + SIGSEGV}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int sig = c.sig;
    TmuxSession t(100, 30);
    ASSERT_TRUE(t.wait_for_text("e2e$")) << t.last();
    std::string pidfile = "/tmp/tx2014-e2e-pid-" + std::to_string(getpid());
    t.type_line("cd " + shell_quote(folder_) + " && ulimit -c 0; DVE2014=" + shell_quote(folder_) + " sh -c 'echo $$ > " +
                pidfile + "; exec \"$0\"' " + shell_quote(binary()));
    ASSERT_TRUE(t.wait_for_text(kMenuBar)) << t.last();
    long pid = 0;
    std::ifstream(pidfile) >> pid;
    std::remove(pidfile.c_str());
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(static_cast<pid_t>(pid), sig), 0);
    expect_shell_back(t, c.status);
  }
}

}  // namespace
