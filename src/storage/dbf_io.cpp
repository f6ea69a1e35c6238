#include "storage/dbf_io.hpp"

#include <cerrno>
#include <dirent.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tx::storage {

bool pread_full(int fd, void* buf, std::size_t n, std::uint64_t off) {
  char* p = static_cast<char*>(buf);
  while (n > 0) {
    ssize_t r = ::pread(fd, p, n, static_cast<off_t>(off));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) return false;
    p += r;
    n -= static_cast<std::size_t>(r);
    off += static_cast<std::uint64_t>(r);
  }
  return true;
}

bool pwrite_full(int fd, const void* buf, std::size_t n, std::uint64_t off) {
  const char* p = static_cast<const char*>(buf);
  while (n > 0) {
    ssize_t r = ::pwrite(fd, p, n, static_cast<off_t>(off));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += r;
    n -= static_cast<std::size_t>(r);
    off += static_cast<std::uint64_t>(r);
  }
  return true;
}

namespace {
std::string folder_of(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}
// The process's file creation mask, read without changing it (umask() would
// change it for every thread for a moment).
mode_t current_umask() {
  mode_t mask = 022;
  if (FILE* f = ::fopen("/proc/self/status", "re")) {
    char line[128];
    while (::fgets(line, sizeof line, f))
      if (::strncmp(line, "Umask:", 6) == 0) {
        mask = static_cast<mode_t>(::strtoul(line + 6, nullptr, 8));
        break;
      }
    ::fclose(f);
  }
  return mask;
}
}  // namespace

int open_sibling_temp(const std::string& path, std::string& temp_path) {
  std::string pattern = path + "." + std::to_string(::getpid()) + ".XXXXXX";
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd >= 0) {
    ::fchmod(fd, 0666 & ~current_umask());
    temp_path = pattern;
  }
  return fd;
}

void sync_parent_folder(const std::string& path) {
  int dfd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

DbfStatus write_file_atomically(const std::string& path, std::string_view bytes) {
  std::string tmp;
  int fd = open_sibling_temp(path, tmp);
  if (fd < 0) {
    int e = errno;
    return DbfStatus::fail(DbfCode::IoError, "N\xc6o foi poss\xa1vel criar " + path + ": " + strerror(e), e);
  }
  bool ok = pwrite_full(fd, bytes.data(), bytes.size(), 0) && ::fsync(fd) == 0;
  int e = errno;
  ::close(fd);
  if (ok && ::rename(tmp.c_str(), path.c_str()) == 0) {
    sync_parent_folder(path);
    return DbfStatus::ok();
  }
  if (ok) e = errno;
  ::unlink(tmp.c_str());
  return DbfStatus::fail(DbfCode::IoError, "N\xc6o foi poss\xa1vel criar " + path + ": " + strerror(e), e);
}

std::string find_sibling_nocase(const std::string& path_in_folder, std::string_view name) {
  std::string folder = folder_of(path_in_folder);
  std::string direct = (folder == "/" ? "/" : folder + "/") + std::string(name);
  if (::access(direct.c_str(), F_OK) == 0) return direct;
  DIR* d = ::opendir(folder.c_str());
  if (!d) return {};
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (strlen(e->d_name) == name.size() && strncasecmp(e->d_name, name.data(), name.size()) == 0) {
      found = (folder == "/" ? "/" : folder + "/") + e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace tx::storage
