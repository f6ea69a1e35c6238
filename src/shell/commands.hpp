// Commands the program runs without its screen, for operators, support and
// scripts. Each prints plain UTF-8 lines and returns the exit status.
//
//   tx2014 --verifica-tabelas [PASTA]   checks every table and index file
//                                       of a folder (default: the current
//                                       one); 0 only when all are sound
#pragma once

#include <string>
#include <vector>

namespace tx::shell {

// Returns -1 when argv names no such command (the program then starts its
// screen), else the command's exit status.
int run_command(const std::vector<std::string>& args);

int verifica_tabelas(const std::string& folder);

}  // namespace tx::shell
