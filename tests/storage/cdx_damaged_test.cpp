// A damaged index is a clear error: never a crash, never an endless walk.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "base/codepage.hpp"
#include "cdx_fixture_test.hpp"

namespace tx::storage {
namespace {

constexpr int kKeyLen = 11;

std::uint32_t le32(const std::string& b, std::size_t o) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[o]) | (static_cast<unsigned char>(b[o + 1]) << 8) |
                                    (static_cast<unsigned char>(b[o + 2]) << 16) |
                                    (static_cast<std::uint32_t>(static_cast<unsigned char>(b[o + 3])) << 24));
}
std::uint32_t be32(const std::string& b, std::size_t o) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[o])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[o + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[o + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[o + 3]));
}
void put_le32(std::string& b, std::size_t o, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[o + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}
void put_be32(std::string& b, std::size_t o, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[o + static_cast<std::size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
}

// Offsets inside a three-level index the corruptions aim at.
struct Layout {
  std::uint32_t root, interior, leaf, second_leaf;
};

std::size_t child_at(std::size_t node, int i) { return node + 12 + static_cast<std::size_t>(i) * (kKeyLen + 8) + kKeyLen + 4; }

Layout find_layout(const std::string& b) {
  Layout l{};
  l.root = le32(b, 1536);
  l.interior = be32(b, child_at(l.root, 0));
  l.leaf = be32(b, child_at(l.interior, 0));
  l.second_leaf = be32(b, child_at(l.interior, 1));
  return l;
}

// Open, walk both ways, seek and verify; the first CdxError's text, or what
// happened instead.
std::string probe(const std::string& path) {
  try {
    CdxIndex ix = CdxIndex::open(path);
    std::size_t n = 0;
    for (std::uint32_t r = ix.first(); r != 0 && n < 100000; r = ix.next()) ++n;
    if (n >= 100000) return "endless walk";
    for (std::uint32_t r = ix.last(); r != 0 && n < 200000; r = ix.prev()) ++n;
    for (int k = 0; k < 3000; k += 37) ix.seek(std::to_string(10000000000LL + k * 3), SeekMode::Exact);
    const std::string last = std::to_string(10000000000LL + 3000 * 3);
    ix.remove(last, 3000);
    ix.insert(last, 3000);
    auto v = ix.verify(3000, [](std::uint32_t r, std::string& key) {
      key = std::to_string(10000000000LL + r * 3);
      return true;
    });
    if (!v.ok) return "verify: " + v.problems.front();
    return "no error";
  } catch (const CdxError& e) {
    return e.what();
  }
}

class CdxDamagedTest : public testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    path_ = file("D.CDX");
    CdxBuilder b(path_, "CPF", 'C', kKeyLen);
    for (std::uint32_t r = 1; r <= 3000; ++r) b.add(std::to_string(10000000000LL + r * 3), r);
    b.finish(3000, 1);
    std::ifstream in(path_, std::ios::binary);
    good_.assign(std::istreambuf_iterator<char>(in), {});
  }
  void write(const std::string& bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string path_, good_;
};

TEST_F(CdxDamagedTest, EveryDamageIsReportedAsSuch) {
  ASSERT_EQ(probe(path_), "no error");
  const Layout l = find_layout(good_);
  ASSERT_EQ(static_cast<unsigned char>(good_[l.leaf]) & 2, 2) << "the fixture needs three levels";
  struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
  };
  const std::vector<Damage> damages = {
      {"cut inside the header", [](std::string& b) { b.resize(2000); }},
      {"cut to an odd size", [](std::string& b) { b.resize(b.size() - 100); }},
      {"last node missing", [](std::string& b) { b.resize(b.size() - 512); }},
      {"root beyond the end", [](std::string& b) { put_le32(b, 1536, 0x7FFFFE00); }},
      {"root on the tag header", [](std::string& b) { put_le32(b, 1536, 1536); }},
      {"root not aligned", [&](std::string& b) { put_le32(b, 1536, l.root + 12); }},
      {"directory root out of range", [](std::string& b) { put_le32(b, 0, 0x10000000); }},
      {"tag header out of range", [](std::string& b) { b[1024 + 24] = '\x7F'; }},
      {"key length too long", [](std::string& b) { b[1536 + 12] = '\x2C'; b[1536 + 13] = '\x01'; }},
      {"child loops to the root", [&](std::string& b) { put_be32(b, child_at(l.interior, 0), l.root); }},
      {"child loops to its parent", [&](std::string& b) { put_be32(b, child_at(l.interior, 1), l.interior); }},
      {"two entries share a child", [&](std::string& b) { put_be32(b, child_at(l.interior, 1), l.leaf); }},
      {"leaf siblings loop", [&](std::string& b) { put_le32(b, l.second_leaf + 8, l.leaf); }},
      {"leaf count impossible", [&](std::string& b) { b[l.leaf + 2] = '\xFF'; b[l.leaf + 3] = '\x7F'; }},
      {"interior count zero", [&](std::string& b) { b[l.interior + 2] = 0; b[l.interior + 3] = 0; }},
      {"leaf entry bits impossible", [&](std::string& b) { b[l.leaf + 20] = 40; }},
      {"leaf compression overlapping", [&](std::string& b) { b[l.leaf + 21] = 8; b[l.leaf + 18] = '\xFF'; b[l.leaf + 23] = 2; }},
      {"node attribute garbage", [&](std::string& b) { b[l.interior] = 9; }},
      {"leaf zeroed", [&](std::string& b) { std::fill(b.begin() + l.second_leaf, b.begin() + l.second_leaf + 512, '\0'); }},
  };
  const std::string want = "Índice danificado"_cp.str();
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.name);
    std::string bytes = good_;
    d.apply(bytes);
    write(bytes);
    std::string outcome = probe(path_);
    EXPECT_TRUE(outcome.rfind(want, 0) == 0 || outcome.rfind("verify: ", 0) == 0) << outcome;
  }
}

TEST_F(CdxDamagedTest, MissingFileAndGarbageAreErrors) {
  EXPECT_THROW(CdxIndex::open(file("NONE.CDX")), CdxError);
  std::string junk(8192, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 131 % 251);
  write(junk);
  EXPECT_THROW(CdxIndex::open(path_), CdxError);
}

}  // namespace
}  // namespace tx::storage
