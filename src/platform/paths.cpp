#include "platform/paths.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/codepage.hpp"
#include "base/xbase.hpp"

namespace tx::platform {

namespace {

bool is_sep(char c) { return c == '\\' || c == '/'; }

bool has_drive(std::string_view p) {
  return p.size() >= 2 && p[1] == ':' &&
         ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

std::string join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string sys_error(const std::string& what, int err) {
  return what + ": " + std::strerror(err);
}

void set_error(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// A program path split into where it starts and its components (CP850).
struct Split {
  std::string root;  // Linux folder the components hang from ("" = current)
  std::vector<std::string> parts;
};

Split split(std::string_view p) {
  Split s;
  std::size_t i = 0;
  if (has_drive(p)) {
    s.root = drive_root(p[0]);
    i = 2;
  } else if (!p.empty() && is_sep(p[0])) {
    s.root = "/";
    i = 1;
  }
  std::string cur;
  for (; i <= p.size(); ++i) {
    if (i == p.size() || is_sep(p[i])) {
      if (!cur.empty()) s.parts.push_back(cur);
      cur.clear();
    } else {
      cur += p[i];
    }
  }
  return s;
}

bool lexists(const std::string& os) {
  struct stat st;
  return ::lstat(os.c_str(), &st) == 0;
}

// The entry of `dir` whose name matches `want` (CP850) without regard to
// case; "" when there is none.
std::string find_in(const std::string& dir, const std::string& want) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  const std::string key = UPPER(want);
  std::string found;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (UPPER(from_utf8(name)) == key) {
      // Several spellings: keep the first in byte order so the choice does
      // not depend on the order the folder happens to list them in.
      if (found.empty() || name < found) found = name;
    }
  }
  ::closedir(d);
  return found;
}

std::optional<struct stat> stat_of(std::string_view path) {
  auto os = resolve(path);
  if (!os) return std::nullopt;
  struct stat st;
  if (::stat(os->c_str(), &st) != 0) return std::nullopt;
  return st;
}

// The nearest folder of `path` that exists (for file-system questions about
// a path that may not exist yet).
std::string existing_anchor(std::string_view path) {
  std::string os = locate(path);
  while (!os.empty() && !lexists(os)) {
    auto slash = os.find_last_of('/');
    if (slash == std::string::npos) { os.clear(); break; }
    os = slash == 0 ? "/" : os.substr(0, slash);
  }
  return os.empty() ? "." : os;
}

bool write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

void sync_folder_of(const std::string& os) {
  auto slash = os.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : os.substr(0, slash));
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

std::string drive_root(char letter) {
  char up = static_cast<char>(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter);
  std::string var = std::string("TX2014_DRIVE_") + up;
  if (const char* v = std::getenv(var.c_str()); v && *v) {
    std::string r = v;
    while (r.size() > 1 && r.back() == '/') r.pop_back();
    return r;
  }
  const char* home = std::getenv("HOME");
  std::string base = home && *home ? home : "/";
  return join(base, std::string(".tx2014/") + static_cast<char>(up - 'A' + 'a'));
}

std::string map_path(std::string_view path) {
  Split s = split(path);
  std::string os = s.root;
  for (const auto& part : s.parts) os = join(os, to_utf8(part));
  return os.empty() ? "." : os;
}

std::string locate(std::string_view path) {
  Split s = split(path);
  std::string os = s.root;
  bool on_disk = true;  // every component so far exists
  for (const auto& part : s.parts) {
    std::string typed = to_utf8(part);
    if (on_disk && part != "." && part != "..") {
      std::string exact = join(os, typed);
      if (lexists(exact)) { os = exact; continue; }
      std::string found = find_in(os, part);
      if (!found.empty()) { os = join(os, found); continue; }
      on_disk = false;
    }
    os = join(os, typed);
  }
  return os.empty() ? "." : os;
}

std::optional<std::string> resolve(std::string_view path) {
  std::string os = locate(path);
  if (!lexists(os)) return std::nullopt;
  return os;
}

bool dos_match(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  const std::string n = UPPER(name), p = UPPER(pattern);
  // Iterative glob: remember the last "*" to fall back to.
  std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
  while (i < n.size()) {
    if (j < p.size() && (p[j] == '?' || p[j] == n[i])) { ++i; ++j; continue; }
    if (j < p.size() && p[j] == '*') { star = j++; mark = i; continue; }
    if (star != std::string::npos) { j = star + 1; i = ++mark; continue; }
    return false;
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

std::vector<std::string> list(std::string_view folder, std::string_view pattern, ListKind kind) {
  std::vector<std::string> out;
  auto dir = resolve(folder);
  if (!dir) return out;
  DIR* d = ::opendir(dir->c_str());
  if (!d) return out;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string cp = from_utf8(name);
    if (!dos_match(cp, pattern)) continue;
    if (kind != ListKind::Any) {
      struct stat st;
      if (::stat(join(*dir, name).c_str(), &st) != 0) continue;
      bool folder_entry = S_ISDIR(st.st_mode);
      if ((kind == ListKind::Folders) != folder_entry) continue;
    }
    out.push_back(cp);
  }
  ::closedir(d);
  std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
    std::string ua = UPPER(a), ub = UPPER(b);
    return ua != ub ? ua < ub : a < b;
  });
  return out;
}

bool exists(std::string_view path) { return resolve(path).has_value(); }

bool is_dir(std::string_view path) {
  auto st = stat_of(path);
  return st && S_ISDIR(st->st_mode);
}

std::optional<std::uint64_t> file_size(std::string_view path) {
  auto st = stat_of(path);
  if (!st || !S_ISREG(st->st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st->st_size);
}

std::optional<std::int64_t> mtime(std::string_view path) {
  auto st = stat_of(path);
  if (!st) return std::nullopt;
  return static_cast<std::int64_t>(st->st_mtim.tv_sec) * 1000000000LL + st->st_mtim.tv_nsec;
}

std::optional<std::uint64_t> free_space(std::string_view path) {
  struct statvfs vs;
  if (::statvfs(existing_anchor(path).c_str(), &vs) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(vs.f_bavail) * vs.f_frsize;
}

namespace {
// File-system magic numbers of network and user-space file systems.
bool network_type(unsigned long f_type) {
  static constexpr unsigned long kNetwork[] = {
      0x6969,      // NFS
      0xFF534D42,  // CIFS
      0x517B,      // SMB
      0xFE534D42,  // SMB2
      0x65735546,  // FUSE (sshfs, some SMB clients)
      0x01021997,  // 9P
      0x00C36400,  // Ceph
      0x5346414F,  // AFS
      0x73757245,  // Coda
      0x61636673,  // ACFS
  };
  auto type = f_type & 0xFFFFFFFFUL;
  return std::find(std::begin(kNetwork), std::end(kNetwork), type) != std::end(kNetwork);
}
}  // namespace

bool is_network_drive(std::string_view path) {
  struct statfs fs;
  if (::statfs(existing_anchor(path).c_str(), &fs) != 0) return false;
  return network_type(static_cast<unsigned long>(fs.f_type));
}

bool is_network_file(int fd) {
  struct statfs fs;
  if (::fstatfs(fd, &fs) != 0) return true;  // unknown: assume the careful case
  return network_type(static_cast<unsigned long>(fs.f_type));
}

bool make_dirs(std::string_view path, std::string* error) {
  Split s = split(path);
  std::string os = s.root;
  if (!os.empty() && !lexists(os)) {
    // The drive's folder itself (or a parent of it) may be missing.
    std::string acc;
    for (std::size_t i = 0; i <= os.size(); ++i) {
      if (i == os.size() || (os[i] == '/' && i > 0)) {
        acc = os.substr(0, i);
        if (!lexists(acc) && ::mkdir(acc.c_str(), 0777) != 0 && errno != EEXIST) {
          set_error(error, sys_error(acc, errno));
          return false;
        }
      }
    }
  }
  std::string typed_prefix(path.substr(0, has_drive(path) ? 2 : 0));
  if (typed_prefix.empty() && !path.empty() && is_sep(path[0])) typed_prefix = "/";
  for (const auto& part : s.parts) {
    typed_prefix += part;
    std::string os_now = locate(typed_prefix);
    struct stat st;
    if (::stat(os_now.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) {
        set_error(error, os_now + ": not a folder");
        return false;
      }
    } else if (::mkdir(os_now.c_str(), 0777) != 0 && errno != EEXIST) {
      set_error(error, sys_error(os_now, errno));
      return false;
    }
    typed_prefix += '/';
  }
  return true;
}

bool remove_file(std::string_view path, std::string* error) {
  auto os = resolve(path);
  if (!os) {
    set_error(error, map_path(path) + ": " + std::strerror(ENOENT));
    return false;
  }
  if (::unlink(os->c_str()) != 0) {
    set_error(error, sys_error(*os, errno));
    return false;
  }
  return true;
}

bool rename_file(std::string_view from, std::string_view to, bool replace, std::string* error) {
  auto src = resolve(from);
  if (!src) {
    set_error(error, map_path(from) + ": " + std::strerror(ENOENT));
    return false;
  }
  std::string dst = locate(to);
  if (dst == *src) {
    // Only the case changes: the name as typed, in the same folder.
    auto slash = dst.find_last_of('/');
    Split t = split(to);
    if (t.parts.empty()) return true;
    std::string typed = to_utf8(t.parts.back());
    dst = slash == std::string::npos ? typed : dst.substr(0, slash + 1) + typed;
    if (dst == *src) return true;
    replace = true;  // the "existing" name is the file itself
  }
  if (!replace) {
    if (::renameat2(AT_FDCWD, src->c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) {
      set_error(error, sys_error(dst, errno));
      return false;
    }
    // A file system without the no-replace rename: check, then rename.
    if (lexists(dst)) {
      set_error(error, sys_error(dst, EEXIST));
      return false;
    }
  }
  if (::rename(src->c_str(), dst.c_str()) != 0) {
    set_error(error, sys_error(dst, errno));
    return false;
  }
  return true;
}

// ---- TempFile --------------------------------------------------------------

TempFile::TempFile(std::string_view target) : target_(locate(target)) {
  // A replaced file keeps its permissions; a new one gets the usual ones.
  struct stat st;
  const bool replacing = ::stat(target_.c_str(), &st) == 0;
  const std::string stem = target_ + ".~tx" + std::to_string(::getpid()) + "-";
  for (int n = 0; n < 1000; ++n) {
    std::string name = stem + std::to_string(n);
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
    if (fd >= 0) {
      fd_ = fd;
      temp_ = name;
      if (replacing) ::fchmod(fd_, st.st_mode & 07777);
      return;
    }
    if (errno != EEXIST) {
      error_ = sys_error(name, errno);
      return;
    }
  }
  error_ = stem + "*: " + std::strerror(EEXIST);
}

TempFile::~TempFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool TempFile::fail(const std::string& what) {
  error_ = sys_error(what, errno);
  return false;
}

bool TempFile::write(std::string_view bytes) {
  if (fd_ < 0) return false;
  if (!write_all(fd_, bytes.data(), bytes.size())) return fail(temp_);
  return true;
}

bool TempFile::commit() {
  if (fd_ < 0 || committed_) return false;
  if (::fsync(fd_) != 0) return fail(temp_);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail(temp_);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return fail(target_);
  committed_ = true;
  sync_folder_of(target_);
  return true;
}

bool atomic_replace(std::string_view path, std::string_view bytes, std::string* error) {
  TempFile t(path);
  if (!t.ok() || !t.write(bytes) || !t.commit()) {
    set_error(error, t.error());
    return false;
  }
  return true;
}

bool copy_file(std::string_view from, std::string_view to, std::string* error) {
  auto src = resolve(from);
  if (!src) {
    set_error(error, map_path(from) + ": " + std::strerror(ENOENT));
    return false;
  }
  int in = ::open(src->c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    set_error(error, sys_error(*src, errno));
    return false;
  }
  struct stat st;
  ::fstat(in, &st);
  TempFile t(to);
  bool good = t.ok();
  char buf[65536];
  while (good) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      set_error(error, sys_error(*src, errno));
      ::close(in);
      return false;
    }
    if (n == 0) break;
    good = t.write(std::string_view(buf, static_cast<std::size_t>(n)));
  }
  ::close(in);
  if (good) {
    ::fchmod(t.fd(), st.st_mode & 07777);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(t.fd(), times);
  }
  if (!good || !t.commit()) {
    set_error(error, t.error());
    return false;
  }
  return true;
}

}  // namespace tx::platform
