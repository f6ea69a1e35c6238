#include "shell/program.hpp"

#include <cstdio>

namespace tx::shell {
int run_program(int, char**) {
  std::puts("TX2014");
  return 0;
}
}  // namespace tx::shell
