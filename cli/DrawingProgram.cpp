#include "cli/DrawingProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/Commands.h"

// Where the install puts the drawing program, from the folder of mirrorknit-cli.
#ifndef MK_DRAWING_PROGRAM_FOLDER
#define MK_DRAWING_PROGRAM_FOLDER "../libexec/mirrorknit"
#endif

namespace mk::cli {
namespace fs = std::filesystem;

int RunDrawingProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::error_code own_error;
  const fs::path own = fs::read_symlink("/proc/self/exe", own_error);
  if (own_error) {
    err << "mirrorknit-cli: render cannot find its own folder: " << own_error.message() << "\n";
    return kExitError;
  }
  const fs::path folder = own.parent_path();
  std::vector<std::string> command{kDrawingProgramName, "render"};
  command.insert(command.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : command) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // Whatever this process printed must come out before the other program's output.
  out.flush();
  err.flush();
  std::fflush(nullptr);
  int reason = ENOENT;
  for (const fs::path& candidate : {folder / kDrawingProgramName,
                                    folder / MK_DRAWING_PROGRAM_FOLDER / kDrawingProgramName}) {
    execv(candidate.c_str(), argv.data());
    if (errno != ENOENT) reason = errno;
  }
  err << "mirrorknit-cli: render needs the drawing program " << kDrawingProgramName
      << " beside mirrorknit-cli or in " << (folder / MK_DRAWING_PROGRAM_FOLDER).string() << ": "
      << std::strerror(reason) << "\n";
  return kExitError;
}

}  // namespace mk::cli
