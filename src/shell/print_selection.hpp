// The print selection: what to print (QUEIMP 1-15), on which sheet
// (QUEMOD), which pages (QUEPAG), for whom (QUECON 1-5), and the texts
// ITEM1..ITEM7 that describe it.
//
// Interface
//   ALISTIMP NOMCONT MODO1OP MODOETI MODETID NOMEPAGR NOMEPRUR MODOUNI
//   NOMECON        the lists behind the choices (code page 850)
//   AQUEIT2 / AQUEIT3  the largest sheet type and page choice of each kind
//   apply_selection(g)   cuts QUEMOD and QUEPAG to the limits of QUEIMP and
//                        rebuilds ITEM1..ITEM7
//   choose_selection(g, command, option)  commands 41 (what), 42 (sheet),
//                        43 (pages), 44 (whom), then apply_selection; false
//                        for another command or an option out of range
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shell/globals.hpp"

namespace tx::shell {

extern const std::array<std::string, 15> ALISTIMP;
extern const std::array<std::string, 1> NOMCONT;
extern const std::array<std::string, 3> MODO1OP;
extern const std::array<std::string, 2> MODOETI;
extern const std::array<std::string, 4> MODETID;
extern const std::array<std::string, 11> NOMEPAGR;
extern const std::array<std::string, 3> NOMEPRUR;
extern const std::array<std::string, 1> MODOUNI;
extern const std::array<std::string, 5> NOMECON;
inline constexpr std::array<int, 15> AQUEIT2 = {1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 2, 1, 4, 1};
inline constexpr std::array<int, 15> AQUEIT3 = {11, 11, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

void apply_selection(Globals& g);
bool choose_selection(Globals& g, int command, int option);

}  // namespace tx::shell
