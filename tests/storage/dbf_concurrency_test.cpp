// Two real processes on one table: open modes, record locks, locks dropped
// when the holder is killed, and simultaneous appends.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "dbf_test_util.hpp"
#include "storage/dbf_table.hpp"

using namespace tx;
using namespace tx::storage;
using tx::storage::dbf_testing::DbfScratchDir;

namespace {

// A forked child that runs `body`, tells the parent when it is ready (by
// writing one byte) and waits for the parent's go-ahead before finishing.
class Child {
 public:
  // body(ready, wait_go) returns the exit code.
  explicit Child(const std::function<int(const std::function<void()>&, const std::function<void()>&)>& body) {
    if (::pipe(up_) != 0 || ::pipe(down_) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(up_[0]);
      ::close(down_[1]);
      auto ready = [this] {
        char c = 'r';
        (void)!::write(up_[1], &c, 1);
      };
      auto wait_go = [this] {
        char c;
        (void)!::read(down_[0], &c, 1);
      };
      ::_exit(body(ready, wait_go));
    }
    ::close(up_[1]);
    ::close(down_[0]);
  }
  ~Child() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      finish();
    }
    ::close(up_[0]);
    ::close(down_[1]);
  }
  bool started() const { return pid_ > 0; }
  bool wait_ready() {
    char c = 0;
    return ::read(up_[0], &c, 1) == 1 && c == 'r';
  }
  void go_ahead() {
    char c = 'g';
    (void)!::write(down_[1], &c, 1);
  }
  int finish() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  void kill_hard() { ::kill(pid_, SIGKILL); }

 private:
  int up_[2] = {-1, -1}, down_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool reaped_ = false;
};

class DbfProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DbfTable::create(path, {{"QUEM", 'C', 2, 0}, {"SEQ", 'N', 6, 0}, {"NOTA", 'M', 10, 0}}, Date::ymd(2014, 1, 1)));
  }
  DbfScratchDir dir;
  std::string path = dir.file("IMP0914.DBF");
};

