// Small file helpers shared by the table and memo files.
//
//   pread_full / pwrite_full   the whole range or false (EINTR and short
//                              transfers retried; errno kept on failure)
//   open_sibling_temp(path)    creates a new empty file in the same folder,
//                              named after path, the process id and a unique
//                              suffix, for a file that will be renamed over
//                              `path`; returns its descriptor (or -1)
//   write_file_atomically      bytes to a sibling temp file, fsync, rename
//                              over path, fsync of the folder: readers see
//                              the old file or the whole new one
//   find_sibling_nocase        an existing file in path's folder whose name
//                              equals `name` without regard to case
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/dbf_status.hpp"

namespace tx::storage {

bool pread_full(int fd, void* buf, std::size_t n, std::uint64_t off);
bool pwrite_full(int fd, const void* buf, std::size_t n, std::uint64_t off);
int open_sibling_temp(const std::string& path, std::string& temp_path);
DbfStatus write_file_atomically(const std::string& path, std::string_view bytes);
// fsync of the folder holding path (after a rename or a new file).
void sync_parent_folder(const std::string& path);
// Returns the existing path or "" when none.
std::string find_sibling_nocase(const std::string& path_in_folder, std::string_view name);

}  // namespace tx::storage
