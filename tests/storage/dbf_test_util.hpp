// Helpers shared by the table tests: a scratch folder removed afterwards and
// whole-file reads and writes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tx::storage::dbf_testing {

class DbfScratchDir {
 public:
  DbfScratchDir() {
    char tmpl[] = "/tmp/tx_dbf_XXXXXX";
    const char* made = ::mkdtemp(tmpl);
    path_ = made ? made : "/tmp";
  }
  ~DbfScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  DbfScratchDir(const DbfScratchDir&) = delete;
  DbfScratchDir& operator=(const DbfScratchDir&) = delete;
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_all(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace tx::storage::dbf_testing
