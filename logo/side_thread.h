#pragma once
// Work handed to a second thread, for the reader and the checker of long programs.

#include <algorithm>
#include <future>
#include <system_error>
#include <thread>

namespace tortuval::logo {

/// How many threads can run side by side here, at least one. Asked once: the system's answer
/// costs a file read each time.
inline unsigned AvailableCores() {
  static const unsigned cores = std::max(std::thread::hardware_concurrency(), 1u);
  return cores;
}

/// Starts `work` on a thread of its own; where no thread can be started, `work` runs in the
/// calling thread when its result is asked for. Either way the future gives its result.
template <typename Work>
auto OnSideThread(const Work& work) -> std::future<decltype(work())> {
  try {
    return std::async(std::launch::async, work);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, work);
  }
}

}  // namespace tortuval::logo
