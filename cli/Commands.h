#pragma once
// The subcommands of mirrorknit-cli. Exit codes: 0 success, 1 an error (its message on stderr),
// 2 a usage error; check answers 1 for seam faults and 3 for a file it could not read.

#include <ostream>
#include <string>
#include <vector>

namespace mk::cli {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitUnreadable = 3;

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// Set by a process that ends right after Run: the commands then leave their last document to
/// the system instead of freeing millions of points one by one just before the exit. Callers
/// that run several commands (the tests) leave it off.
void SetExitingAfterRun(bool exiting);

int RoundTrip(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Dock(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
/// Docks in memory and prints the dock report's summary; exit 1 when it finds seam faults.
int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mk::cli
