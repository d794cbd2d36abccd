// mdir's deletion thread: the shell's work on disk, which can take minutes for a large folder,
// runs here so the window keeps answering. It reads only the run's own copies, never the tree.
#include <system_error>

#include "scan/delete_run.h"
#include "scan/mdir.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>
#endif

namespace kelvane {
namespace {

void delete_thread_entry(std::shared_ptr<DeleteRun> run, DeleteClient* client,
                         const std::atomic<bool>* stop) {
#ifdef _WIN32
  // A drive without a medium must fail quietly, not stop the deletion with a system box; the
  // shell's deletion may use COM objects of its own, which need the thread's apartment.
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
#endif
  run->run(*stop, [client](const std::string& path) {
    if (client) client->delete_progress(path);
  });
#ifdef _WIN32
  if (SUCCEEDED(com)) CoUninitialize();
#endif
  if (client) client->delete_finished(run);
}

}  // namespace

bool mdir::start_delete(std::shared_ptr<DeleteRun> run, DeleteClient* client) {
  // One deletion at a time, and none during a scan: the flag is taken only when it is free.
  int idle = kIdle;
  if (!busy_.compare_exchange_strong(idle, kBusyDelete)) return false;
  // The thread of the previous run has made its last call; only its end is left to collect.
  if (pdel_.joinable()) pdel_.join();
  delete_stop_.store(false);
  try {
    pdel_ = std::thread(delete_thread_entry, run, client, &delete_stop_);
  } catch (const std::system_error&) {
    // No thread: the run is done here, so that the receiver still hears of its end.
    delete_thread_entry(run, client, &delete_stop_);
  }
  return true;
}

void mdir::stop_delete(bool stop) {
  if (stop) delete_stop_.store(true);
  if (pdel_.joinable()) pdel_.join();
  delete_stop_.store(false);
}

}  // namespace kelvane
