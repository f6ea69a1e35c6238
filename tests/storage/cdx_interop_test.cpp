// Index files written here must read the same in an independent reader: a
// table written by python3-dbf, indexes built and changed by us, listed by
// Perl's index_dump.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "cdx_fixture_test.hpp"
#include "storage/cdx_key.hpp"
#include "storage/expr.hpp"

namespace tx::storage {
namespace {

using testing::Entry;

// Just enough of a dBASE reader for the test: fields and raw records.
class DbfFile : public RecordView {
 public:
  explicit DbfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    data_.assign(std::istreambuf_iterator<char>(in), {});
    auto u16 = [&](std::size_t o) { return static_cast<unsigned char>(data_[o]) | (static_cast<unsigned char>(data_[o + 1]) << 8); };
    count_ = static_cast<std::uint32_t>(u16(4) | (u16(6) << 16));
    header_ = static_cast<std::size_t>(u16(8));
    reclen_ = static_cast<std::size_t>(u16(10));
    std::size_t at = 1;
    for (std::size_t o = 32; data_[o] != '\x0D'; o += 32) {
      FieldDef f;
      f.name = std::string(data_.c_str() + o);
      f.type = data_[o + 11];
      f.len = static_cast<unsigned char>(data_[o + 16]);
      f.dec = static_cast<unsigned char>(data_[o + 17]);
      offs_.push_back(at);
      at += static_cast<std::size_t>(f.len);
      fields_.push_back(f);
    }
  }
  std::uint32_t count() const { return count_; }
  void go(std::uint32_t recno) { rec_ = header_ + (recno - 1) * reclen_; }
  bool deleted() const { return data_[rec_] == '*'; }
  int field_count() const override { return static_cast<int>(fields_.size()); }
  int field_index(std::string_view name) const override {
    for (std::size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].name == name) return static_cast<int>(i);
    return -1;
  }
  const FieldDef& field(int i) const override { return fields_[static_cast<std::size_t>(i)]; }
  std::string_view raw(int i) const override {
    return std::string_view(data_).substr(rec_ + offs_[static_cast<std::size_t>(i)], static_cast<std::size_t>(fields_[static_cast<std::size_t>(i)].len));
  }

 private:
  std::string data_;
  std::uint32_t count_ = 0;
  std::size_t header_ = 0, reclen_ = 0, rec_ = 0;
  std::vector<FieldDef> fields_;
  std::vector<std::size_t> offs_;
};

std::string run(const std::string& cmd) {
  std::string out;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ::pclose(p);
  return out;
}

// index_dump prints "key recno" per line, character keys without trailing blanks.
std::vector<Entry> perl_dump(const std::string& cdx, const std::string& tag, const char* type) {
  std::string out = run(std::string("/usr/bin/index_dump -type=") + type + " '" + cdx + "' " + tag + " 2>&1");
  std::vector<Entry> v;
  std::size_t at = 0;
  while (at < out.size()) {
    std::size_t nl = out.find('\n', at);
    std::string line = out.substr(at, nl - at);
    at = nl == std::string::npos ? out.size() : nl + 1;
    std::size_t sp = line.rfind(' ');
    if (sp == std::string::npos) {
      v.emplace_back(line, 0);  // an error text: makes the comparison fail visibly
      continue;
    }
    v.emplace_back(line.substr(0, sp), static_cast<std::uint32_t>(std::stoul(line.substr(sp + 1))));
  }
  return v;
}

std::vector<Entry> our_listing(CdxIndex& ix) {
  std::vector<Entry> v;
  for (auto& [k, r] : testing::walk_forward(ix)) {
    std::string shown = k;
    if (ix.key_type() == 'C') {
      while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    } else {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", cdx_key_number(k));
      shown = buf;
    }
    v.emplace_back(shown, r);
  }
  return v;
}

class CdxInteropTest : public testing::ScratchDir {};

TEST_F(CdxInteropTest, PerlReaderListsOurKeysInOurOrder) {
  if (::access("/usr/bin/index_dump", X_OK) != 0) GTEST_SKIP() << "index_dump not installed";
  const std::string dbf_path = file("IMP0914.DBF");
  {
    std::ofstream py(file("make.py"));
    py << "import dbf, random\n"
          "random.seed(5)\n"
          "t = dbf.Table(r'" << dbf_path << "', 'CPF C(11); NOMECONTR C(30); VALOR N(12,2)', codepage='cp850')\n"
          "t.open(mode=dbf.READ_WRITE)\n"
          "names = ['JOSÉ', 'maria', 'Ana Luíza', 'joão', 'ZÉLIA', 'ana', 'Bruno  X']\n"
          "for i in range(3000):\n"
          "    cpf = '%011d' % random.randrange(0, 10**11) if i % 5 else '12345678909'\n"
          "    t.append((cpf, random.choice(names) + ' ' * random.randrange(3) + str(i % 7),\n"
          "              random.choice([-1, 1]) * random.randrange(0, 10**9) / 100.0))\n"
          "t.close()\n";
  }
  ASSERT_EQ(std::system(("/usr/bin/python3 '" + file("make.py") + "'").c_str()), 0);
  DbfFile table(dbf_path);
  ASSERT_EQ(table.count(), 3000u);

  struct IndexCase {
    const char* file;
    const char* expression;
    const char* dump_type;
  };
  const IndexCase cases[] = {
      {"IMP0914.CDX", "CPF", "char"},
      {"IMP0914B.CDX", "UPPER(NOMECONTR)", "char"},
      {"IMP0914V.CDX", "VALOR", "num"},
      {"IMP0914C.CDX", "CPF+STR(VALOR,13,2)", "char"},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.expression);
    Expr e = Expr::compile(c.expression, table);
    const std::string path = file(c.file);
    // the first half by bulk build, the rest by inserts in random order,
    // then some removals: both ways of writing nodes are read back
    CdxBuilder b(path, e.text(), e.type() == 'C' ? 'C' : e.type(), e.width());
    for (std::uint32_t r = 1; r <= 1500; ++r) {
      table.go(r);
      b.add(e.key(table), r);
    }
    b.finish(1500, 1);
    CdxIndex ix = CdxIndex::open(path);
    std::vector<std::uint32_t> rest;
    for (std::uint32_t r = 1501; r <= 3000; ++r) rest.push_back(r);
    std::shuffle(rest.begin(), rest.end(), std::mt19937(3));
    for (std::uint32_t r : rest) {
      table.go(r);
      ix.insert(e.key(table), r);
    }
    for (std::uint32_t r = 7; r <= 3000; r += 11) {
      table.go(r);
      ASSERT_TRUE(ix.remove(e.key(table), r));
    }
    ix.set_stamp(3000, 99);
    auto ours = our_listing(ix);
    ASSERT_EQ(ours.size(), 3000u - 273u);
    const std::string tag = ix.tag_name();
    EXPECT_EQ(run(std::string("/usr/bin/index_dump -type=") + c.dump_type + " '" + path + "'"), tag + "\n");
    auto theirs = perl_dump(path, tag, c.dump_type);
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i) ASSERT_EQ(theirs[i], ours[i]) << "entry " << i;
  }
}

}  // namespace
}  // namespace tx::storage
