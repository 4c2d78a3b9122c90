// Wall-clock timing for the benchmarks that are timed commands.
#pragma once

#include <chrono>

namespace kelu::bench {

using Clock = std::chrono::steady_clock;

// Milliseconds since `from`.
inline double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

}  // namespace kelu::bench
