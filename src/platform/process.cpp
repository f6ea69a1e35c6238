#include "platform/process.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/codepage.hpp"
#include "platform/paths.hpp"

extern char** environ;

namespace tx::platform {

namespace {

std::vector<char*> c_argv(const std::vector<std::string>& argv) {
  std::vector<char*> v;
  v.reserve(argv.size() + 1);
  for (const auto& a : argv) v.push_back(const_cast<char*>(a.c_str()));
  v.push_back(nullptr);
  return v;
}

void set_error(std::string* error, const std::string& text) {
  if (error) *error = text;
}

int wait_for(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

std::optional<std::string> find_program(std::string_view name) {
  if (name.empty()) return std::nullopt;
  auto runnable = [](const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
  };
  if (name.find('/') != std::string_view::npos) {
    std::string p(name);
    if (runnable(p)) return p;
    return std::nullopt;
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t colon = dirs.find(':', start);
    std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    if (dir.empty()) dir = ".";
    std::string p = dir + "/" + std::string(name);
    if (runnable(p)) return p;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return std::nullopt;
}

int run(const std::vector<std::string>& argv, std::string* error) {
  if (argv.empty()) {
    set_error(error, "no program given");
    return -1;
  }
  auto v = c_argv(argv);
  pid_t pid = 0;
  int rc = ::posix_spawnp(&pid, v[0], nullptr, nullptr, v.data(), environ);
  if (rc != 0) {
    set_error(error, argv[0] + ": " + std::strerror(rc));
    return -1;
  }
  int code = wait_for(pid);
  if (code < 0) set_error(error, argv[0] + ": " + std::strerror(errno));
  return code;
}

bool start_detached(const std::vector<std::string>& argv, std::string* error) {
  if (argv.empty()) {
    set_error(error, "no program given");
    return false;
  }
  // Everything the children need is prepared before fork: after it they
  // only call functions that are safe there.
  auto program = find_program(argv[0]);
  if (!program) {
    set_error(error, argv[0] + ": " + std::strerror(ENOENT));
    return false;
  }
  auto v = c_argv(argv);
  int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  int report[2];
  if (null_fd < 0 || ::pipe2(report, O_CLOEXEC) != 0) {
    set_error(error, std::string("pipe: ") + std::strerror(errno));
    if (null_fd >= 0) ::close(null_fd);
    return false;
  }
  pid_t middle = ::fork();
  if (middle < 0) {
    set_error(error, std::string("fork: ") + std::strerror(errno));
    ::close(null_fd);
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (middle == 0) {
    // The middle child starts the program in a new session and leaves at
    // once, so the program is adopted by init and never becomes our zombie.
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::dup2(null_fd, 0);
      ::dup2(null_fd, 1);
      ::dup2(null_fd, 2);
      ::execve(program->c_str(), v.data(), environ);
      int err = errno;
      ssize_t ignored = ::write(report[1], &err, sizeof err);
      (void)ignored;
      ::_exit(127);
    }
    if (grandchild < 0) {
      int err = errno;
      ssize_t ignored = ::write(report[1], &err, sizeof err);
      (void)ignored;
    }
    ::_exit(0);
  }
  ::close(report[1]);
  ::close(null_fd);
  wait_for(middle);
  int err = 0;
  ssize_t n;
  do {
    n = ::read(report[0], &err, sizeof err);
  } while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof err)) {
    set_error(error, argv[0] + ": " + std::strerror(err));
    return false;
  }
  return true;
}

bool open_default(std::string_view target, std::string* error) {
  auto opener = find_program("xdg-open");
  if (!opener) {
    set_error(error, "xdg-open: " + std::string(std::strerror(ENOENT)));
    return false;
  }
  std::string what;
  if (target.find("://") != std::string_view::npos || target.substr(0, 7) == "mailto:") {
    what = to_utf8(target);
  } else {
    what = locate(target);
  }
  return start_detached({*opener, what}, error);
}

std::string GETENV(std::string_view name) {
  std::string n(name);
  const char* v = std::getenv(n.c_str());
  return v ? from_utf8(v) : std::string();
}

}  // namespace tx::platform
