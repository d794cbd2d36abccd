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
  try {
    pdel_ = std::thread([this, work] { work(delete_stop_); });
  } catch (const std::system_error&) {
    // No thread: the work is done here, so that its receiver still hears of its end.
    work(delete_stop_);
  }
  return true;
}

void mdir::stop_delete(bool stop) {
  if (stop) delete_stop_.store(true);
  if (pdel_.joinable()) pdel_.join();
  delete_stop_.store(false);
}

}  // namespace kelvane
