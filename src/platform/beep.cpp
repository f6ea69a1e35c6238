#include "platform/beep.hpp"

namespace tx::platform {

void BEEP_ERRO(Console& console, int n) {
  for (int i = 0; i < n; ++i)
    for (int pair = 0; pair < 2; ++pair) {
      console.tone(300, 1);
      console.tone(499, 1);
    }
}

}  // namespace tx::platform
