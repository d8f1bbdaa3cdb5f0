#pragma once
// Writing the splines of a big model on both cores. Formatting numbers is most of a save, and a
// docked model holds twice the points it was read with. The items are cut into runs of about
// the same number of points; every second run is formatted on a helper thread into its own
// buffer while this thread formats the run before it, and the buffers join the output in order,
// so the file is byte for byte what a plain loop writes.

#include <cstddef>
#include <thread>

#include "model/LineList.h"
#include "model/SecondCore.h"

namespace mk {

/// Points per run: about a megabyte of text, so that the helper's buffer stays small.
inline constexpr std::size_t kPointsPerRun = 16384;

/// Calls write(i, lines) for i = 0 .. count-1 with the output in that order; weight(i) is the
/// number of points of item i. write must only read shared data: two calls may run at once.
template <class Weight, class Write>
void WriteInOrder(LineWriter& lines, std::size_t count, Weight weight, Write write) {
  // The end of the run that starts at item `from`.
  auto run_end = [&](std::size_t from) {
    std::size_t points = 0;
    while (from < count && points < kPointsPerRun) points += static_cast<std::size_t>(weight(from++));
    return from;
  };
  auto write_run = [&](std::size_t from, std::size_t to, LineWriter& out) {
    for (std::size_t i = from; i < to; ++i) write(i, out);
  };
  std::size_t from = 0;
  std::size_t to = run_end(from);
  if (to == count || OneCoreScope::Active() || std::thread::hardware_concurrency() < 2) {
    write_run(0, count, lines);
    return;
  }
  while (from < count) {
    const std::size_t next_to = run_end(to);
    if (next_to == to) {  // the last run: no helper needed
      write_run(from, to, lines);
      break;
    }
    LineWriter helper_lines;
    // The helper's run is waited for before its buffer goes, even when this thread throws.
    auto helper = StartBeside([&, begin = to, end = next_to] { write_run(begin, end, helper_lines); });
    write_run(from, to, lines);
    helper.get();
    lines.Append(helper_lines);
    from = next_to;
    to = run_end(from);
  }
}

}  // namespace mk
