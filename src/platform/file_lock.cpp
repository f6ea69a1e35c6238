#include "platform/file_lock.hpp"

#include <cerrno>
#include <fcntl.h>

namespace tx::platform {

namespace {

struct flock make_lock(short type, off_t start, off_t len) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = start;
  fl.l_len = len;
  fl.l_pid = 0;  // required for open-file-description locks
  return fl;
}

}  // namespace

LockResult try_lock_range(int fd, off_t start, off_t len, bool write) {
  struct flock fl = make_lock(write ? F_WRLCK : F_RDLCK, start, len);
  for (;;) {
    if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return LockResult::Acquired;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return LockResult::Busy;
    return LockResult::Error;
  }
}

bool unlock_range(int fd, off_t start, off_t len) {
  struct flock fl = make_lock(F_UNLCK, start, len);
  for (;;) {
    if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
    if (errno != EINTR) return false;
  }
}

bool lock_held_elsewhere(int fd, off_t start, off_t len, bool write) {
  struct flock fl = make_lock(write ? F_WRLCK : F_RDLCK, start, len);
  if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

}  // namespace tx::platform
