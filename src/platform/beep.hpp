// BEEP_ERRO: the error sound. n times two pairs of tones, 300 Hz then 499 Hz,
// one clock tick each: 4 tones per n, in the order 300 499 300 499.
#pragma once

#include "platform/console.hpp"

namespace tx::platform {

void BEEP_ERRO(Console& console, int n = 1);

}  // namespace tx::platform
