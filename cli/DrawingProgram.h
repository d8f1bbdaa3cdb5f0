#pragma once
// The render command of a mirrorknit-cli built without Qt. Drawing needs Qt's libraries, which
// add some 11 MiB to every run of a program that links them, before it has read a byte, and
// most runs are dockings of big models. So mirrorknit-cli stays without them, and render hands
// the whole command line to a second program with the same commands and the drawing: beside it
// in the build, in the libexec folder once installed.

#include <ostream>
#include <string>
#include <vector>

namespace mk::cli {

/// The file name of the drawing program.
inline constexpr const char* kDrawingProgramName = "mirrorknit-cli-render";

/// Replaces this process with the drawing program running `render args...`, after flushing out
/// and err: it is looked for in this program's folder (found through /proc/self/exe), then where
/// the install puts it. Returns only when that fails, with the reason on err and exit code 1.
/// Once the drawing program runs, its exit code is the command's, including the loader's 127
/// when its libraries cannot be found.
int RunDrawingProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mk::cli
