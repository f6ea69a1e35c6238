#include "tax/snapshot.hpp"

namespace tx::tax {

bool sim(const std::string& flag) {
  for (char c : flag) {
    if (c == ' ') continue;
    return c == 'S' || c == 's';
  }
  return false;
}

}  // namespace tx::tax
