// Paths, drives and files as the program sees them.
//
// The program keeps every path as the operator typed it (CP850 text, DOS
// style). Only here is it turned into a Linux path:
//   - "C:\TX2013\IMP0114.DBF": a drive letter maps to the folder named by the
//     environment variable TX2014_DRIVE_C (any letter, upper case in the
//     name), by default $HOME/.tx2014/c; "C:" alone is that folder.
//   - "/srv/tx" is used as it is; "\" and "/" both separate folders; any
//     other path is relative to the current folder.
//   - Names on disk are UTF-8; the CP850 text is converted when the disk is
//     touched. Every name is found without regard to case, one component
//     at a time; when several names differ only in case the exact one wins.
//     What does not exist yet is created in the case given.
//
// Interface (all take program paths; none throws; failures give false /
// none and, where asked, an error text)
//   map_path(p)        the Linux path, drive mapped, no disk lookup
//   drive_root('C')    the folder a drive letter stands for
//   locate(p)          the Linux path to use: existing components as found
//                      on disk, the rest as typed
//   resolve(p)         locate(p) when the whole path exists, else none
//   create_path(p)     == locate(p): where a new file or folder goes
//   list(folder, pattern, kind)  names (CP850) matching a DOS pattern with
//                      ? and * ("imp??14.dbf", "*.*"), case ignored, sorted
//   dos_match(name, pattern)
//   exists, is_dir, file_size, mtime (nanoseconds since 1970)
//   make_dirs(p)       every missing level, in the case given
//   free_space(p)      bytes available to the program on p's file system
//   is_network_drive(p)  NFS, CIFS/SMB/SMB2, FUSE and a few other network
//                      file systems
//   copy_file(from, to)   through a temporary file beside `to`, flushed and
//                      renamed over it (modification time kept)
//   remove_file(p), rename_file(from, to, replace = false)
//   atomic_replace(p, bytes)  write beside, flush, rename over
//   TempFile           the same in steps: write(), then commit(); a TempFile
//                      that is not committed removes its file
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tx::platform {

std::string drive_root(char letter);
std::string map_path(std::string_view path);
std::string locate(std::string_view path);
std::optional<std::string> resolve(std::string_view path);
inline std::string create_path(std::string_view path) { return locate(path); }

enum class ListKind { Any, Files, Folders };
bool dos_match(std::string_view name, std::string_view pattern);
std::vector<std::string> list(std::string_view folder, std::string_view pattern,
                              ListKind kind = ListKind::Any);

bool exists(std::string_view path);
bool is_dir(std::string_view path);
std::optional<std::uint64_t> file_size(std::string_view path);
std::optional<std::int64_t> mtime(std::string_view path);
std::optional<std::uint64_t> free_space(std::string_view path);
bool is_network_drive(std::string_view path);
// The same for an open file (true when its file system cannot be told).
bool is_network_file(int fd);

bool make_dirs(std::string_view path, std::string* error = nullptr);
bool copy_file(std::string_view from, std::string_view to, std::string* error = nullptr);
bool remove_file(std::string_view path, std::string* error = nullptr);
bool rename_file(std::string_view from, std::string_view to, bool replace = false,
                 std::string* error = nullptr);
bool atomic_replace(std::string_view path, std::string_view bytes, std::string* error = nullptr);

// A new version of a file, written beside it under a name of this process
// ("<name>.~tx<pid>-<n>") and put in its place by commit().
class TempFile {
 public:
  explicit TempFile(std::string_view target);  // a program path
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  const std::string& error() const { return error_; }
  const std::string& temp_path() const { return temp_; }    // Linux path
  const std::string& target_path() const { return target_; }  // Linux path
  int fd() const { return fd_; }

  bool write(std::string_view bytes);
  // Flushes to disk, renames over the target, flushes the folder.
  bool commit();

 private:
  bool fail(const std::string& what);
  std::string target_, temp_, error_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace tx::platform
