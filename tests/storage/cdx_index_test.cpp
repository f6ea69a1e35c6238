#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

#include <sys/wait.h>
#include <unistd.h>

#include "storage/cdx_key.hpp"
#include "base/codepage.hpp"
#include "cdx_fixture_test.hpp"

namespace tx::storage {
namespace {

using testing::Entry;
using testing::model_entries;
using testing::walk_backward;
using testing::walk_forward;

class CdxIndexTest : public testing::ScratchDir {};

std::string pad(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

// Keys with many duplicates, keys differing only in a blank against a
// control byte at the end, and keys of different lengths.
std::vector<Entry> awkward_keys(int n, int key_len, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<Entry> v;
  const char* stems[] = {"A", "AB", "AB\x01", "ABC", "B", "CPF", "\xC7O", "Z"};
  for (int i = 1; i <= n; ++i) {
    std::string k;
    switch (rng() % 4) {
      case 0: k = stems[rng() % 8]; break;                                      // duplicates
      case 1: k = std::to_string(rng() % 100000000000ULL); break;               // CPF-like
      case 2: k = std::string(stems[rng() % 8]) + std::string(rng() % 3, ' ') + "x"; break;
      default: k = std::string(static_cast<std::size_t>(rng() % key_len + 1), static_cast<char>('a' + rng() % 3)); break;
    }
    v.emplace_back(pad(k.substr(0, static_cast<std::size_t>(key_len)), static_cast<std::size_t>(key_len)),
                   static_cast<std::uint32_t>(i));
  }
  return v;
}

TEST_F(CdxIndexTest, BuildThenWalkAndSeekInKeyOrder) {
  for (int key_len : {11, 64, 240}) {
    SCOPED_TRACE(key_len);
    auto pairs = awkward_keys(6000, key_len, 7u + static_cast<unsigned>(key_len));
    CdxBuilder b(file("T.CDX"), "CPF", 'C', key_len);
    for (auto& [k, r] : pairs) b.add(k, r);
    b.finish(6000, 42);
    std::set<Entry> model(pairs.begin(), pairs.end());

    CdxIndex ix = CdxIndex::open(file("T.CDX"));
    EXPECT_EQ(ix.count(), 6000u);
    EXPECT_EQ(ix.key_len(), key_len);
    EXPECT_EQ(ix.expression(), "CPF");
    EXPECT_EQ(ix.tag_name(), "T");
    EXPECT_EQ(ix.stamp().records, 6000u);
    EXPECT_EQ(ix.stamp().updates, 42u);
    ASSERT_EQ(walk_forward(ix), model_entries(model));
    auto check = ix.verify(6000, [&](std::uint32_t r, std::string& k) {
      k = pairs[r - 1].first;
      return true;
    });
    EXPECT_TRUE(check.ok) << (check.problems.empty() ? "" : check.problems[0]);
    auto back = walk_backward(ix);
    std::reverse(back.begin(), back.end());
    ASSERT_EQ(back, model_entries(model));

    // seeks against the model's lower bound
    for (const char* probe : {"AB", "AB\x01", "AB ", "ABC", "0", "5", "CPF", "ZZ", "", "\xC7"}) {
      std::string p = probe;
      auto lb = std::find_if(model.begin(), model.end(), [&](const Entry& e) { return e.first.compare(0, p.size(), p) >= 0; });
      SeekResult soft = ix.seek(p, SeekMode::Soft);
      EXPECT_EQ(soft.recno, lb == model.end() ? 0u : lb->second) << p;
      bool prefix_hit = lb != model.end() && lb->first.compare(0, p.size(), p) == 0;
      EXPECT_EQ(soft.found, prefix_hit) << p;
      SeekResult pre = ix.seek(p, SeekMode::Prefix);
      EXPECT_EQ(pre.found, prefix_hit);
      EXPECT_EQ(pre.recno, prefix_hit ? lb->second : 0u);
      if (!prefix_hit) {
        EXPECT_TRUE(ix.eof());
      }
      std::string full = pad(p, static_cast<std::size_t>(key_len));
      auto ex = model.lower_bound({full, 0});
      SeekResult exact = ix.seek(p, SeekMode::Exact);
      bool exact_hit = ex != model.end() && ex->first == full;
      EXPECT_EQ(exact.found, exact_hit) << p;
      if (exact_hit) {
        EXPECT_EQ(exact.recno, ex->second);
        auto nx = std::next(ex);  // skipping on from a seek follows the model
        EXPECT_EQ(ix.next(), nx == model.end() ? 0u : nx->second);
      }
    }
  }
}

TEST_F(CdxIndexTest, BuildBeyondItsMemoryMergesSortedRuns) {
  auto pairs = awkward_keys(5000, 15, 99);
  pairs.push_back(pairs[10]);  // the same pair twice is kept once
  CdxBuilder b(file("M.CDX"), "CPF", 'C', 15, 4096);  // about 200 pairs a run
  for (auto& [k, r] : pairs) b.add(k, r);
  b.finish();
  std::set<Entry> model(pairs.begin(), pairs.end());
  CdxIndex ix = CdxIndex::open(file("M.CDX"));
  EXPECT_EQ(ix.count(), 5000u);
  EXPECT_EQ(walk_forward(ix), model_entries(model));
  for (const auto& entry : std::filesystem::directory_iterator(dir_))  // no scratch file left
    EXPECT_EQ(entry.path().filename().string().find(".run"), std::string::npos);
}

TEST_F(CdxIndexTest, EmptyIndexAndEnds) {
  CdxIndex ix = CdxIndex::create(file("E.CDX"), "CPF", 'C', 11);
  EXPECT_EQ(ix.count(), 0u);
  EXPECT_EQ(ix.first(), 0u);
  EXPECT_TRUE(ix.eof());
  EXPECT_EQ(ix.last(), 0u);
  EXPECT_FALSE(ix.seek("1", SeekMode::Soft).found);
  ix.insert("5", 1);
  EXPECT_EQ(ix.first(), 1u);
  EXPECT_EQ(ix.prev(), 0u);
  EXPECT_TRUE(ix.bof());
  EXPECT_EQ(ix.next(), 1u);  // from the start again
  EXPECT_EQ(ix.next(), 0u);
  EXPECT_TRUE(ix.eof());
  EXPECT_EQ(ix.prev(), 1u);  // from the end again
  EXPECT_TRUE(ix.remove("5", 1));
  EXPECT_FALSE(ix.remove("5", 1));
  EXPECT_EQ(ix.count(), 0u);
  EXPECT_EQ(ix.first(), 0u);
}

struct RandomCase {
  int key_len;
  int ops;
  int alphabet;  // distinct keys: few means long runs of duplicates
  CdxSharing sharing;
};

class CdxRandomTest : public CdxIndexTest, public ::testing::WithParamInterface<RandomCase> {};

TEST_P(CdxRandomTest, InsertRemoveMatchesModel) {
  const RandomCase rc = GetParam();
  std::mt19937 rng(static_cast<unsigned>(rc.key_len * 31 + rc.alphabet));
  const std::string path = file("R.CDX");
  auto ix = std::make_unique<CdxIndex>(CdxIndex::create(path, "K", 'C', rc.key_len, rc.sharing));
  std::set<Entry> model;
  std::vector<Entry> live;
  auto make_key = [&] {
    std::string k = "K" + std::to_string(rng() % static_cast<unsigned>(rc.alphabet));
    if (rng() % 2) k += std::string(rng() % 5, 'q');
    return pad(k.substr(0, static_cast<std::size_t>(rc.key_len)), static_cast<std::size_t>(rc.key_len));
  };
  std::uint32_t next_rec = 1;
  for (int op = 1; op <= rc.ops; ++op) {
    if (live.empty() || rng() % 3 != 0) {
      // mostly increasing record numbers, as appends give, some reused
      std::uint32_t r = rng() % 5 == 0 ? rng() % next_rec + 1 : next_rec++;
      Entry e{make_key(), r};
      ix->insert(e.first, e.second);
      if (model.insert(e).second) live.push_back(e);
    } else {
      std::size_t i = rng() % live.size();
      EXPECT_TRUE(ix->remove(live[i].first, live[i].second));
      model.erase(live[i]);
      live[i] = live.back();
      live.pop_back();
      EXPECT_FALSE(ix->remove("nope", 1));
    }
    if (op % 97 == 0 || op == rc.ops) {
      ASSERT_EQ(ix->count(), model.size()) << "op " << op;
      ASSERT_EQ(walk_forward(*ix), model_entries(model)) << "op " << op;
      auto res = ix->verify(next_rec, [&](std::uint32_t r, std::string& k) {
        auto it = std::find_if(model.begin(), model.end(), [&](const Entry& e) { return e.second == r; });
        if (it == model.end()) return false;
        k = it->first;
        return true;
      });
      // reused record numbers make "one key per record" fail on purpose;
      // the structure checks must not
      for (const std::string& p : res.problems)
        EXPECT_TRUE(p.find("mais de uma chave") != std::string::npos ||
                    p.find(from_utf8("chave não confere")) != std::string::npos)
            << p;
    }
    if (op % 500 == 0) {
      ix.reset();  // closing writes what is pending
      ix = std::make_unique<CdxIndex>(CdxIndex::open(path, rc.sharing));
    }
  }
  // remove everything: the tree shrinks back to an empty root
  for (const Entry& e : live) ASSERT_TRUE(ix->remove(e.first, e.second));
  EXPECT_EQ(ix->count(), 0u);
  EXPECT_EQ(ix->first(), 0u);
  ix->insert("again", 3);
  EXPECT_EQ(walk_forward(*ix), (std::vector<Entry>{{pad("again", static_cast<std::size_t>(rc.key_len)).substr(0, static_cast<std::size_t>(rc.key_len)), 3}}));
}

INSTANTIATE_TEST_SUITE_P(Shapes, CdxRandomTest,
                         ::testing::Values(RandomCase{11, 3000, 40, CdxSharing::Shared},
                                           RandomCase{11, 3000, 3000, CdxSharing::Exclusive},
                                           RandomCase{100, 1500, 200, CdxSharing::Shared},
                                           RandomCase{240, 800, 50, CdxSharing::Shared},
                                           RandomCase{240, 800, 50, CdxSharing::Exclusive},
                                           RandomCase{4, 2000, 7, CdxSharing::Shared}));

TEST_F(CdxIndexTest, AppendInOrderKeepsNodesFullAndFindsEverything) {
  CdxIndex ix = CdxIndex::create(file("A.CDX"), "CPF", 'C', 11);
  for (std::uint32_t r = 1; r <= 20000; ++r) {
    char k[16];
    std::snprintf(k, sizeof k, "%011u", r * 7919u % 100000000u * 10u + r % 10u);
    ix.insert(std::string(k), r);
  }
  EXPECT_EQ(ix.count(), 20000u);
  auto all = walk_forward(ix);
  ASSERT_EQ(all.size(), 20000u);
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
  SeekResult s = ix.seek(all[12345].first, SeekMode::Exact);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.recno, all[12345].second);
  // sequential appends of increasing keys fill the leaves
  CdxIndex seq = CdxIndex::create(file("S.CDX"), "CPF", 'C', 11);
  for (std::uint32_t r = 1; r <= 20000; ++r) {
    char k[16];
    std::snprintf(k, sizeof k, "%011u", r);
    seq.insert(std::string(k), r);
  }
  EXPECT_LT(std::filesystem::file_size(file("S.CDX")), 20000u * 11 / 2);
}

TEST_F(CdxIndexTest, NumberKeysSortAsNumbers) {
  const double values[] = {-1e9, -1234.56, -1, -0.5, -0.01, 0, 0.01, 0.5, 1, 2, 10, 1234.56, 1e9};
  CdxIndex ix = CdxIndex::create(file("N.CDX"), "NOSSONRO", 'N', 8);
  EXPECT_EQ(ix.key_type(), 'N');
  std::uint32_t r = 1;
  for (int i = 12; i >= 0; --i) ix.insert(cdx_number_key(values[i]), r++);
  ix.insert(cdx_number_key(-0.0), r++);  // -0 is 0
  std::vector<double> got;
  for (auto& [k, rec] : walk_forward(ix)) got.push_back(cdx_key_number(k));
  std::vector<double> want(std::begin(values), std::end(values));
  want.insert(want.begin() + 6, 0.0);
  EXPECT_EQ(got, want);
  EXPECT_TRUE(ix.seek(cdx_number_key(0.5), SeekMode::Exact).found);
  EXPECT_EQ(cdx_key_number(ix.key()), 0.5);
  EXPECT_FALSE(ix.seek(cdx_number_key(0.6), SeekMode::Exact).found);
  EXPECT_EQ(ix.seek(cdx_number_key(0.6), SeekMode::Soft).recno, 5u);  // 1 is record 5
  // a reopened file knows its key type
  CdxIndex again = CdxIndex::open(file("N.CDX"));
  EXPECT_EQ(again.key_type(), 'N');
  EXPECT_EQ(again.count(), 14u);
}

TEST_F(CdxIndexTest, LongCharacterKeysAreCutAt240) {
  CdxBuilder b(file("AUXBENS.CDX"), "DESCRICAO", 'C', 512);
  std::string a(300, 'x'), c(300, 'x');
  a[250] = 'a';  // differ only beyond 240: equal keys, record order
  c[250] = 'c';
  b.add(c, 1);
  b.add(a, 2);
  b.finish();
  CdxIndex ix = CdxIndex::open(file("AUXBENS.CDX"));
  EXPECT_EQ(ix.key_len(), 240);
  auto all = walk_forward(ix);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], (Entry{std::string(240, 'x'), 1}));
  EXPECT_EQ(all[1].second, 2u);
  EXPECT_TRUE(ix.seek(std::string(512, 'x'), SeekMode::Exact).found);
}

