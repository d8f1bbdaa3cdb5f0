#pragma once
// The render command of a mirrorknit-cli built without Qt. Drawing needs Qt's libraries, which
// add some 11 MiB to every run of a program that links them, before it has read a byte, and
// most runs are dockings of big models. So mirrorknit-cli stays without them, and render hands
// the whole command line to a second program with the same commands and the drawing, installed
// beside it.

#include <ostream>
#include <string>
#include <vector>

namespace mk::cli {

/// The file name of the drawing program.
inline constexpr const char* kDrawingProgramName = "mirrorknit-cli-render";

/// Replaces this process with the drawing program running `render args...`: it is looked for in
/// this program's folder, then in ../libexec/mirrorknit. Returns only when that fails, with the
/// reason on err and exit code 1.
int RunDrawingProgram(const std::vector<std::string>& args, std::ostream& err);

}  // namespace mk::cli
