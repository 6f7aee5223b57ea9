// pseudal2logo: converts Pseudal algorithm documents into LOGO programs from the command line.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"

int main(int argc, char* argv[]) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argc > 0 ? argv + 1 : argv, argv + argc);
  const bool inputIsTerminal = ::isatty(STDIN_FILENO) == 1;
  return static_cast<int>(
      tortuval::cli::Run(args, std::cin, std::cout, std::cerr, inputIsTerminal));
}
