// The program's entry: reads the command line and runs the chosen mode.
#pragma once

namespace tx::shell {
int run_program(int argc, char** argv);
}
