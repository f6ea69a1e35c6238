// Other programs: run and wait, start and forget, open with the desktop's
// default handler, and the environment.
//
// Interface
//   run(argv)            starts argv[0] (looked up on PATH, no shell, the
//                        arguments passed as they are) and waits; the exit
//                        code, 128 + n when killed by signal n, -1 when it
//                        could not be started (error text when asked).
//                        The caller hands over the terminal first (a full
//                        screen program must leave its screen mode).
//   start_detached(argv) starts it in a session of its own with input and
//                        output on /dev/null and does not wait; true when the
//                        program itself was started (a missing program is
//                        false). No zombie is left behind.
//   find_program(name)   the path on PATH, or none
//   open_default(target) an address ("http://...", "mailto:...") as it is,
//                        or a program path (mapped to the Linux file) opened
//                        through xdg-open; false when there is no xdg-open
//   GETENV(name)         the variable's value as CP850 text, "" when unset
//
// Arguments are Linux (UTF-8) strings: convert program texts first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tx::platform {

int run(const std::vector<std::string>& argv, std::string* error = nullptr);
bool start_detached(const std::vector<std::string>& argv, std::string* error = nullptr);
std::optional<std::string> find_program(std::string_view name);
bool open_default(std::string_view target, std::string* error = nullptr);
std::string GETENV(std::string_view name);

}  // namespace tx::platform
