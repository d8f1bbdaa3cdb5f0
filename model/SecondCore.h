#pragma once
// Work for the second core. Where no thread can be had (a process at its thread limit), the
// work runs at once on the calling thread instead: slower, never a failed save or docking.

#include <exception>
#include <future>
#include <system_error>

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

}  // namespace mk
