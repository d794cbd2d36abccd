#pragma once
// mdir: the scanner and tree holder. It owns every node reachable from ptop.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "base/log.h"
#include "base/settings.h"
#include "scan/dir_source.h"
#include "scan/entered_links.h"
#include "scan/lobj.h"
#include "scan/node_store.h"

namespace kelvane {

// The values of the busy flag: the user-interface thread sets it before it starts a thread
// that works for the tree, and every handler that touches the tree does nothing while it is
// set. During a scan the tree is being built and is not read at all; during a deletion the
// tree stays as it is (only the disk changes) and may still be painted.
// While a question about the tree's entries is up (kBusyAsk) nothing else may start either:
// the answer acts on the entries as they were asked about.
enum BusyState : int { kIdle = 0, kBusyScan = 1, kBusyDelete = 2, kBusyAsk = 3 };

// What the scan tells the program while and after it walks. The program's implementation
// posts to the user-interface thread; tests record the calls.
class ScanClient {
 public:
  virtual ~ScanClient() = default;
  // The pattern of the folder being read (the status bar's message pane). Called from the
  // scan thread; the implementation may drop calls that come faster than it can show them.
  virtual void scan_progress(const std::string& pattern) = 0;
  // The walk is over (called from the scan thread, as its last act). ok: a tree exists and
  // pcur is its root; otherwise no tree exists. message: a text to show the user ("INVALID
  // PATH !"), or empty. The receiver refills the views and only then clears busy.
  virtual void scan_finished(bool ok, const std::string& message) = 0;
};

class mdir {
 public:
  mdir(Log& log, const Settings& settings, std::atomic<int>& busy);
  ~mdir();
  mdir(const mdir&) = delete;
  mdir& operator=(const mdir&) = delete;

  int isdrv = 0;
  std::string cdir;  // the folder the user is at (views/go_to_folder.h sets it)
  std::string path;  // the path of the last scan, as its tree's paths are formed (read_mdir sets it)
  std::atomic<lobj*> ptop{nullptr};
  std::atomic<lobj*> pcur{nullptr};

  // ---- tree (scan/mdir_tree.cpp) ----
  // Appends p to the folder list (folder == nullptr) or to folder's file list. Returns p.
  lobj* add_lobj(lobj* p, lobj* folder);
  // Frees the whole tree; ptop becomes empty, pcur is left to the caller.
  void free_tree();
  // Removes p and everything beneath it; n is 0 for the outermost call.
  void remv_lobj(lobj* p, int n);
  // Takes p's size and counts off every ancestor, before p leaves the tree (its entry was
  // deleted on disk), so the totals stay right without a rescan.
  void take_off_ancestors(const lobj* p);
  // New zeroed node and owned string copies from the tree's store.
  lobj* new_node();
  lobj* new_file();  // a file node (no folder fields)
  const char* copy_text(std::string_view text);
  lobj* ptail = nullptr;  // last folder of the folder list while the tree is built
  // The links the walk entered, with the folder each led to; cleared with the tree, and a node
  // leaves it as it leaves the tree.
  const EnteredLinks& entered_links() const { return entered_links_; }

  // ---- scan (scan/mdir_scan.cpp; the walk itself in scan/walk.cpp) ----
  // Starts the scan thread on path, a drive root ("D:", "D:\\") or a folder, reading through
  // source; busy must be 0 and no tree exist. Sets busy to 1. Does not wait.
  void start_scan(const std::string& path, ScanClient* client);
  // The whole scan of path, run on the scan thread (callable directly by tests: it then runs
  // inline). Sets the field path first.
  void read_mdir(const std::string& path, ScanClient* client);
  // Asks a running walk to stop soon (program closing) and waits for the thread; then frees
  // what a walk gave up.
  void stop_scan();
  // Only asks; the walk tests the flag per entry. A stopped walk frees what it built and
  // reports nothing (its receiver may be gone), clearing busy itself.
  void request_stop() { stop_.store(true); }
  bool scan_running() const;
  void set_source(DirSource* source) { source_ = source; }
  DirSource* source() const { return source_; }

  // The identity of the scanned folder, recorded as its scan begins (on the scan thread,
  // before the walk); false when it could not be had (then nothing can be compared with it).
  void record_scan_root(const std::string& folder);
  bool scan_root_identity(FolderId& id) const;

  // ---- deletion thread (scan/mdir_delete.cpp; the run itself in removal/delete_run.cpp) ----
  // Starts work on the deletion thread and sets busy to kBusyDelete, unless busy is set
  // already (a scan or another deletion runs): then nothing starts and it returns false. Does
  // not wait. work hears the stop flag, set when the program closes.
  bool start_delete(std::function<void(const std::atomic<bool>& stop)> work);
  // Asks a running deletion to stop before its next entry (program closing); only asks.
  void request_delete_stop() { delete_stop_.store(true); }
  // Waits for the deletion thread (asking it to stop first when stop is true).
  void stop_delete(bool stop);
  // Asks the deletion thread to stop and waits for it at most bound: true when it has ended
  // (and is collected). A deletion the shell carries out cannot be stopped; then false, and the
  // thread is left to whoever ends the process (the program closing).
  bool stop_delete_within(std::chrono::milliseconds bound);
  // Whether a deletion thread has not yet made its last call.
  bool delete_thread_running();

  // ---- opening a file (scan/mdir_open.cpp) ----
  // Starts the program associated with file node p. 0 when it started (or nothing was to be
  // started), 1 for a node that names no file or a failed lookup, 2 when the file is not
  // found, 3 when its type has no association.
  int open_lobj(lobj* p);

  Log& log() { return log_; }
  const Settings& settings() const { return settings_; }

 private:
  Log& log_;
  const Settings& settings_;
  std::atomic<int>& busy_;
  NodeStore store_;
  EnteredLinks entered_links_;
  // A tree given up by the walk on the scan thread: it leaves the holder at once, but its
  // memory is freed only on the user-interface thread, once the thread is collected
  // (start_scan, stop_scan), so the idle status update can never read a freed node.
  void retire_tree();
  NodeStore retired_;
  DirSource* source_ = nullptr;
  std::thread pthr;  // the scan thread started last
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};  // the scan thread has not yet made its last call
  bool root_recorded_ = false;
  FolderId root_id_;
  std::thread pdel_;  // the deletion thread started last
  std::atomic<bool> delete_stop_{false};
  // Whether the deletion thread's work is still going, told under the mutex as it ends.
  std::mutex delete_mutex_;
  std::condition_variable delete_ended_;
  bool delete_running_ = false;
  void end_delete_work();
  friend class Walk;
  friend class TableScan;
};

}  // namespace kelvane
