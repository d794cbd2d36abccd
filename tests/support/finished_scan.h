#pragma once
// A scan client that takes no progress and, when the walk ends, lets busy go as the left view
// does and says so through `done`.
#include <atomic>
#include <future>
#include <string>

#include "scan/mdir.h"

namespace kelvane::testing_fakes {

class FinishedScan : public ScanClient {
 public:
  explicit FinishedScan(std::atomic<int>& busy) : busy_(busy) {}
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

}  // namespace kelvane::testing_fakes
