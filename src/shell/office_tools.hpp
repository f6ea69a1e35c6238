// The office tools the main menu reaches that live in other subsystems,
// put into the program's command table.
//
//   install_office_tools(program)
//     command 15  the terminal's folder list in the item editor: "S" in
//                 "Sel" switches to that folder at once, "N" and blank are
//                 accepted, any other letter is refused; a folder name must
//                 not be empty and must exist or be created
//     command 21  the working folder; command 67  the official program's folder
//     Alt-A       the calculator, wherever a choice or a form waits
#pragma once

namespace tx::shell {

class Program;

void install_office_tools(Program& program);

}  // namespace tx::shell
