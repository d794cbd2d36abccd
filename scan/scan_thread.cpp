#include <system_error>

#include "scan/disk_probe.h"
#include "scan/mdir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvane {
namespace {

void scan_thread_entry(mdir* holder, ScanClient* client) {
#ifdef _WIN32
  // A drive without a medium must fail quietly, not stop the walk with a system box.
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
#endif
  holder->record_scan_root();
  holder->read_mdir(client);
}

}  // namespace

void mdir::start_scan(ScanClient* client) {
  // The thread of the previous scan has made its last call; only its end is left to collect.
  if (pthr.joinable()) pthr.join();
  retired_.clear();
  stop_.store(false);
  running_.store(true);
  busy_.store(1);
  try {
    pthr = std::thread(scan_thread_entry, this, client);
  } catch (const std::system_error&) {
    // No thread, no scan: the receiver must still learn of it, or busy would stay set forever.
    running_.store(false);
    if (client) {
      client->scan_finished(false, "");
    } else {
      busy_.store(0, std::memory_order_release);
    }
  }
}

void mdir::stop_scan() {
  stop_.store(true);
  if (pthr.joinable()) pthr.join();
  retired_.clear();
  stop_.store(false);  // the next scan starts unhindered
}

bool mdir::scan_running() const { return running_.load(); }

void mdir::record_scan_root() {
  // Deletions compare the folder with this later: a drive letter pointed elsewhere since the
  // scan names another folder, perhaps on another volume, under the same path.
  root_recorded_ = disk_probe().folder_identity(path, root_id_);
}

bool mdir::scan_root_identity(FolderId& id) const {
  id = root_id_;
  return root_recorded_;
}

}  // namespace kelvane
