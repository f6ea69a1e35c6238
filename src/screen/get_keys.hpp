// Keys of the entry fields that the classic key codes cannot carry.
//
// The classic keyboard gives Ctrl-C and PgDn the same code 3, and PgDn must
// keep ending a form. Copying the active field to the clipboard therefore
// listens to its own code, kCopyField, outside the classic ranges (those
// are -47..-1 for function keys, 1..255 for bytes and 256..385 for Alt
// keys): the terminal drivers deliver the Ctrl-C byte as that code and keep
// 3 for PgDn.
#pragma once

#include "platform/keys.hpp"

namespace tx::screen::getkey {

inline constexpr int kPaste = 303;      // Alt-V
inline constexpr int kCopyField = tx::key::kCtrlC;  // Ctrl-C, told apart from PgDn
inline constexpr int kClearToEnd = 25;  // Ctrl-Y

}  // namespace tx::screen::getkey
