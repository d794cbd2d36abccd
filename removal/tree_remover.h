#pragma once
// A permanent deletion done by the program itself, bottom-up, entry by entry: the entry chosen
// and everything the scan listed beneath it. Nothing is removed that the scan did not list
// (an entry made since keeps its folder on disk), no link is ever followed, and each entry is
// checked where it is removed: it must open as itself at the place its folder had, so a
// folder on the way replaced by a link, or a link made inside meanwhile, leads nowhere
// outside. It counts what it removed and stops between two entries when asked, so what is left
// on disk is known entry by entry.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "removal/entry_remover.h"
#include "scan/lobj.h"

namespace kelvane {

// One entry of a listing: the scan's node and what the run finds out about it.
struct RemovalEntry {
  lobj* node = nullptr;   // read by the user-interface thread only, once the run is over
  const char* name = "";  // the tree's copy, which stays while the run lasts
  int parent = -1;        // its folder's index in the listing; -1 for the entry chosen
  bool is_dir = false;
  bool removed = false;  // not on disk any more: removed by the run, or gone before
  bool keeps = false;    // a folder that keeps something beneath it on disk
};

enum class RemovalEnd {
  kRemoved,     // the entry chosen is gone, with everything beneath it
  kStopped,     // asked to stop before it was through
  kKeepsLink,   // something beneath it opens as another entry (a link): left, and its folders
  kKeepsOther,  // something could not be removed (in use, changed kind, made since the scan)
  kMoved,       // the entry chosen is not where the scan found it (a link on its path): untouched
};

class TreeRemover {
 public:
  // removed_one hears of every entry the run takes off the disk.
  TreeRemover(EntryRemover& platform, const std::atomic<bool>& stop, std::function<void()> removed_one)
      : platform_(platform), stop_(stop), removed_one_(std::move(removed_one)) {}

  // The node and every entry the scan listed beneath it, each folder before what it holds.
  // Read on the user-interface thread (the tree must not change while the listing is used).
  static std::vector<RemovalEntry> listing(lobj* node);

  // Removes the listing from disk, last entry first: path is the chosen entry's full path,
  // folder the path of the folder that holds it, root the scanned folder's path (folder lies
  // in it).
  RemovalEnd remove(std::vector<RemovalEntry>& entries, const std::string& path, const std::string& folder,
                    const std::string& root);

  // Where the folder holding the chosen entry must be: the scanned folder's real place and the
  // names from it down, so that a folder on the way replaced by a link is not followed. Empty
  // when the scanned folder cannot be opened. The one place the path above the entry is checked.
  std::string folder_place(const std::string& folder, const std::string& root);

 private:
  EntryRemover& platform_;
  const std::atomic<bool>& stop_;
  std::function<void()> removed_one_;
};

}  // namespace kelvane
