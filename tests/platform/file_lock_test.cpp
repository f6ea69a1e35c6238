// Byte-range locks: contention between two open files of one process (the
// kernel treats them like two terminals) and between real processes,
// including release when the holder is killed.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_lock.hpp"

using namespace tx::platform;

namespace {

class FileLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tx_lock_XXXXXX";
    int fd = mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    ::close(fd);
    path_ = tmpl;
  }
  void TearDown() override {
    for (int fd : fds_) ::close(fd);
    ::unlink(path_.c_str());
  }
  int open_new() {
    int fd = ::open(path_.c_str(), O_RDWR);
    fds_.push_back(fd);
    return fd;
  }
  std::string path_;
  std::vector<int> fds_;
};

TEST_F(FileLockTest, OpenModesConflictAsSharedAndExclusive) {
  struct Case {
    bool first_exclusive, second_exclusive;
    LockResult expect;
  } cases[] = {
      {false, false, LockResult::Acquired},
      {false, true, LockResult::Busy},
      {true, false, LockResult::Busy},
      {true, true, LockResult::Busy},
  };
  for (const Case& c : cases) {
    int a = open_new(), b = open_new();
    ASSERT_EQ(try_open_lock(a, c.first_exclusive), LockResult::Acquired);
    EXPECT_EQ(try_open_lock(b, c.second_exclusive), c.expect)
        << c.first_exclusive << " then " << c.second_exclusive;
    unlock_open(a);
    unlock_open(b);
  }
}

TEST_F(FileLockTest, RecordAndFileLocksContend) {
  int a = open_new(), b = open_new();
  ASSERT_EQ(try_record_lock(a, 7), LockResult::Acquired);
  EXPECT_EQ(try_record_lock(a, 7), LockResult::Acquired) << "the holder may lock again";
  EXPECT_EQ(try_record_lock(b, 7), LockResult::Busy);
  EXPECT_EQ(try_record_lock(b, 8), LockResult::Acquired);
  EXPECT_EQ(try_file_lock(b), LockResult::Busy) << "record 7 is held by the other";
  EXPECT_TRUE(lock_held_elsewhere(b, lock_offsets::kRecordBase + 7, 1, true));
  unlock_record(a, 7);
  EXPECT_EQ(try_file_lock(b), LockResult::Acquired);
  EXPECT_EQ(try_record_lock(a, 1), LockResult::Busy);
  EXPECT_EQ(try_record_lock(a, 0xFFFFFFFFu), LockResult::Busy) << "the file lock covers the whole range";
  EXPECT_EQ(try_open_lock(a, false), LockResult::Acquired) << "the open lock is apart from records";
  EXPECT_EQ(try_header_lock(a), LockResult::Acquired) << "the append lock is apart from records";
  EXPECT_EQ(try_header_lock(b), LockResult::Busy);
  unlock_records(b);
  EXPECT_EQ(try_record_lock(a, 1), LockResult::Acquired);
}

TEST_F(FileLockTest, LocksLieBeyondAnyRealFileSize) {
  // A table holds at most 2^32 records of at most 64 KB.
  EXPECT_GT(lock_offsets::kSentinel, off_t{1} << 48);
  EXPECT_GT(lock_offsets::kRecordBase, lock_offsets::kMemoAlloc);
  EXPECT_GT(lock_offsets::kRecordBase + lock_offsets::kRecordSpan, lock_offsets::kRecordBase);
  int a = open_new();
  ASSERT_EQ(try_file_lock(a), LockResult::Acquired);
  char buf[1];
  EXPECT_EQ(::pwrite(a, "x", 1, 0), 1) << "locks never cover real bytes";
  EXPECT_EQ(::pread(open_new(), buf, 1, 0), 1);
}

TEST_F(FileLockTest, HolderKilledReleasesItsLocks) {
  int pipefd[2];
  ASSERT_EQ(::pipe(pipefd), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int fd = ::open(path_.c_str(), O_RDWR);
    bool ok = try_open_lock(fd, true) == LockResult::Acquired &&
              try_record_lock(fd, 3) == LockResult::Acquired;
    char c = ok ? 'y' : 'n';
    (void)!::write(pipefd[1], &c, 1);
    for (;;) ::pause();
  }
  ::close(pipefd[1]);
  char c = 0;
  ASSERT_EQ(::read(pipefd[0], &c, 1), 1);
  ::close(pipefd[0]);
  ASSERT_EQ(c, 'y');
  int mine = open_new();
  EXPECT_EQ(try_open_lock(mine, false), LockResult::Busy) << "another process holds it exclusive";
  EXPECT_EQ(try_record_lock(mine, 3), LockResult::Busy);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(try_open_lock(mine, true), LockResult::Acquired);
  EXPECT_EQ(try_record_lock(mine, 3), LockResult::Acquired);
}

TEST_F(FileLockTest, BadDescriptorIsAnErrorNotBusy) {
  EXPECT_EQ(try_record_lock(-1, 1), LockResult::Error);
  int ro = ::open(path_.c_str(), O_RDONLY);
  fds_.push_back(ro);
  EXPECT_EQ(try_open_lock(ro, false), LockResult::Acquired);
  EXPECT_EQ(try_open_lock(ro, true), LockResult::Error) << "a write lock needs a writable open";
}

}  // namespace
