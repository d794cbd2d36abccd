#pragma once
// Small trees for the tests, built with the tree's own operations: one builder for the tree's
// own tests (direct counts) and the left pane's (a finished scan's totals, pcur at the root).
#include <atomic>
#include <string>

#include "base/log.h"
#include "base/settings.h"
#include "scan/mdir.h"

namespace kelvane::testing_tree {

// Builds a tree with the tree's own operations, in pre-order like a walk. Direct: each node
// adds its size and count to its parent only, as the walk leaves them before its totals pass;
// recursive: to every ancestor, as a finished scan leaves them.
class TreeBuilder {
 public:
  enum class Totals { kDirect, kRecursive };
  TreeBuilder(mdir& dir, Totals totals) : dir_(dir), totals_(totals) {}

  lobj* folder(lobj* parent, const std::string& name) {
    lobj* p = dir_.new_node();
    p->isdir = 1;
    p->parent = parent;
    p->depth = parent ? parent->depth + 1 : 0;
    p->name = dir_.copy_text(name);
    if (!parent) p->root_path = p->name;
    p->prev = dir_.ptail;
    dir_.add_lobj(p, nullptr);
    for (lobj* a = parent; a; a = above(a)) a->ndir.fetch_add(1);
    return p;
  }

  lobj* file(lobj* parent, const std::string& name, uint64_t size) {
    lobj* p = dir_.new_file();
    p->parent = parent;
    p->depth = parent->depth + 1;
    p->name = dir_.copy_text(name);
    p->size = size;
    p->prev = parent->last;
    dir_.add_lobj(p, parent);
    for (lobj* a = parent; a; a = above(a)) {
      a->size.fetch_add(size);
      a->nfil.fetch_add(1);
    }
    return p;
  }

 private:
  lobj* above(lobj* a) const { return totals_ == Totals::kRecursive ? a->parent : nullptr; }

  mdir& dir_;
  Totals totals_;
};

// A holder with a finished tree's totals, for the left pane's tests.
struct TreeFixture {
  Log log;
  Settings settings;
  std::atomic<int> busy{0};
  mdir dir{log, settings, busy};
  TreeBuilder builder{dir, TreeBuilder::Totals::kRecursive};

  lobj* folder(lobj* parent, const std::string& name) { return builder.folder(parent, name); }
  lobj* file(lobj* parent, const std::string& name, uint64_t size) {
    return builder.file(parent, name, size);
  }

  // The worked example of a drive scan of D:: F1 (1 byte), D1 {F2 (2), S {F3 (4)}}, D2 {},
  // F4 (8). Totals: root 15 bytes, 3 folders, 4 files.
  lobj *root = nullptr, *d1 = nullptr, *s = nullptr, *d2 = nullptr;
  lobj *f1 = nullptr, *f2 = nullptr, *f3 = nullptr, *f4 = nullptr;
  void worked_example() {
    root = folder(nullptr, "D:");
    f1 = file(root, "F1", 1);
    d1 = folder(root, "D1");
    f2 = file(d1, "F2", 2);
    s = folder(d1, "S");
    f3 = file(s, "F3", 4);
    d2 = folder(root, "D2");
    f4 = file(root, "F4", 8);
    dir.pcur = root;
    dir.isdrv = 1;
    dir.path = "D:";
    dir.cdir = "D:";
  }
};

}  // namespace kelvane::testing_tree
