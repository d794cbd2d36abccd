#pragma once
// What every benchmark shares: a millisecond clock, the median of a set of runs, and a scan
// client that only waits for the walk's end.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "scan/mdir.h"

namespace kelvane::bench {

inline double now_ms() {
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(clock::now().time_since_epoch()).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Takes no progress and lets busy go when the walk ends, as the left view does.
class Quiet : public ScanClient {
 public:
  explicit Quiet(std::atomic<int>& busy) : busy_(busy) {}
  void scan_progress(const std::string&) override {}
  void scan_finished(bool ok_, const std::string&) override {
    ok = ok_;
    busy_.store(0, std::memory_order_release);
    done.set_value();
  }
  bool ok = false;
  std::promise<void> done;

 private:
  std::atomic<int>& busy_;
};

}  // namespace kelvane::bench
