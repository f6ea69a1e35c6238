// Paths as typed in the program on a scratch drive C: mapping, lookups
// without regard to case, DOS patterns and the file operations.
#include "platform/paths.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/codepage.hpp"

namespace tx::platform {
namespace {

using Names = std::vector<std::string>;

// Restores an environment variable when the test ends.
class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
  }
  ~EnvGuard() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }
  void set(const std::string& v) { ::setenv(name_, v.c_str(), 1); }
  void unset() { ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class PathsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = testing::TempDir() + "tx_paths_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    drive_.set(root_);
    ASSERT_EQ(::mkdir((root_ + "/Dados").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir((root_ + "/Dados/Sub").c_str(), 0777), 0);
    for (const char* f : {"Imp0114.dbf", "imp0214.DBF", "IMP0314.dbf", "IMP0114.CDX", "readme.txt"})
      put(f, "x");
  }
  void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

  void put(const std::string& rel, const std::string& bytes) {
    std::ofstream(root_ + "/" + rel, std::ios::binary) << bytes;
  }
  std::string get(const std::string& rel) {
    std::ifstream in(root_ + "/" + rel, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  Names disk_names(const std::string& rel = "") {
    Names n;
    DIR* d = ::opendir((root_ + "/" + rel).c_str());
    while (dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") n.push_back(e->d_name);
    ::closedir(d);
    std::sort(n.begin(), n.end());
    return n;
  }

  EnvGuard drive_{"TX2014_DRIVE_C"};
  std::string root_;
};

TEST_F(PathsTest, DriveLettersAndSeparatorsMap) {
  struct Case { std::string typed, os; };
  const Case cases[] = {
      {"C:\\TX2013\\IMP0114.DBF", root_ + "/TX2013/IMP0114.DBF"},
      {"c:/TX2013\\sub/", root_ + "/TX2013/sub"},
      {"C:", root_},
      {"C:\\", root_},
      {"C:TX", root_ + "/TX"},
      {"/srv/tx/a.dbf", "/srv/tx/a.dbf"},
      {"\\srv\\tx", "/srv/tx"},
      {"rel\\a.dbf", "rel/a.dbf"},
      {"C:\\AÇÃO"_cp.str(), root_ + "/AÇÃO"},  // UTF-8 on disk
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(map_path(c.typed), c.os);
  }
}

TEST_F(PathsTest, DriveWithoutVariableLivesUnderHome) {
  EnvGuard d("TX2014_DRIVE_D"), home("HOME");
  d.unset();
  home.set("/home/operador");
  EXPECT_EQ(drive_root('d'), "/home/operador/.tx2014/d");
  EXPECT_EQ(map_path("D:\\BACKUP"), "/home/operador/.tx2014/d/BACKUP");
  d.set("/mnt/pendrive/");
  EXPECT_EQ(map_path("d:\\BACKUP"), "/mnt/pendrive/BACKUP");
}

TEST_F(PathsTest, ResolveIgnoresCaseComponentByComponent) {
  EXPECT_EQ(resolve("C:\\DADOS\\sub"), root_ + "/Dados/Sub");
  EXPECT_EQ(resolve("c:\\IMP0114.DBF"), root_ + "/Imp0114.dbf");
  EXPECT_EQ(resolve("C:\\Imp0214.dbf"), root_ + "/imp0214.DBF");
  EXPECT_EQ(resolve("C:\\dados\\missing.dbf"), std::nullopt);
  EXPECT_EQ(resolve("C:\\nofolder\\sub"), std::nullopt);
  // What is missing keeps the case typed; what exists is found.
  EXPECT_EQ(create_path("C:\\dados\\NOVO.DBF"), root_ + "/Dados/NOVO.DBF");
  EXPECT_EQ(create_path("C:\\DADOS\\Novo\\TMP_0107.DBF"), root_ + "/Dados/Novo/TMP_0107.DBF");
  EXPECT_TRUE(exists("C:\\DADOS"));
  EXPECT_TRUE(is_dir("C:\\dados\\SUB"));
  EXPECT_FALSE(is_dir("C:\\README.TXT"));
  EXPECT_EQ(file_size("C:\\README.TXT"), 1u);
  EXPECT_EQ(file_size("C:\\DADOS"), std::nullopt);
}

TEST_F(PathsTest, ExactCaseWinsAmongSeveralSpellings) {
  put("ab.txt", "lower");
  put("AB.TXT", "upper");
  EXPECT_EQ(resolve("C:\\AB.TXT"), root_ + "/AB.TXT");
  EXPECT_EQ(resolve("C:\\ab.txt"), root_ + "/ab.txt");
  EXPECT_TRUE(resolve("C:\\Ab.Txt").has_value());
}

TEST_F(PathsTest, AccentedNamesMatchAcrossCase) {
  put("Ação.txt", "a");  // written by the test as UTF-8
  EXPECT_EQ(resolve("C:\\AÇÃO.TXT"_cp.str()), root_ + "/Ação.txt");
  EXPECT_EQ(list("C:\\", "a*.txt"), Names{"Ação.txt"_cp.str()});
}

TEST_F(PathsTest, DosPatterns) {
  struct Case { const char* name; const char* pattern; bool match; };
  const Case cases[] = {
      {"IMP0114.DBF", "imp??14.dbf", true}, {"imp0114.dbf", "IMP??14.DBF", true},
      {"IMP114.DBF", "imp??14.dbf", false}, {"IMP0114.CDX", "imp??14.dbf", false},
      {"TMP_0107.DBF", "TMP_??07.*", true}, {"README", "*.*", true},
      {"a.b.c", "*.c", true},               {"abc", "a*c*", true},
      {"abc", "a*d", false},                {"", "*", true},
      {"x", "", false},                     {"aXbXc", "a*b*c", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " ~ " << c.pattern);
    EXPECT_EQ(dos_match(c.name, c.pattern), c.match);
  }
}

TEST_F(PathsTest, ListByPatternSortedWithoutRegardToCase) {
  EXPECT_EQ(list("C:\\", "imp??14.dbf"), (Names{"Imp0114.dbf", "imp0214.DBF", "IMP0314.dbf"}));
  EXPECT_EQ(list("c:", "IMP0114.*"), (Names{"IMP0114.CDX", "Imp0114.dbf"}));
  EXPECT_EQ(list("C:\\", "*.*", ListKind::Folders), Names{"Dados"});
  EXPECT_EQ(list("C:\\", "*", ListKind::Files).size(), 5u);
  EXPECT_TRUE(list("C:\\NOFOLDER", "*.*").empty());
}

TEST_F(PathsTest, MakeDirsLevelByLevelReusingExistingFolders) {
  EXPECT_TRUE(make_dirs("C:\\dados\\SUB\\Deep\\Deeper"));
  EXPECT_EQ(disk_names("Dados/Sub"), Names{"Deep"});
  EXPECT_TRUE(is_dir("C:\\DADOS\\SUB\\DEEP\\DEEPER"));
  EXPECT_TRUE(make_dirs("C:\\Dados"));  // already there
  std::string err;
  EXPECT_FALSE(make_dirs("C:\\README.TXT\\X", &err));
  EXPECT_FALSE(err.empty());

  // A drive folder that does not exist yet is made too.
  drive_.set(root_ + "/drive/c");
  EXPECT_TRUE(make_dirs("C:\\TX2014"));
  EXPECT_TRUE(is_dir("C:\\TX2014"));
}

TEST_F(PathsTest, AtomicReplaceLeavesOnlyTheNewFile) {
  ASSERT_TRUE(atomic_replace("C:\\DADOS\\DEFINE.DBF", "first"));
  ASSERT_TRUE(atomic_replace("C:\\dados\\define.dbf", "second"));  // same file, other case
  EXPECT_EQ(get("Dados/DEFINE.DBF"), "second");
  EXPECT_EQ(disk_names("Dados"), (Names{"DEFINE.DBF", "Sub"}));

  ::chmod((root_ + "/readme.txt").c_str(), 0640);
  ASSERT_TRUE(atomic_replace("C:\\README.TXT", "new"));
  struct stat st;
  ASSERT_EQ(::stat((root_ + "/readme.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // permissions kept

  std::string err;
  EXPECT_FALSE(atomic_replace("C:\\NOFOLDER\\X.DBF", "x", &err));
  EXPECT_FALSE(err.empty());
  EXPECT_EQ(disk_names().size(), 6u);  // Dados + 5 files, no temporary left
}

TEST_F(PathsTest, UncommittedTempFileDisappears) {
  std::string temp;
  {
    TempFile t("C:\\README.TXT");
    ASSERT_TRUE(t.ok());
    temp = t.temp_path();
    EXPECT_EQ(temp.rfind(root_ + "/readme.txt.~tx" + std::to_string(::getpid()) + "-", 0), 0u);
    EXPECT_TRUE(t.write("half written"));
    TempFile other("C:\\README.TXT");  // a second one gets another name
    EXPECT_NE(other.temp_path(), temp);
  }
  EXPECT_NE(::access(temp.c_str(), F_OK), 0);
  EXPECT_EQ(get("readme.txt"), "x");
}

TEST_F(PathsTest, CopyKeepsContentAndModificationTime) {
  put("big.bin", std::string(200000, 'z'));
  struct timespec times[2] = {{1400000000, 0}, {1400000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (root_ + "/big.bin").c_str(), times, 0), 0);
  ASSERT_TRUE(copy_file("C:\\BIG.BIN", "C:\\Dados\\Copia.bin"));
  EXPECT_EQ(get("Dados/Copia.bin"), std::string(200000, 'z'));
  EXPECT_EQ(mtime("C:\\DADOS\\COPIA.BIN"), 1400000000LL * 1000000000LL);
  std::string err;
  EXPECT_FALSE(copy_file("C:\\NONE.BIN", "C:\\X.BIN", &err));
  EXPECT_FALSE(err.empty());
  EXPECT_FALSE(exists("C:\\X.BIN"));
}

TEST_F(PathsTest, RenameAndRemove) {
  std::string err;
  // DOS rename never overwrites unless asked to.
  EXPECT_FALSE(rename_file("C:\\README.TXT", "C:\\imp0314.dbf", false, &err));
  EXPECT_EQ(get("IMP0314.dbf"), "x");
  EXPECT_TRUE(exists("C:\\README.TXT"));
  put("readme.txt", "r");
  EXPECT_TRUE(rename_file("C:\\README.TXT", "C:\\imp0314.dbf", true));
  EXPECT_EQ(get("IMP0314.dbf"), "r");
  EXPECT_FALSE(exists("C:\\README.TXT"));

  // Only the case changes.
  EXPECT_TRUE(rename_file("C:\\IMP0314.DBF", "C:\\Imp0314.Dbf"));
  EXPECT_EQ(resolve("C:\\IMP0314.DBF"), root_ + "/Imp0314.Dbf");

  EXPECT_TRUE(remove_file("C:\\imp0314.DBF"));
  EXPECT_FALSE(exists("C:\\IMP0314.DBF"));
  EXPECT_FALSE(remove_file("C:\\IMP0314.DBF", &err));
  EXPECT_FALSE(rename_file("C:\\IMP0314.DBF", "C:\\Y.DBF", false, &err));
}

TEST_F(PathsTest, FreeSpaceOfAPathNotYetMade) {
  auto free_now = free_space("C:\\NOT\\YET\\MADE");
  ASSERT_TRUE(free_now.has_value());
  EXPECT_GT(*free_now, 0u);
}

}  // namespace
}  // namespace tx::platform