TEST_F(CdxIndexTest, StampAndChangesSurviveReopen) {
  {
    CdxIndex ix = CdxIndex::create(file("IMP0914B.CDX"), "UPPER(NOMECONTR)", 'C', 60);
    ix.insert("MARIA", 2);
    ix.insert("JOSE", 1);
    ix.set_stamp(2, 17);
  }
  CdxIndex ix = CdxIndex::open(file("IMP0914B.CDX"));
  EXPECT_EQ(ix.tag_name(), "IMP0914B");
  EXPECT_EQ(ix.expression(), "UPPER(NOMECONTR)");
  CdxStamp s = ix.stamp();
  EXPECT_TRUE(s.present);
  EXPECT_EQ(s.records, 2u);
  EXPECT_EQ(s.updates, 17u);
  EXPECT_EQ(ix.first(), 1u);
  EXPECT_EQ(ix.next(), 2u);
}

TEST_F(CdxIndexTest, SecondHandleSeesChangesOfTheFirst) {
  CdxIndex a = CdxIndex::create(file("SH.CDX"), "CPF", 'C', 11);
  for (std::uint32_t r = 1; r <= 3000; ++r) a.insert(std::to_string(100000 + r * 3), r);
  CdxIndex b = CdxIndex::open(file("SH.CDX"));
  EXPECT_EQ(b.count(), 3000u);
  ASSERT_TRUE(b.seek("100030", SeekMode::Exact).found);  // record 10
  EXPECT_EQ(b.recno(), 10u);
  a.insert("100031", 9001);  // lands right after b's position
  ASSERT_TRUE(a.remove("100033", 11));
  EXPECT_EQ(b.next(), 9001u);
  EXPECT_EQ(b.next(), 12u);
  EXPECT_EQ(b.count(), 3000u);
  EXPECT_TRUE(b.seek("100031", SeekMode::Exact).found);
  b.insert("000001", 9002);
  EXPECT_EQ(a.first(), 9002u);
}

