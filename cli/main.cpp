// mirrorknit-cli: the docking core from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace {

int RunCommandLine(const std::vector<std::string>& args) {
  mk::cli::SetExitingAfterRun(true);
  return mk::cli::Run(args, std::cout, std::cerr);
}

}  // namespace

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "core/util/Utf8Path.h"

// Windows hands a narrow main its arguments in the active code page, which cannot hold every
// file name; the wide entry point gets them whole, and the program goes on in UTF-8.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(mk::Utf8FromPath(std::filesystem::path(argv[i])));
  // Models pass through the standard streams byte for byte and the lines end as on every other
  // system; the messages name files in UTF-8, which the console shows as such only when told.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  return RunCommandLine(args);
}

#else

int main(int argc, char** argv) {
  return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
