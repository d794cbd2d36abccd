#pragma once
// The scan client of the tests and benchmarks: it records what the walk reports and, when the
// walk ends, lets busy go as the left view does and wakes whoever waits for the end.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "scan/mdir.h"

namespace kelvane::testing_fakes {

class ScanRecorder : public ScanClient {
 public:
  // keep_patterns false: the progress is taken and dropped (a benchmark's million folders).
  explicit ScanRecorder(std::atomic<int>& busy, bool keep_patterns = true)
      : busy_(busy), keep_patterns_(keep_patterns) {}

  // Written by the walk's thread before its end, read by the test after it.
  void scan_progress(const std::string& pattern) override {
    if (keep_patterns_) patterns.push_back(pattern);
    busy_while_walking = busy_.load();
  }
  void scan_finished(bool ok_, const std::string& message_) override {
    // All under the lock, the wake-up included: the waiter may free this object the moment
    // it sees the end.
    std::lock_guard<std::mutex> lock(mutex_);
    ++finished;
    ok = ok_;
    message = message_;
    busy_.store(0, std::memory_order_release);
    ended_.notify_all();
  }

  // Waits for the end of the scan started after the last reset; false when limit passed first.
  bool wait_for(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    return ended_.wait_for(lock, limit, [this] { return finished > 0; });
  }
  void wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return finished > 0; });
  }
  void reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    patterns.clear();
    finished = 0;
    ok = false;
    message.clear();
    busy_while_walking = -1;
  }

  std::vector<std::string> patterns;
  int finished = 0;
  bool ok = false;
  std::string message;
  int busy_while_walking = -1;

 private:
  std::atomic<int>& busy_;
  bool keep_patterns_;
  std::mutex mutex_;
  std::condition_variable ended_;
};

}  // namespace kelvane::testing_fakes
