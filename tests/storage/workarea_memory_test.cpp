// A table of more than a gigabyte opens, moves and seeks with a few
// megabytes: nothing loads it whole. The file is sparse, so the test costs
// no disk space.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "storage/dbf_format.hpp"
#include "storage/layout.hpp"
#include "storage/workarea.hpp"

using namespace tx;
using namespace tx::storage;
namespace fs = std::filesystem;

namespace {
long rss_kb() {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}
}  // namespace

TEST(WorkAreaMemory, GigabyteTableOpensMovesAndSeeksInAFewMegabytes) {
  fs::path dir = fs::temp_directory_path() / ("tx_big_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const auto& fields = *table_layout(1);  // the 1803-byte main record
  const std::uint32_t count = 600000;     // about 1.08 GB
  std::string header = build_dbf_header(fields, count, Date::ymd(2014, 4, 1));
  std::string path = (dir / "IMP0114.DBF").string();
  {
    int fd = ::open(path.c_str(), O_CREAT | O_RDWR | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, header.data(), header.size()), static_cast<ssize_t>(header.size()));
    off_t end = static_cast<off_t>(header.size()) + off_t(count) * record_length(fields);
    ASSERT_EQ(::ftruncate(fd, end + 1), 0);
    ::close(fd);
  }
  ASSERT_GT(fs::file_size(path), 1000000000u);
  {
    // The index is built once, before measuring.
    WorkArea wa(1);
    ASSERT_TRUE(wa.open(path, DbfTable::Mode::Exclusive, "IMP0114"));
    ASSERT_TRUE(wa.add_order((dir / "IMP0114.CDX").string(), "CPF"));
  }
  long before = rss_kb();
  {
    WorkArea wa(1);
    ASSERT_TRUE(wa.open(path, DbfTable::Mode::Exclusive, "IMP0114"));
    ASSERT_TRUE(wa.add_order((dir / "IMP0114.CDX").string(), "CPF"));
    EXPECT_EQ(wa.reccount(), count);
    std::mt19937 rng(3);
    for (int i = 0; i < 2000; ++i) {
      ASSERT_TRUE(wa.go(1 + rng() % count));
      (void)wa.get_number("I13_21");
    }
    ASSERT_TRUE(wa.go_bottom());
    EXPECT_FALSE(wa.eof());
    ASSERT_TRUE(wa.skip(-500));
    ASSERT_TRUE(wa.seek(std::string(11, '\0')));
    EXPECT_TRUE(wa.found());
    long after = rss_kb();
    EXPECT_LT(after - before, 16 * 1024) << "resident memory grew by " << (after - before) << " kB";
  }
  fs::remove_all(dir);
}
