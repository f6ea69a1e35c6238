// The main screen after the start-up on the headless console, and the
// binary's headless mode.
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "startup_fixture.hpp"

namespace tx::shell::testing {
namespace {

using platform::kCols;
using platform::kRows;
using platform::kScreenTop;

TEST_F(StartupTest, MainScreenMenuBarBackgroundLogoAndClock) {
  no_update_check();
  platform::HeadlessConsole con(answer(""));
  platform::Clock clock;
  clock.fix_date(Date::ymd(2014, 4, 10));
  clock.fix_time(10 * 3600);
  Program p(con, env, clock);
  p.subsystems.check_alarms = [&](Program&) {};
  p.run();  // runs out in the main loop
  // What the screen showed while the program waited there.
  const std::string& where = con.exhausted_message();
  EXPECT_NE(where.find(" Declaração  Opções  Selecão  Impressão  Envia p/ Receita  Backup  Fim"),
            std::string::npos)
      << where;
  EXPECT_NE(where.find("USUARIO DO TERMINAL 00      de 11/04/14"), std::string::npos) << where;
  EXPECT_NE(where.find("10:00:00"), std::string::npos) << where;
}

TEST_F(StartupTest, BackgroundAndLogoPanelColours) {
  no_update_check();
  platform::HeadlessConsole con("");
  Program p(con, env);
  p.draw_background();
  const auto fill = static_cast<unsigned char>(screen::ACHACOR(p.screen.colours.COR_ENCH_C));
  EXPECT_EQ(con.get(kScreenTop, 0), (platform::Cell{' ', fill}));
  EXPECT_EQ(con.get(kScreenTop + 24, 79), (platform::Cell{' ', fill}));
  // The logo panel covers rows 3-17, columns 21-62.
  EXPECT_EQ(con.get(kScreenTop + 3, 21).attr, p.screen.colours.COR_TEL2);
  EXPECT_EQ(con.get(kScreenTop + 17, 62).attr, p.screen.colours.COR_TEL2);
  EXPECT_EQ(con.get(kScreenTop + 2, 21), (platform::Cell{' ', fill}));
  EXPECT_EQ(con.get(kScreenTop + 18, 62), (platform::Cell{' ', fill}));
}

class HeadlessBinary : public StartupTest {
 protected:
  void SetUp() override {
    StartupTest::SetUp();
    const char* bin = std::getenv("TX2014_BIN");
    bin_ = bin && *bin ? bin : TX_BINARY_DIR "/tx2014";
    script_ = folder + "/keys";
  }
  // Runs the binary on a key script; returns its standard output.
  std::string run_binary(const std::string& keys, int& status) {
    std::ofstream(script_) << keys;
    std::string cmd = "cd '" + folder + "' && DVE2014='" + folder + "' TX2014_HOJE=10/04/2014 TX2014_AGORA=09:08:07 '" +
                      bin_ + "' --headless-script '" + script_ + "' 2>/dev/null";
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
  no_update_check();
  int status = -1;
  // Leaves with Esc and confirms; the screen is cleared at the end.
  std::string out = run_binary(answer("{Esc}") + answer("S"), status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), kRows);
  EXPECT_EQ(out.find("TX2014 no terminal"), std::string::npos);
  EXPECT_TRUE(has_file("DIRET00.DBF"));
}

TEST_F(HeadlessBinary, BadOrExhaustedScriptsFail) {
  no_update_check();
  int status = -1;
  run_binary("{Nonsense}", status);
  EXPECT_EQ(status, 2);
  std::string out = run_binary(answer("{Esc}"), status);  // the confirmation waits
  EXPECT_EQ(status, 3);
}

}  // namespace
}  // namespace tx::shell::testing
