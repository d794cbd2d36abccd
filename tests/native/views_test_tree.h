#pragma once
// Small trees for the left pane's tests, built with the tree's own operations the way a
// finished scan leaves them: recursive totals, pre-order folder list, pcur at the root.
#include <atomic>
#include <string>

#include "app/settings.h"
#include "base/log.h"
#include "scan/mdir.h"

namespace kelvane::testing_tree {

struct TreeFixture {
  Log log;
  Settings settings;
  std::atomic<int> busy{0};
  mdir dir{log, settings, busy};

  lobj* folder(lobj* parent, const std::string& name) {
    lobj* p = dir.new_node();
    p->isdir = 1;
    p->parent = parent;
    p->depth = parent ? parent->depth + 1 : 0;
    p->name = dir.copy_text(name);
    const std::string full = parent ? std::string(parent->fpath) + "\\" + name : name;
    p->fpath = dir.copy_text(full);
    p->prev = dir.ptail;
    dir.add_lobj(p, nullptr);
    for (lobj* a = parent; a; a = a->parent) a->ndir.fetch_add(1);
    return p;
  }

  lobj* file(lobj* parent, const std::string& name, uint64_t size) {
    lobj* p = dir.new_node();
    p->parent = parent;
    p->depth = parent->depth + 1;
    p->name = dir.copy_text(name);
    p->size = size;
    p->prev = parent->last;
    dir.add_lobj(p, parent);
    for (lobj* a = parent; a; a = a->parent) {
      a->size.fetch_add(size);
      a->nfil.fetch_add(1);
    }
    return p;
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
