// Keys of the item editor, by what they do there.
#pragma once

#include "platform/keys.hpp"

namespace tx::items::ikey {

inline constexpr int kAltUp = key::kAltUp;       // append the cell to the row clipboard
inline constexpr int kAltDown = key::kAltDown;   // paste the system clipboard as rows
inline constexpr int kAltEnd = key::kAltEnd;     // row clipboard to the system clipboard
inline constexpr int kAltPlus = key::kAltEquals; // Alt-+ (Alt-=)
inline constexpr int kAltMinus = key::kAltMinus; // Alt--

}  // namespace tx::items::ikey
