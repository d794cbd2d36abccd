// mdir made and gone: what it holds when made, and what it ends before it goes. Its other
// members live by what they do: the tree (mdir_tree.cpp), the scan (mdir_scan.cpp), the
// deletion thread (mdir_delete.cpp) and opening a file (mdir_open.cpp).
#include "scan/mdir.h"

namespace kelvane {

mdir::mdir(Log& log, const Settings& settings, std::atomic<int>& busy)
    : log_(log), settings_(settings), busy_(busy) {
  log_.write("mdir::mdir () OK ...\n");
}

mdir::~mdir() {
  // A walk still running would go on writing into the tree about to be freed; a deletion
  // ends its current entry (the disk is left whole) and starts no other.
  stop_scan();
  stop_delete(true);
  if (ptop) free_tree();
  log_.write("mdir::~mdir () OK ...\n");
}

}  // namespace kelvane
