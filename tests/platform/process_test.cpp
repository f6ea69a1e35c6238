// Running other programs: exit codes, detached starts, the default handler
// and the environment.
#include "platform/process.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/codepage.hpp"

namespace tx::platform {
namespace {

class ProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = testing::TempDir() + "tx_proc_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    if (const char* p = std::getenv("PATH")) old_path_ = p;
  }
  void TearDown() override {
    ::setenv("PATH", old_path_.c_str(), 1);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  // Waits (bounded) for a file another process writes.
  std::string wait_for_file(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
      std::ifstream in(path);
      std::stringstream ss;
      ss << in.rdbuf();
      if (in && !ss.str().empty() && ss.str().back() == '\n') return ss.str();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
  }
  std::string dir_, old_path_;
};

TEST_F(ProcessTest, RunReportsExitCodes) {
  struct Case { std::vector<std::string> argv; int code; };
  const Case cases[] = {
      {{"true"}, 0},
      {{"sh", "-c", "exit 3"}, 3},
      {{"/bin/sh", "-c", "kill -9 $$"}, 128 + 9},
      {{"sh", "-c", "test \"$1\" = 'a b;c'", "sh", "a b;c"}, 0},  // no shell in between
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argv.back());
    EXPECT_EQ(run(c.argv), c.code);
  }
  std::string err;
  EXPECT_EQ(run({"no-such-program-tx2014"}, &err), -1);
  EXPECT_FALSE(err.empty());
  EXPECT_EQ(run({}), -1);
}

TEST_F(ProcessTest, DetachedProgramRunsOnItsOwn) {
  std::string out = dir_ + "/out.txt";
  ASSERT_TRUE(start_detached({"sh", "-c", "echo started > \"$0\"", out}));
  EXPECT_EQ(wait_for_file(out), "started\n");
  std::string err;
  EXPECT_FALSE(start_detached({"no-such-program-tx2014"}, &err));
  EXPECT_FALSE(err.empty());
}

TEST_F(ProcessTest, OpenDefaultNeedsXdgOpen) {
  ::setenv("PATH", dir_.c_str(), 1);  // nothing on it
  std::string err;
  EXPECT_FALSE(open_default("http://example.com/", &err));
  EXPECT_NE(err.find("xdg-open"), std::string::npos);
}

TEST_F(ProcessTest, OpenDefaultPassesAddressesAndMappedFiles) {
  std::string log = dir_ + "/opened.txt";
  std::string script = dir_ + "/xdg-open";
  std::ofstream(script) << "#!/bin/sh\necho \"$1\" >> '" << log << "'\n";
  ::chmod(script.c_str(), 0755);
  ::setenv("PATH", (dir_ + ":/usr/bin:/bin").c_str(), 1);
  ::setenv("TX2014_DRIVE_C", dir_.c_str(), 1);
  ASSERT_TRUE(open_default("http://example.com/?a=1&b=2"));
  EXPECT_EQ(wait_for_file(log), "http://example.com/?a=1&b=2\n");
  ::unlink(log.c_str());
  ASSERT_TRUE(open_default("C:\\RELATORIO.TXT"));
  EXPECT_EQ(wait_for_file(log), dir_ + "/RELATORIO.TXT\n");
  ::unsetenv("TX2014_DRIVE_C");
}

TEST(Getenv, GivesCp850OrEmpty) {
  ::setenv("TX2014_TEST_VAR", "Conceição", 1);
  EXPECT_EQ(GETENV("TX2014_TEST_VAR"), "Conceição"_cp.str());
  ::unsetenv("TX2014_TEST_VAR");
  EXPECT_EQ(GETENV("TX2014_TEST_VAR"), "");
  EXPECT_TRUE(find_program("sh").has_value());
  EXPECT_FALSE(find_program("no-such-program-tx2014").has_value());
}

}  // namespace
}  // namespace tx::platform
