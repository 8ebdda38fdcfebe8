// Benchmark support: the best wall time of several runs of some work.
#pragma once

#include <chrono>

namespace platform::testing {

template <typename Work>
double BestSeconds(int runs, Work work) {
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  return best;
}

}  // namespace platform::testing
