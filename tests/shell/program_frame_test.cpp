// The program's frame on the headless console, and the binary's headless mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <functional>
#include <sys/wait.h>
#include <string>
#include <unistd.h>

#include "platform/console_headless.hpp"
#include "shell/program.hpp"

using namespace tx;
using namespace tx::platform;

namespace {

// A clock that moves one second each time it is read.
struct SteppingClock {
  int reads = 0;
  std::string operator()() {
    char buf[16];
    std::snprintf(buf, sizeof buf, "10:00:%02d", reads++);
    return buf;
  }
};

std::string trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

TEST(ProgramFrame, MenuBarDesktopAndStatusBar) {
  HeadlessConsole con("{Esc}");
  SteppingClock clock;
  shell::Program program(con, std::ref(clock));
  EXPECT_EQ(program.run(), 0);
  EXPECT_FALSE(con.script_exhausted());
  EXPECT_EQ(trimmed(con.row_text(0)), " TX2014 - IRPF 2014");
  EXPECT_EQ(con.get(0, 79).attr, shell::kMenuBarAttr);
  for (int r = kScreenTop; r < kRows - 1; ++r)
    for (int c = 0; c < kCols; ++c) ASSERT_EQ(con.get(r, c), (Cell{' ', shell::kDesktopAttr})) << r << "," << c;
  std::string status = con.row_text(kRows - 1);
  EXPECT_EQ(status.substr(0, 10), " Esc: sair");
  EXPECT_EQ(status.substr(71), "10:00:00 ");
  EXPECT_EQ(con.get(kRows - 1, 0).attr, shell::kStatusAttr);
  EXPECT_GE(con.refresh_count(), 1);
}

TEST(ProgramFrame, ClockIsRedrawnOnEachTickOnly) {
  HeadlessConsole con("{Tick}x{F2}{Tick}{Esc}");
  SteppingClock clock;
  shell::Program program(con, std::ref(clock));
  program.run();
  EXPECT_EQ(clock.reads, 3);  // the first draw and two ticks
  EXPECT_EQ(con.row_text(kRows - 1).substr(71, 8), "10:00:02");
}

TEST(ProgramFrame, QuitEndsTheRunLikeEsc) {
  const char* scripts[] = {"{Quit}{Esc}", "abc"};
  for (const char* s : scripts) {
    HeadlessConsole con(s);
    shell::Program program(con, [] { return std::string("12:34:56"); });
    EXPECT_EQ(program.run(), 0) << s;
    EXPECT_FALSE(program.running());
  }
  HeadlessConsole con("abc");
  shell::Program program(con, [] { return std::string("12:34:56"); });
  program.run();
  EXPECT_TRUE(con.script_exhausted());  // "abc" never leaves by itself
}

class HeadlessBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("TX2014_BIN");
    if (!bin || !*bin) GTEST_SKIP() << "TX2014_BIN is not set (run under ctest)";
    bin_ = bin;
    script_ = "/tmp/tx2014-headless-" + std::to_string(getpid()) + ".keys";
  }
  void TearDown() override { std::remove(script_.c_str()); }
  // Runs the binary on a key script; returns its standard output.
  std::string run(const std::string& keys, int& status) {
    std::ofstream(script_) << keys;
    std::string cmd = "TX2014_AGORA=09:08:07 '" + bin_ + "' --headless-script '" + script_ + "' 2>/dev/null";
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int rc = pclose(p);
    status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
  }
  std::string bin_, script_;
};

TEST_F(HeadlessBinary, PrintsTheFinalScreen) {
  int status = -1;
  std::string out = run("{Tick}{Esc}", status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), kRows);
  EXPECT_EQ(out.rfind(" TX2014 - IRPF 2014", 0), 0u) << out;
  EXPECT_NE(out.find(" Esc: sair"), std::string::npos);
  EXPECT_NE(out.find("09:08:07 \n"), std::string::npos) << out;
}

TEST_F(HeadlessBinary, BadOrExhaustedScriptsFail) {
  int status = -1;
  run("{Nonsense}", status);
  EXPECT_EQ(status, 2);
  std::string out = run("abc", status);
  EXPECT_EQ(status, 3);
  EXPECT_NE(out.find("Esc: sair"), std::string::npos);  // the screen is still shown
}

}  // namespace
