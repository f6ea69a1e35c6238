// Keys of the item editor that keys.hpp does not name (classic codes).
#pragma once

#include "platform/keys.hpp"

namespace tx::items::ikey {

inline constexpr int kAltUp = 408;     // append the cell to the row clipboard
inline constexpr int kAltDown = 416;   // paste the system clipboard as rows
inline constexpr int kAltEnd = 415;    // row clipboard to the system clipboard
inline constexpr int kAltPlus = 387;   // Alt-+ (Alt-=)
inline constexpr int kAltMinus = 386;  // Alt-- (keypad)

}  // namespace tx::items::ikey