TEST_F(CdxIndexTest, AnotherProcessesChangesAreSeen) {
  CdxIndex ix = CdxIndex::create(file("P.CDX"), "CPF", 'C', 11);
  for (std::uint32_t r = 1; r <= 500; ++r) ix.insert(std::to_string(1000 + r * 2), r);
  ASSERT_TRUE(ix.seek("1010", SeekMode::Exact).found);  // nodes cached, record 5
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int rc = 0;
    try {
      CdxIndex other = CdxIndex::open(file("P.CDX"));
      other.insert("1011", 900);
      for (std::uint32_t r = 901; r <= 1400; ++r) other.insert(std::to_string(5000 + r), r);
      if (!other.remove("1012", 6)) rc = 2;
    } catch (...) {
      rc = 1;
    }
    ::_exit(rc);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ix.next(), 900u);  // the cursor goes on in the changed file
  EXPECT_EQ(ix.next(), 7u);
  EXPECT_EQ(ix.count(), 1000u);
  EXPECT_TRUE(ix.seek("6400", SeekMode::Exact).found);
  EXPECT_FALSE(ix.seek("1012", SeekMode::Exact).found);
}

TEST_F(CdxIndexTest, UpdateRunIsWrittenAtItsEndAndExclusiveAtClose) {
  CdxIndex a = CdxIndex::create(file("B.CDX"), "CPF", 'C', 11);
  a.insert("00000000001", 1);
  CdxIndex b = CdxIndex::open(file("B.CDX"));
  a.begin_update();
  for (std::uint32_t r = 2; r <= 2000; ++r) a.insert(std::to_string(r * 7919 % 100000), r);
  EXPECT_TRUE(a.seek(std::to_string(2 * 7919 % 100000), SeekMode::Exact).found);  // reads inside the run
  a.end_update();
  EXPECT_EQ(b.count(), 2000u);
  b.begin_read();
  EXPECT_EQ(testing::walk_forward(b).size(), 2000u);
  EXPECT_THROW(b.insert("x", 1), CdxError);  // no changes inside a read run
  b.end_read();
  b.insert("x", 9000);
  EXPECT_EQ(a.count(), 2001u);

  {
    CdxIndex x = CdxIndex::create(file("X.CDX"), "CPF", 'C', 11, CdxSharing::Exclusive);
    for (std::uint32_t r = 1; r <= 3000; ++r) x.insert(std::to_string(r * 13 % 5000), r);
    x.set_stamp(3000, 5);
  }
  CdxIndex x = CdxIndex::open(file("X.CDX"));
  EXPECT_EQ(x.count(), 3000u);
  EXPECT_EQ(x.stamp().updates, 5u);
  auto v = x.verify(3000, [](std::uint32_t r, std::string& k) {
    k = std::to_string(r * 13 % 5000);
    return true;
  });
  EXPECT_TRUE(v.ok);
}

