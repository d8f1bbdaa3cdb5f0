#pragma once
// Writing the splines of a big model on both cores. Formatting numbers is most of a save, and a
// docked model holds twice the points it was read with. The items are cut into runs of about
// the same number of points; every second run is formatted on a helper thread into a buffer of
// its own while this thread formats the run before it, and the buffers join the output in order,
// so the file is byte for byte what a plain loop writes.

#include <cstddef>
#include <future>
#include <thread>
#include <vector>

#include "core/util/LineList.h"
#include "core/util/SecondCore.h"

namespace mk {

/// Points per run: about a quarter of a megabyte of text. The helper's buffers come on top of
/// a docked model at its largest, so they are kept small; runs of four times the size were no
/// faster.
inline constexpr std::size_t kPointsPerRun = 4096;

/// Calls write(i, lines) for i = 0 .. count-1 with the output in that order; weight(i) is the
/// number of points of item i. write must only read shared data: two calls may run at once.
template <class Weight, class Write>
void WriteInOrder(LineWriter& lines, std::size_t count, Weight weight, Write write) {
  // Run k covers the items from starts[k] to starts[k + 1].
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < count;) {
    std::size_t points = 0;
    while (i < count && points < kPointsPerRun) points += static_cast<std::size_t>(weight(i++));
    starts.push_back(i);
  }
  const std::size_t runs = starts.size() - 1;
  auto write_run = [&](std::size_t k, LineWriter& out) {
    for (std::size_t i = starts[k]; i < starts[k + 1]; ++i) write(i, out);
  };
  if (runs < 2 || OneCoreScope::Active() || std::thread::hardware_concurrency() < 2) {
    for (std::size_t i = 0; i < count; ++i) write(i, lines);
    return;
  }
  // This thread formats the even runs straight into the output and the helper the odd ones, each
  // into one of two buffers in turn: the next odd run is under way while this thread hands the
  // last one on, so the helper never waits for the output. The buffers outlive the helper's
  // future, which is waited for before they go even when this thread throws.
  LineWriter buffers[2];
  std::future<void> helper;
  auto start_helper = [&](std::size_t k) {
    helper = StartBeside([&write_run, &buffers, k] { write_run(k, buffers[(k / 2) % 2]); });
  };
  start_helper(1);
  write_run(0, lines);
  for (std::size_t k = 1; k < runs; k += 2) {
    helper.get();
    if (k + 2 < runs) start_helper(k + 2);
    lines.Take(buffers[(k / 2) % 2]);
    if (k + 1 < runs) write_run(k + 1, lines);
  }
}

}  // namespace mk
