// mirrorknit-cli: the docking core from the command line.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  mk::cli::SetExitingAfterRun(true);
  return mk::cli::Run(args, std::cout, std::cerr);
}
