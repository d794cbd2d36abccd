#pragma once
// A permanent deletion done by the program itself, entry by entry: the entry chosen and
// everything the scan listed beneath it. The scanned folder is opened once and checked by its
// identity; the folders on the way down and then every entry are opened one name at a time
// inside their folder's open handle, checked there against the scan's listing, and removed
// through that handle (removal/entry_remover.h), each folder after what it holds. Nothing is
// removed that the scan did not list (an entry made since keeps its folder on disk), no link is
// ever followed, and what stays on disk is known entry by entry: the run counts what it removed
// and stops between two entries when asked.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "removal/delete_check.h"
#include "removal/entry_remover.h"
#include "scan/lobj.h"

namespace kelvane {

// One entry of a listing: the scan's node and what the run finds out about it.
struct RemovalEntry {
  lobj* node = nullptr;   // read by the user-interface thread only, once the run is over
  const char* name = "";  // the tree's copy, which stays while the run lasts
  int parent = -1;        // its folder's index in the listing; -1 for the entry chosen
  bool is_dir = false;
  uint64_t size = 0;     // as listed (a file's)
  uint32_t stamp = 0;    // as listed
  bool removed = false;  // not on disk any more: removed by the run, or gone before
  bool keeps = false;    // a folder that keeps something beneath it on disk
  // A folder that stays with something removed beneath it: its stamp read on its handle then.
  uint32_t stamp_after = 0;
};

// Where the chosen entry lies: the scanned folder, its identity as the scan recorded it, and
// the folders from below it down to the entry's own.
struct RemovalPlace {
  std::string root;
  bool root_recorded = false;
  FolderId root_id;
  std::vector<ScannedFolder> way;
};

enum class RemovalEnd {
  kRemoved,      // the entry chosen is gone, with everything beneath it
  kStopped,      // asked to stop before it was through
  kKeepsLink,    // something beneath it is a link that could not be removed as itself: left
  kKeepsVolume,  // a folder beneath it (or it) is another volume mounted there: left, never entered
  kKeepsOther,   // something could not be removed (in use, changed, made since the scan)
  kMoved,        // the scanned folder or a folder on the way is not the one scanned: untouched
  kBehindLink,   // a folder on the way is a link: untouched
  kChanged,      // the entry chosen is not what the scan listed: untouched
  kLink,         // the entry chosen opens as another entry (a link): untouched
  kUnreachable,  // the scanned folder or a folder on the way cannot be opened: untouched
};

class TreeRemover {
 public:
  // removed_one hears of every entry the run takes off the disk.
  TreeRemover(EntryRemover& platform, const std::atomic<bool>& stop, std::function<void()> removed_one)
      : platform_(platform), stop_(stop), removed_one_(std::move(removed_one)) {}

  // The node and every entry the scan listed beneath it, each folder before what it holds.
  // Read on the user-interface thread (the tree must not change while the listing is used).
  static std::vector<RemovalEntry> listing(lobj* node);

  // Removes the listing from disk, each folder's entries before the folder.
  RemovalEnd remove(std::vector<RemovalEntry>& entries, const RemovalPlace& place);

  // After kKeepsOther: the index of the first entry that stayed for a reason of its own (not
  // only because something beneath it stayed), and whether that reason was a change since the
  // scan; -1 when none.
  int stuck() const { return stuck_; }
  bool stuck_changed() const { return stuck_changed_; }
  // The stamp of the folder that holds the chosen entry, read on the handle the run held it by
  // once it was through (0: not read), so that a folder put in its place meanwhile is not taken
  // for it.
  uint32_t folder_stamp_after() const { return folder_stamp_after_; }

 private:
  // Removes what the listing holds beneath the open folder at index `folder`.
  void remove_below(std::vector<RemovalEntry>& entries, OpenEntry& dir, size_t folder);
  // Removes the open entry at index (a folder after what it holds, a link as itself); true when
  // it left the disk.
  bool remove_opened(std::vector<RemovalEntry>& entries, OpenEntry& opened, size_t index);
  // What the scan listed beneath a link removed as itself leaves the tree with it: it was what
  // the link named, still on disk where it is, never beneath the folder being deleted.
  void mark_beneath_removed(std::vector<RemovalEntry>& entries, size_t index);
  // The entry stays on disk (why: the open's verdict, or kFailed); its folder with it.
  void keep(std::vector<RemovalEntry>& entries, size_t index, OpenResult why);
  void mark_removed(RemovalEntry& e);
  // Whether the run was asked to stop (checked before every entry is acted on).
  bool stopping() {
    if (stop_.load()) stopped_ = true;
    return stopped_;
  }
  // After the folder at index could not be removed: its entries that the run took for removed
  // but that the folder still lists are on disk after all; and an entry it lists that the scan
  // never did was kept on purpose, so the folder is one that changed since the scan.
  void recount(std::vector<RemovalEntry>& entries, const OpenEntry& dir, size_t folder);

  EntryRemover& platform_;
  const std::atomic<bool>& stop_;
  std::function<void()> removed_one_;
  std::vector<std::vector<size_t>> children_;
  bool stopped_ = false;
  bool link_ = false;
  bool volume_ = false;
  int stuck_ = -1;
  bool stuck_changed_ = false;
  uint32_t folder_stamp_after_ = 0;
};

// The full path of entry index of a listing whose chosen entry is at path.
std::string listed_path(const std::vector<RemovalEntry>& entries, size_t index, const std::string& path);

}  // namespace kelvane
