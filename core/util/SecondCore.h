#pragma once
// Work for the second core. Where no thread can be had (a process at its thread limit), the
// work runs at once on the calling thread instead: slower, never a failed save or docking.

#include <cstddef>
#include <exception>
#include <future>
#include <system_error>
#include <thread>

namespace mk {

/// Starts task on a thread of its own, or runs it here when none can be started; the future
/// gives its end or its error either way. Whatever task refers to must outlive the future.
template <class Task>
std::future<void> StartBeside(const Task& task) {
  try {
    return std::async(std::launch::async, task);
  } catch (const std::system_error&) {
    std::promise<void> done;
    try {
      task();
      done.set_value();
    } catch (...) {
      done.set_exception(std::current_exception());
    }
    return done.get_future();
  }
}

/// Below this many items of work a second thread costs more than it saves.
inline constexpr std::size_t kItemsWorthASecondCore = 32768;

/// While one lives, work started on its thread stays on that thread: for comparing the split
/// work with the plain order it must equal, and for callers that keep the other core for
/// themselves.
class OneCoreScope {
 public:
  OneCoreScope() { ++Depth(); }
  ~OneCoreScope() { --Depth(); }
  OneCoreScope(const OneCoreScope&) = delete;
  OneCoreScope& operator=(const OneCoreScope&) = delete;

  static bool Active() { return Depth() > 0; }

 private:
  static int& Depth() {
    static thread_local int depth = 0;
    return depth;
  }
};

/// True when a second thread can pay for itself on `items` items of work.
inline bool WorthASecondCore(std::size_t items) {
  return items >= kItemsWorthASecondCore && !OneCoreScope::Active() &&
         std::thread::hardware_concurrency() >= 2;
}

/// Runs beside() on the second core and here() on this thread, and returns when both have ended;
/// an error of either is passed on, this thread's first. Neither may write what the other reads
/// or writes.
template <class Beside, class Here>
void RunSideBySide(const Beside& beside, const Here& here) {
  auto beside_done = StartBeside(beside);
  try {
    here();
  } catch (...) {
    beside_done.wait();
    throw;
  }
  beside_done.get();
}

/// Runs work(0, cut) on the second core and work(cut, n) on this thread (see RunSideBySide).
template <class Work>
void RunInTwoParts(std::size_t cut, std::size_t n, const Work& work) {
  RunSideBySide([&work, cut] { work(std::size_t{0}, cut); }, [&work, cut, n] { work(cut, n); });
}

/// Runs work(begin, end) over [0, n): in two halves of about the same weight (sum of weight(i))
/// on both cores when the whole weighs enough, else at once here. The first part always begins
/// at 0 and the second never does, so work can tell the parts apart by begin and keep results of
/// its own for each, which the caller joins in order.
template <class Weight, class Work>
void SplitAcrossCores(std::size_t n, const Weight& weight, const Work& work) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < n; ++i) total += static_cast<std::size_t>(weight(i));
  if (!WorthASecondCore(total)) {
    work(std::size_t{0}, n);
    return;
  }
  std::size_t cut = 0;
  for (std::size_t half = 0; cut < n && 2 * half < total; ++cut)
    half += static_cast<std::size_t>(weight(cut));
  RunInTwoParts(cut, n, work);
}

/// The same for items of equal weight.
template <class Work>
void SplitAcrossCores(std::size_t n, const Work& work) {
  if (!WorthASecondCore(n)) {
    work(std::size_t{0}, n);
    return;
  }
  RunInTwoParts(n / 2, n, work);
}

}  // namespace mk
