// tx2014: the program. Everything lives in the subsystems; this only starts it.
#include "shell/program.hpp"

int main(int argc, char** argv) { return tx::shell::run_program(argc, argv); }
