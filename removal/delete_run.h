#pragma once
// A run of deletions the user confirmed, ready to be carried out away from the tree: each
// target's path, folder, kind and size are copied when the run is made, so the work may go on
// on another thread while the tree stays as it is. The nodes are for the user-interface
// thread, which takes the deleted ones out of the tree once the run is over.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/log.h"
#include "removal/delete_check.h"
#include "removal/tree_remover.h"
#include "scan/lobj.h"

namespace kelvane {

class mdir;
class DeleteRun;

// What a deletion run tells the program. The program's implementation posts to the
// user-interface thread; both calls come from the deletion thread.
class DeleteClient {
 public:
  virtual ~DeleteClient() = default;
  // The status text as the run goes ("Deleting <path> ... N of M"); may come for every entry.
  virtual void delete_progress(const std::string& text) = 0;
  // The run is over (its last act). The receiver takes the deleted entries out of the tree
  // and only then clears busy.
  virtual void delete_finished(std::shared_ptr<DeleteRun> run) = 0;
};

struct DeleteTarget {
  lobj* node = nullptr;         // read only on the user-interface thread, after the run
  lobj* folder_node = nullptr;  // its folder's node, likewise
  std::string path;             // the entry's full path
  std::string folder;           // the folder that holds it
  ListedEntry listed;
  // The folders from below the scanned root down to `folder` (removal/delete_check.h): each is
  // checked again right before the entry is acted on.
  std::vector<ScannedFolder> way;
  // The entry and everything the scan listed beneath it; a permanent deletion removes them
  // one by one and marks each one that left the disk.
  std::vector<RemovalEntry> entries;
  // After a permanent deletion: `folder`'s stamp, read on the handle the run held it by (0: not
  // read).
  uint32_t folder_stamp_after = 0;
};

enum class DeleteOutcome {
  kDeleted,      // gone from disk: deleted now, or gone already
  kChanged,      // not what was listed: left alone
  kLink,         // a link: left alone
  kBehindLink,   // a folder on the way to it is a link: left alone
  kHoldsLink,    // a folder with a link beneath it: the link and the folders holding it left alone
  kHoldsVolume,  // a folder with another volume mounted beneath it, or one itself: likewise
                 // (deleting for good, the rest of either may be gone)
  kNoBin,        // the recycle bin cannot take it, and the shell would delete it for good: left alone
  kFailed,       // not deleted, or not reachable: left alone
  kStopped,      // asked to stop while it was being deleted: part of it may have gone
};

class DeleteRun {
 public:
  // nodes: the entries to delete, in order, all in dir's tree. Made on the user-interface
  // thread while no scan runs; it takes from dir what the run needs (the entries' paths and
  // listings, the scanned root, whether to use the recycle bin, the log) and keeps nothing
  // else of it, so the run reads nothing of the tree.
  // owner: the window (a handle) that owns what the shell asks, or nullptr.
  DeleteRun(mdir& dir, const std::vector<lobj*>& nodes, void* owner = nullptr);

  // Deletes the targets in order. Stops at the first one not deleted, and soon once stop is
  // set; progress hears the status text ("Deleting <path> ... N of M") as entries go.
  void run(const std::atomic<bool>& stop, const std::function<void(const std::string&)>& progress);

  const std::vector<DeleteTarget>& targets() const { return targets_; }
  // How many targets, from the first, are gone from disk. The target after them may have lost
  // part of what it held (its entries marked removed).
  size_t deleted() const { return deleted_; }
  // The entries listed for all targets, and how many of them left the disk so far.
  size_t total() const { return total_; }
  size_t done() const { return done_; }
  // The box to show after the run, or empty.
  const std::string& message() const { return message_; }
  // The folders the run removed entries from that stay on disk, with their stamps read after
  // it: the user-interface thread puts them into the tree.
  const std::vector<std::pair<lobj*, uint32_t>>& restamped() const { return restamped_; }

 private:
  // Deletes one listed entry if it is still what the scan listed (root: the scanned folder's
  // state now); an entry already gone from a folder still there counts as deleted. With the
  // recycle bin the shell deletes it; without, the run removes it and what the scan listed
  // beneath it itself, entry by entry (marking target's entries), stopping soon once stop is
  // set. removed hears how many listed entries left the disk, as they go; looking hears each
  // folder the walk for links reads before the shell is asked.
  DeleteOutcome delete_entry(DeleteTarget& target, RootState root, const std::atomic<bool>& stop,
                             const std::function<void(size_t)>& removed,
                             const std::function<void(const std::string&)>& looking);
  // After target k was acted on: the stamps of the folders it removed entries from and that
  // stay (its own folder, and a folder of it that kept something) are read again, for the
  // targets still to come and for the tree. (Under Wine a folder's stamp holds its last-write
  // time, which every removal inside it changes.) After a permanent deletion they are the ones
  // read on the handles the run held, never a path resolved again; after the shell's, by path.
  void restamp_after(size_t k);
  // The permanent deletion of one target by the program itself.
  DeleteOutcome remove_for_good(DeleteTarget& target, const std::atomic<bool>& stop,
                                const std::function<void(size_t)>& removed);

  Log& log_;
  bool recycle_bin_ = false;
  void* owner_ = nullptr;
  std::vector<DeleteTarget> targets_;
  std::string root_path_;
  bool root_recorded_ = false;
  FolderId root_id_;
  std::string kept_path_;  // the entry that stuck inside a target, when not the target itself
  size_t deleted_ = 0;
  size_t total_ = 0;
  size_t done_ = 0;
  std::string message_;
  std::vector<std::pair<lobj*, uint32_t>> restamped_;
};

// Starts run on dir's deletion thread (mdir::start_delete), telling client as it goes; false,
// and nothing started, when a scan or another deletion holds the busy flag.
// The client lives as long as the thread: a run the shell still carries out when the program
// closes may call it after the window that started the run has gone.
bool start_delete_run(mdir& dir, std::shared_ptr<DeleteRun> run, std::shared_ptr<DeleteClient> client);

}  // namespace kelvane
