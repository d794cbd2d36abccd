#pragma once
// One node of the scanned tree, a file or a folder.
//
// Folders are linked into one folder list in pre-order (ptop, next, prev); each folder's files
// hang in a file list (first ... last through next/prev). There are no child pointers.
// Names are owned by the tree's node store (see scan/node_store.h) and live as long as the tree.
//
// Nine entries in ten are files, so a file node is only the head below: kind, depth and stamp
// (in the room the alignment of size leaves anyway), size, name, parent and its list links. A folder
// node adds its file list and its counters. Every node is reached as an lobj*; the folder-only
// fields exist only where isdir is 1.
//
// A folder's full path is not stored: it is its parent's path and its own name, so the tree's
// root alone holds a path (the one scanned). Stored, the paths of a deep tree would cost more
// than all of its names.
//
// size, ndir and nfil are atomics because the idle status update reads the current folder's
// counters while the scan thread adds to them; each is read whole, never torn.
#include <atomic>
#include <cstdint>
#include <string>

namespace kelvane {

struct lobj;

// What every node has; a file node is exactly this.
struct lobj_head {
  int16_t isdir = 0;  // 1 folder, 0 file
  // Nesting level; -1 while remv_lobj marks a folder for freeing. Every level adds at least a
  // backslash and one character to a path of at most 32,767, so 16 bits always hold it.
  int16_t depth = 0;
  // What the scan saw of the entry beyond its name, kind and size (scan/entry_stamp.h): a
  // replaced file or folder of the same name, kind and size has another.
  uint32_t stamp = 0;
  std::atomic<uint64_t> size{0};
  const char* name = "";  // as the enumeration reports it (the scanned path for a drive root)
  lobj* parent = nullptr;
  lobj* prev = nullptr;
  lobj* next = nullptr;
};

struct lobj : lobj_head {
  // Folders only.
  const char* root_path = "";  // the tree's root only: the path it was scanned as
  lobj* first = nullptr;       // first file
  lobj* last = nullptr;        // last file (used while building)
  std::atomic<int32_t> ndir{0};
  std::atomic<int32_t> nfil{0};

  // The full path: the root's path, then the names of the folders down to this one.
  std::string fpath() const;
};

// The 32-bit program is built on every run; its node sizes are what the memory per entry rests on.
static_assert(sizeof(void*) != 4 || (sizeof(lobj_head) == 32 && sizeof(lobj) == 56));

}  // namespace kelvane
