// Shared pieces of the start-up tests: a fresh program folder per test, the
// real Program run on the headless console with a fixed day, and direct
// access to the tables before and after the run.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "base/date.hpp"
#include "platform/console_headless.hpp"
#include "shell/config_record.hpp"
#include "shell/program.hpp"
#include "storage/host.hpp"
#include "storage/tables.hpp"

namespace tx::shell::testing {

// Between two answers a box closes and the next opens, and each drops the
// keys typed ahead; a tick in front of a key is what one such drop spends.
inline std::string answer(const std::string& keys) { return "{Tick*2}" + keys; }

// Where the delivered data files are in the source tree.
inline std::string reference_folder() { return std::string(TX_SOURCE_DIR) + "/data/reference"; }

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder = "/tmp/tx-startup-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    env.current_folder = folder;
    env.DVE2014 = folder;
    env.reference_folder = reference_folder();
    env.network_drive = [](std::string_view) { return false; };
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  // Opens the program folder's tables for terminal `nusu`.
  void with_tables(const std::string& nusu, const std::function<void(storage::Tables&)>& fn) {
    storage::RecordingHost host;
    storage::Tables t(host);
    t.places.ARQDEF = t.places.LOCARQ = t.places.LOCTRAB = folder + "\\";
    t.places.NUSU = nusu;
    fn(t);
    t.FECHA_TUDO();
  }
  // The installation does not look for updates (the question of an office
  // without Internet was answered once).
  void no_update_check() {
    with_tables("00", [](storage::Tables& t) {
      ASSERT_TRUE(t.ABERTURA(kSettingsTable));
      auto& wa = t.area(kSettingsTable);
      wa.go_top();
      ASSERT_TRUE(wa.lock_record());
      auto st = wa.replace_text("VER_ATUAL", "N");
      EXPECT_TRUE(st) << st.message;
      st = wa.commit();
      EXPECT_TRUE(st) << st.message;
      EXPECT_EQ(wa.reccount(), 1u);
    });
  }
  // The configuration record of a terminal, created with its defaults and
  // then changed by `fn`.
  void config(const std::string& nusu, Date made, const std::function<void(storage::WorkArea&)>& fn) {
    with_tables(nusu, [&](storage::Tables& t) {
      Globals g;
      g.NUSU = nusu;
      g.ROTADEF = folder;
      ASSERT_TRUE(CONFIGURA(t, g, made));
      auto& wa = t.area(kConfigTable);
      ASSERT_TRUE(wa.lock_record());
      fn(wa);
      auto st = wa.commit();
      EXPECT_TRUE(st) << st.message;
    });
  }
  std::string config_text(const std::string& nusu, const std::string& field) {
    std::string v = "<none>";
    with_tables(nusu, [&](storage::Tables& t) {
      if (!t.ABERTURA(kConfigTable)) return;
      auto& wa = t.area(kConfigTable);
      wa.seek(nusu);
      if (wa.found()) v = wa.trimmed(field);
    });
    return v;
  }
  Date config_date(const std::string& nusu, const std::string& field) {
    Date d;
    with_tables(nusu, [&](storage::Tables& t) {
      if (!t.ABERTURA(kConfigTable)) return;
      auto& wa = t.area(kConfigTable);
      wa.seek(nusu);
      if (wa.found()) d = wa.get_date(field);
    });
    return d;
  }

  struct Result {
    int status = -1;
    bool ran_out = false;
    std::string where;   // the screen where the script ran out
    std::string screen;  // the final screen
    std::vector<std::pair<int, int>> commands;
    Globals g;
  };
  // Runs the program on `keys` on day `today`; `prepare` may adjust it.
  Result run(const std::string& keys, Date today = Date::ymd(2014, 4, 10),
             const std::function<void(Program&)>& prepare = {}) {
    platform::HeadlessConsole con(keys);
    EXPECT_EQ(con.script_error(), "");
    platform::Clock clock;
    clock.fix_date(today);
    clock.fix_time(9 * 3600 + 8 * 60 + 7);
    Result r;
    {
      Program p(con, env, clock);
      if (prepare) prepare(p);
      r.status = p.run();
      r.commands = p.command_log;
      r.g = p.g;
    }
    r.ran_out = con.script_exhausted();
    r.where = con.exhausted_message();
    r.screen = con.screen_text();
    return r;
  }
  bool has_file(const std::string& name) { return std::filesystem::exists(folder + "/" + name); }

  std::string folder;
  StartEnv env;
};

}  // namespace tx::shell::testing
