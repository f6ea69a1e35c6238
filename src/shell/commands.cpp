#include "shell/commands.hpp"

#include <cstdio>

#include "base/codepage.hpp"
#include "storage/verify.hpp"

namespace tx::shell {

int verifica_tabelas(const std::string& folder) {
  auto checks = storage::verify_folder(folder);
  int sound = 0, damaged = 0;
  for (const auto& c : checks) {
    std::string line = c.name + ": " + (c.sound ? "íntegro" : "DANIFICADO") + " (" + to_utf8(c.detail) + ")";
    std::puts(line.c_str());
    (c.sound ? sound : damaged)++;
  }
  std::printf("%d arquivo(s) íntegro(s), %d danificado(s)\n", sound, damaged);
  return damaged == 0 ? 0 : 1;
}

int run_command(const std::vector<std::string>& args) {
  if (args.empty()) return -1;
  if (args[0] == "--verifica-tabelas") {
    if (args.size() > 2) {
      std::fprintf(stderr, "uso: tx2014 --verifica-tabelas [PASTA]\n");
      return 2;
    }
    return verifica_tabelas(args.size() == 2 ? from_utf8(args[1]) : std::string("."));
  }
  return -1;
}

}  // namespace tx::shell
