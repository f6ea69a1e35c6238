// A choice box: a header line and the options below it, in a panel over a
// small dialog; the operator picks an option with the arrows and Enter, or
// with the first letter of an option ("Sim ...", "Não ...").
//
//   choice_box(screen, lines, title)  -> 1..lines.size()-1 for the option
//                                        chosen, 0 for Esc (or no console)
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "screen/screen.hpp"

namespace tx::shell {

int choice_box(screen::Screen& screen, const std::vector<std::string>& lines,
               std::string_view title = screen::kNoticeTitle);

}  // namespace tx::shell
