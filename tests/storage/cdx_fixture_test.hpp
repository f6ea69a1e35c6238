// Fixture and walks shared by the index tests: a scratch folder and walks of an index.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "storage/cdx_index.hpp"

namespace tx::storage::testing {

using Entry = std::pair<std::string, std::uint32_t>;  // (key, recno)

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string t = (std::filesystem::temp_directory_path() / "tx_cdx_XXXXXX").string();
    ASSERT_NE(::mkdtemp(t.data()), nullptr);
    dir_ = t;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string file(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

// Every entry in key order, by first/next; stops (and fails) on a runaway walk.
inline std::vector<Entry> walk_forward(CdxIndex& ix, std::size_t limit = 10'000'000) {
  std::vector<Entry> out;
  for (std::uint32_t r = ix.first(); r != 0; r = ix.next()) {
    out.emplace_back(ix.key(), r);
    if (out.size() > limit) {
      ADD_FAILURE() << "walk does not end";
      break;
    }
  }
  return out;
}

inline std::vector<Entry> walk_backward(CdxIndex& ix) {
  std::vector<Entry> out;
  for (std::uint32_t r = ix.last(); r != 0; r = ix.prev()) out.emplace_back(ix.key(), r);
  return out;
}

inline std::vector<Entry> model_entries(const std::set<Entry>& m) { return {m.begin(), m.end()}; }

}  // namespace tx::storage::testing