TEST_F(CdxIndexTest, VerifyFindsWrongMissingAndExtraKeys) {
  std::vector<std::string> table;
  for (int r = 1; r <= 2000; ++r) table.push_back(pad("NOME" + std::to_string(r % 300), 20));
  CdxBuilder b(file("V.CDX"), "NOME", 'C', 20);
  for (std::size_t i = 0; i < table.size(); ++i) b.add(table[i], static_cast<std::uint32_t>(i + 1));
  b.finish(2000, 1);
  CdxIndex ix = CdxIndex::open(file("V.CDX"));
  auto expected = [&](std::uint32_t r, std::string& k) {
    k = table[r - 1];
    return true;
  };
  auto ok = ix.verify(2000, expected);
  EXPECT_TRUE(ok.ok);
  EXPECT_EQ(ok.keys, 2000u);

  table[99] = pad("CHANGED", 20);  // record 100 changed behind the index
  ASSERT_TRUE(ix.remove(table[499], 500));  // record 500 lost its key
  table.push_back(pad("NEW", 20));         // record 2001 appended without one
  ix.insert(pad("GHOST", 20), 2500);       // a key for a record the table lacks
  auto bad = ix.verify(2001, expected);
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.problem_count, 4u);
  auto has = [&](const char* text) {
    std::string t = from_utf8(text);
    return std::any_of(bad.problems.begin(), bad.problems.end(), [&](const std::string& p) { return p.find(t) != std::string::npos; });
  };
  EXPECT_TRUE(has("registro 100: chave não confere"));
  EXPECT_TRUE(has("registro 500 sem chave"));
  EXPECT_TRUE(has("registro 2001 sem chave"));
  EXPECT_TRUE(has("registro 2500 não existe"));
}

}  // namespace
}  // namespace tx::storage
