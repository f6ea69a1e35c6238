// Outcome of a table or memo operation: a code the program can act on and a
// text in Portuguese (code page 850) that can be shown to the operator as is.
//
// Codes
//   Ok        done
//   Busy      another terminal holds the file, the record or the append lock;
//             trying again later may succeed
//   NotFound  the file does not exist
//   Damaged   the file's bytes contradict themselves (header, sizes, memo)
//   Invalid   the request itself is wrong (unknown field, value too wide,
//             bad layout, operation not allowed in this open mode)
//   IoError   the system refused a read, write, rename ... (errno kept)
#pragma once

#include <string>
#include <utility>

namespace tx::storage {

enum class DbfCode { Ok, Busy, NotFound, Damaged, Invalid, IoError };

struct DbfStatus {
  DbfCode code = DbfCode::Ok;
  std::string message;
  int sys_errno = 0;

  static DbfStatus ok() { return {}; }
  static DbfStatus fail(DbfCode c, std::string msg, int err = 0) {
    return DbfStatus{c, std::move(msg), err};
  }
  bool is_ok() const { return code == DbfCode::Ok; }
  explicit operator bool() const { return is_ok(); }
};

}  // namespace tx::storage
