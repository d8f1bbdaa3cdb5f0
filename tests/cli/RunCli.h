#pragma once
// Runs mirrorknit-cli's commands in the test process and keeps what they print.

#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace mk::cli {

struct Result {
  int status;
  std::string out;
  std::string err;
};

inline Result RunCli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = Run(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace mk::cli
