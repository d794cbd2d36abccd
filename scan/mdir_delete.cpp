// mdir's deletion thread: the work on disk, which can take minutes for a large folder, runs
// here so the window keeps answering. What it does is the deletion's own (removal/delete_run.h);
// the thread and the busy flag are the tree holder's, as for the scan.
#include <system_error>

#include "scan/mdir.h"

namespace kelvane {

bool mdir::start_delete(std::function<void(const std::atomic<bool>& stop)> work) {
  // One deletion at a time, and none during a scan: the flag is taken only when it is free.
  int idle = kIdle;
  if (!busy_.compare_exchange_strong(idle, kBusyDelete)) return false;
  // The thread of the previous run has made its last call; only its end is left to collect.
  if (pdel_.joinable()) pdel_.join();
  delete_stop_.store(false);
  {
    std::lock_guard<std::mutex> lock(delete_mutex_);
    delete_running_ = true;
  }
  try {
    pdel_ = std::thread([this, work] {
      work(delete_stop_);
      end_delete_work();
    });
  } catch (const std::system_error&) {
    // No thread: the work is done here, so that its receiver still hears of its end.
    work(delete_stop_);
    end_delete_work();
  }
  return true;
}

void mdir::end_delete_work() {
  {
    std::lock_guard<std::mutex> lock(delete_mutex_);
    delete_running_ = false;
  }
  delete_ended_.notify_all();
}

bool mdir::stop_delete_within(std::chrono::milliseconds bound) {
  delete_stop_.store(true);
  {
    std::unique_lock<std::mutex> lock(delete_mutex_);
    if (!delete_ended_.wait_for(lock, bound, [this] { return !delete_running_; })) return false;
  }
  if (pdel_.joinable()) pdel_.join();
  delete_stop_.store(false);
  return true;
}

bool mdir::delete_thread_running() {
  std::lock_guard<std::mutex> lock(delete_mutex_);
  return delete_running_;
}

void mdir::stop_delete(bool stop) {
  if (stop) delete_stop_.store(true);
  if (pdel_.joinable()) pdel_.join();
  delete_stop_.store(false);
}

}  // namespace kelvane
