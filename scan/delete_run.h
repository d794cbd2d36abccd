#pragma once
// A run of deletions the user confirmed, ready to be carried out away from the tree: each
// target's path, folder, kind and size are copied when the run is made, so the work may go on
// on another thread while the tree stays as it is. The nodes are for the user-interface
// thread, which takes the deleted ones out of the tree once the run is over.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "scan/delete_check.h"
#include "scan/lobj.h"

namespace kelvane {

class mdir;

struct DeleteTarget {
  lobj* node = nullptr;  // read only on the user-interface thread, after the run
  std::string path;      // the entry's full path
  std::string folder;    // the folder that holds it
  ListedEntry listed;
  // The folders from below the scanned root down to `folder` (scan/delete_check.h): each is
  // checked again right before the entry is acted on.
  std::vector<ScannedFolder> way;
};

enum class DeleteOutcome {
  kDeleted,    // gone from disk: deleted now, or gone already
  kChanged,    // not what was listed: left alone
  kLink,       // a link: left alone
  kHoldsLink,  // a folder with a link beneath it: left alone
  kFailed,     // not deleted, or not reachable: left alone
};

class DeleteRun {
 public:
  // nodes: the entries to delete, in order, all in dir's tree. Made on the user-interface
  // thread while no scan runs.
  DeleteRun(mdir& dir, const std::vector<lobj*>& nodes);

  // Deletes the targets in order. Stops at the first one not deleted, and before the next one
  // once stop is set; progress hears each target's path before it is deleted.
  void run(const std::atomic<bool>& stop, const std::function<void(const std::string&)>& progress);

  const std::vector<DeleteTarget>& targets() const { return targets_; }
  // How many targets, from the first, are gone from disk.
  size_t deleted() const { return deleted_; }
  // The box to show after the run, or empty.
  const std::string& message() const { return message_; }

 private:
  mdir& dir_;
  std::vector<DeleteTarget> targets_;
  std::string root_path_;
  bool root_recorded_ = false;
  FolderId root_id_;
  size_t deleted_ = 0;
  std::string message_;
};

}  // namespace kelvane
