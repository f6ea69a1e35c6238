// Byte-range locks between processes on one open file (Linux open-file-
// description locks, fcntl F_OFD_SETLK). Every call is one non-blocking try:
// waiting, retrying and giving up belong to the caller.
//
// Interface
//   try_open_lock(fd, exclusive)   the sentinel byte: read lock for a shared
//                                  open, write lock for an exclusive one
//   try_header_lock(fd)            short write lock held while a record is
//                                  appended (record count and end of file)
//   try_record_lock(fd, n)         write lock on record n (1-based)
//   try_file_lock(fd)              write lock over the whole record range:
//                                  conflicts with any record lock of another
//   unlock_*                       release what the matching try took
//   lock_held_elsewhere(fd, ...)   whether another open file holds a lock
//                                  that would refuse ours (for diagnostics)
//
// Lock offsets live far beyond the end of any real file (a table holds at most
// 2^32 records of at most 65535 bytes, below 2^48 bytes), so a lock never
// covers real data and a program that reads the file is not disturbed:
//   kSentinel      = 2^62            open mode (shared / exclusive)
//   kHeader        = 2^62 + 1        append (record count) lock
//   kMemoAlloc     = 2^62 + 2        allocation of new blocks in a memo file
//   kRecordBase+n  = 2^62 + 256 + n  record n, n in 1 .. 2^32 - 1
//   the file lock covers [kRecordBase, kRecordBase + 2^32)
//
// Locks belong to the open file description: two opens of the same file in
// one process contend like two processes, the same description never
// contends with itself, and the kernel drops every lock when the last
// descriptor of the description is closed or the holding process dies.
#pragma once

#include <cstdint>
#include <sys/types.h>

namespace tx::platform {

enum class LockResult { Acquired, Busy, Error };

namespace lock_offsets {
inline constexpr off_t kSentinel = off_t{1} << 62;
inline constexpr off_t kHeader = kSentinel + 1;
inline constexpr off_t kMemoAlloc = kSentinel + 2;
inline constexpr off_t kRecordBase = kSentinel + 256;
inline constexpr off_t kRecordSpan = off_t{1} << 32;
}  // namespace lock_offsets

// Generic try on [start, start + len): write = exclusive, else shared.
LockResult try_lock_range(int fd, off_t start, off_t len, bool write);
bool unlock_range(int fd, off_t start, off_t len);
// true when another open file description holds a lock that conflicts with
// a lock of that kind on [start, start + len).
bool lock_held_elsewhere(int fd, off_t start, off_t len, bool write);

inline LockResult try_open_lock(int fd, bool exclusive) {
  return try_lock_range(fd, lock_offsets::kSentinel, 1, exclusive);
}
inline bool unlock_open(int fd) { return unlock_range(fd, lock_offsets::kSentinel, 1); }

inline LockResult try_header_lock(int fd) {
  return try_lock_range(fd, lock_offsets::kHeader, 1, true);
}
inline bool unlock_header(int fd) { return unlock_range(fd, lock_offsets::kHeader, 1); }

inline LockResult try_memo_alloc_lock(int fd) {
  return try_lock_range(fd, lock_offsets::kMemoAlloc, 1, true);
}
inline bool unlock_memo_alloc(int fd) { return unlock_range(fd, lock_offsets::kMemoAlloc, 1); }

inline LockResult try_record_lock(int fd, std::uint32_t recno) {
  return try_lock_range(fd, lock_offsets::kRecordBase + recno, 1, true);
}
inline bool unlock_record(int fd, std::uint32_t recno) {
  return unlock_range(fd, lock_offsets::kRecordBase + recno, 1);
}

inline LockResult try_file_lock(int fd) {
  return try_lock_range(fd, lock_offsets::kRecordBase, lock_offsets::kRecordSpan, true);
}
// Releases the whole record range: the file lock and every record lock.
inline bool unlock_records(int fd) {
  return unlock_range(fd, lock_offsets::kRecordBase, lock_offsets::kRecordSpan);
}

}  // namespace tx::platform