TEST_F(DbfProcessTest, OpenModesAgainstAnotherProcess) {
  struct Case {
    DbfTable::Mode child, parent;
    DbfCode expect;
  } cases[] = {
      {DbfTable::Mode::Shared, DbfTable::Mode::Shared, DbfCode::Ok},
      {DbfTable::Mode::Shared, DbfTable::Mode::Exclusive, DbfCode::Busy},
      {DbfTable::Mode::Exclusive, DbfTable::Mode::Shared, DbfCode::Busy},
      {DbfTable::Mode::Exclusive, DbfTable::Mode::Exclusive, DbfCode::Busy},
  };
  for (const Case& c : cases) {
    const std::string p = path;
    Child child([&, p](auto& ready, auto& wait_go) {
      DbfTable t;
      if (!t.open(p, c.child)) return 1;
      ready();
      wait_go();
      return 0;
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.wait_ready());
    {
      DbfTable t;
      DbfStatus s = t.open(path, c.parent);
      EXPECT_EQ(s.code, c.expect) << s.message;
      if (c.expect == DbfCode::Busy) {
        EXPECT_EQ(s.message, "Arquivo em uso por outro terminal");
      }
    }
    child.go_ahead();
    EXPECT_EQ(child.finish(), 0);
    DbfTable after;
    EXPECT_TRUE(after.open(path, DbfTable::Mode::Exclusive)) << "free once the other closed";
  }
}

TEST_F(DbfProcessTest, RecordLockContention) {
  {
    DbfTable t;
    ASSERT_TRUE(t.open(path, DbfTable::Mode::Exclusive));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(t.append_blank());
  }
  const std::string p = path;
  Child child([p](auto& ready, auto& wait_go) {
    DbfTable t;
    if (!t.open(p, DbfTable::Mode::Shared) || !t.go(2) || !t.lock_record(2)) return 1;
    ready();
    wait_go();
    if (!t.set_text("QUEM", "FI") || !t.flush()) return 2;
    t.unlock_record(2);
    ready();
    wait_go();
    return 0;
  });
  ASSERT_TRUE(child.wait_ready());
  DbfTable t;
  ASSERT_TRUE(t.open(path, DbfTable::Mode::Shared));
  EXPECT_EQ(t.lock_record(2).code, DbfCode::Busy);
  EXPECT_TRUE(t.lock_record(1));
  EXPECT_TRUE(t.lock_record(3));
  EXPECT_EQ(t.lock_file().code, DbfCode::Busy);
  child.go_ahead();
  ASSERT_TRUE(child.wait_ready());
  EXPECT_TRUE(t.lock_record(2));
  ASSERT_TRUE(t.go(2));
  EXPECT_EQ(t.get_text("QUEM"), "FI") << "the other process's write is seen on the next go()";
  t.unlock_all();
  child.go_ahead();
  EXPECT_EQ(child.finish(), 0);
}

TEST_F(DbfProcessTest, KilledHolderLeavesNoLock) {
  const std::string p = path;
  Child child([p](auto& ready, auto& wait_go) {
    DbfTable t;
    if (!t.open(p, DbfTable::Mode::Exclusive)) return 1;
    ready();
    wait_go();
    return 0;
  });
  ASSERT_TRUE(child.wait_ready());
  DbfTable t;
  EXPECT_EQ(t.open(path, DbfTable::Mode::Shared).code, DbfCode::Busy);
  child.kill_hard();
  EXPECT_EQ(child.finish(), 128 + SIGKILL);
  EXPECT_TRUE(t.open(path, DbfTable::Mode::Exclusive));
}

TEST_F(DbfProcessTest, KilledRecordHolderFreesTheRecord) {
  {
    DbfTable t;
    ASSERT_TRUE(t.open(path, DbfTable::Mode::Exclusive));
    ASSERT_TRUE(t.append_blank());
  }
  const std::string p = path;
  Child child([p](auto& ready, auto& wait_go) {
    DbfTable t;
    if (!t.open(p, DbfTable::Mode::Shared) || !t.lock_file()) return 1;
    ready();
    wait_go();
    return 0;
  });
  ASSERT_TRUE(child.wait_ready());
  DbfTable t;
  ASSERT_TRUE(t.open(path, DbfTable::Mode::Shared));
  EXPECT_EQ(t.lock_record(1).code, DbfCode::Busy);
  EXPECT_EQ(t.append_blank().code, DbfCode::Busy);
  child.kill_hard();
  child.finish();
  EXPECT_TRUE(t.lock_record(1));
  EXPECT_TRUE(t.append_blank());
  EXPECT_EQ(t.record_count(), 2u);
}

// Appends and memo texts from two processes at once: no record or memo
// block is lost, taken twice or overwritten by the other.
TEST_F(DbfProcessTest, SimultaneousAppendsNeverCollide) {
  constexpr int kPerProcess = 300;
  const std::string p = path;
  auto appender = [p](const char* who) {
    return [p, who](auto& ready, auto& wait_go) {
      DbfTable t;
      if (!t.open(p, DbfTable::Mode::Shared)) return 1;
      ready();
      wait_go();
      for (int i = 1; i <= kPerProcess; ++i) {
        DbfStatus s;
        for (int tries = 0; tries < 100 && !(s = t.append_blank()); ++tries) {
          if (s.code != DbfCode::Busy) return 2;
        }
        if (!s) return 3;
        std::uint32_t n = t.recno();
        if (!t.set_text("QUEM", who) || !t.set_number("SEQ", i)) return 4;
        // Growing texts take new blocks each time, so the two processes'
        // allocations interleave; the last, short text stays in place.
        for (std::size_t grow = 1; grow <= 4; ++grow)
          if (!t.set_memo("NOTA", std::string(64 * grow, '+'))) return 4;
        if (!t.set_memo("NOTA", std::string(who) + "-" + std::to_string(i) + std::string(i % 97, '.'))) return 4;
        if (!t.flush()) return 4;
        t.unlock_record(n);
      }
      return t.close() ? 0 : 5;
    };
  };
  Child a(appender("AA")), b(appender("BB"));
  ASSERT_TRUE(a.wait_ready());
  ASSERT_TRUE(b.wait_ready());
  a.go_ahead();
  b.go_ahead();
  EXPECT_EQ(a.finish(), 0);
  EXPECT_EQ(b.finish(), 0);
  DbfTable t;
  ASSERT_TRUE(t.open(path, DbfTable::Mode::Shared));
  ASSERT_EQ(t.record_count(), 2u * kPerProcess);
  EXPECT_EQ(t.file_size(), t.header().header_len + 2u * kPerProcess * t.header().record_len + 1);
  std::set<std::pair<std::string, long long>> seen;
  for (std::uint32_t r = 1; r <= t.record_count(); ++r) {
    ASSERT_TRUE(t.go(r));
    std::string who(t.get_text("QUEM"));
    EXPECT_TRUE(who == "AA" || who == "BB") << "record " << r << " lost its writer's values";
    long long seq = t.get_number("SEQ").to_long();
    EXPECT_TRUE(seen.emplace(who, seq).second) << "duplicate at " << r;
    std::string memo;
    ASSERT_TRUE(t.get_memo("NOTA", memo));
    EXPECT_EQ(memo, who + "-" + std::to_string(seq) + std::string(static_cast<std::size_t>(seq % 97), '.')) << r;
  }
  EXPECT_EQ(seen.size(), 2u * kPerProcess);
}

}  // namespace
