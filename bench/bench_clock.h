#pragma once
// What every benchmark shares: a millisecond clock, the median of a set of runs, a scan client
// that only waits for the walk's end, and the quick mode's switch.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "scan/mdir.h"
#include "tests/support/scan_recorder.h"

namespace kelvane::bench {

inline double now_ms() {
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(clock::now().time_since_epoch()).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Whether the arguments ask for the quick mode: the same steps on small inputs, to show that
// the benchmark still runs and prints its figure (the tests run every benchmark so).
template <typename Char>
bool quick_mode(int argc, Char** argv) {
  static const char kFlag[] = "--quick";
  for (int i = 1; i < argc; ++i) {
    int k = 0;
    while (kFlag[k] != 0 && argv[i][k] == static_cast<Char>(kFlag[k])) ++k;
    if (kFlag[k] == 0 && argv[i][k] == 0) return true;
  }
  return false;
}

// Takes no progress and lets busy go when the walk ends, as the left view does.
class Quiet : public testing_fakes::ScanRecorder {
 public:
  explicit Quiet(std::atomic<int>& busy) : ScanRecorder(busy, false) {}
};

}  // namespace kelvane::bench
