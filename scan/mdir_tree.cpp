// mdir's tree: nodes and texts from the tree's store, linked into the folder list (pre-order)
// and each folder's file list; the whole tree freed at once; a deleted entry taken out with
// everything beneath it, its size and counts taken off the folders above, so that the panes
// stay right without a rescan. The walk (walk.cpp) builds the tree through these.
#include <cstdint>

#include "base/size_sum.h"
#include "scan/mdir.h"

namespace kelvane {

lobj* mdir::new_node() { return store_.new_node(); }

lobj* mdir::new_file() { return store_.new_file(); }

const char* mdir::copy_text(std::string_view text) { return store_.copy_text(text); }

lobj* mdir::add_lobj(lobj* p, lobj* folder) {
  if (!p) return p;
  p->next = nullptr;
  if (!folder) {
    lobj* top = ptop;
    if (!top) {
      ptail = p;
      ptop = p;
      return p;
    }
    // ptail may be stale after the list was changed from outside; the list itself is the truth.
    if (!ptail) {
      ptail = top;
      while (ptail->next) ptail = ptail->next;
    }
    ptail->next = p;
    ptail = p;
    return p;
  }
  if (!folder->first) {
    folder->first = p;
    folder->last = p;
  } else {
    folder->last->next = p;
    folder->last = p;
  }
  return p;
}

void mdir::free_tree() {
  // Every node and text of the tree lives in the store: one clear frees them all, including
  // the nodes removed earlier and kept for reuse.
  ptop = nullptr;
  ptail = nullptr;
  entered_links_.clear();
  store_.clear();
}

void mdir::retire_tree() {
  ptop = nullptr;
  ptail = nullptr;
  entered_links_.clear();
  retired_.adopt(store_);
}

namespace {

void remove_file(lobj* p, Log& log, int level, NodeStore& store) {
  lobj* parent = p->parent;
  if (level == 2)
    log.write("    File: %s in %s to delete ...\n", p->name, parent ? parent->fpath().c_str() : "");
  if (!parent || !parent->first) return;
  if (parent->first == p) {
    parent->first = p->next;
  } else if (p->prev) {
    p->prev->next = p->next;
  }
  if (p->next) p->next->prev = p->prev;
  if (parent->last == p) parent->last = p->prev;
  if (level == 2) log.write("    File: %s deleted ... ", p->name);
  store.release(p);
  if (level >= 2) log.write("OK\n");
}

}  // namespace

void mdir::remv_lobj(lobj* p, int n) {
  if (!p) return;
  const int level = settings_.vl;
  if (!p->isdir) {
    remove_file(p, log_, level, store_);
    return;
  }

  // The folders beneath p form one unbroken run right after it, each deeper than p; the
  // folder list is in pre-order, so walking that run visits p's folders exactly in the order
  // a recursive descent would, without recursion and without passes over the rest of the list.
  lobj* end = p->next;
  while (end && end->depth > p->depth) end = end->next;

  if (n == 0) {
    lobj* before = p->prev;
    if (before) {
      before->next = end;
    } else if (ptop == p) {
      ptop = end;  // the root itself goes: no tree is left behind a dangling head
    }
    if (end) {
      end->prev = before;
    } else {
      ptail = before;
    }
  }

  for (lobj* folder = p; folder != end; folder = folder->next) {
    for (lobj* file = folder->first; file;) {
      lobj* following = file->next;
      remove_file(file, log_, level, store_);
      file = following;
    }
    folder->first = nullptr;
    folder->last = nullptr;
  }
  for (lobj* folder = p; folder != end; folder = folder->next) folder->depth = -1;
  if (n == 1) return;

  // The paths are formed from the folders above: all are named before any goes.
  if (level == 2) {
    for (lobj* folder = p; folder != end; folder = folder->next)
      log_.write("    Directory to delete: %s ...\n", folder->fpath().c_str());
  }
  for (lobj* folder = p; folder != end;) {
    lobj* following = folder->next;
    entered_links_.forget(folder);
    store_.release(folder);
    folder = following;
  }
}

namespace {

// A folder's size from its own files and its subfolders, without the one leaving the tree.
uint64_t size_without(const lobj* folder, const lobj* leaving) {
  uint64_t sum = 0;
  for (const lobj* f = folder->first; f != nullptr; f = f->next)
    if (f != leaving) sum = add_sizes(sum, f->size.load());
  for (const lobj* f = folder->next; f != nullptr && f->depth > folder->depth; f = f->next)
    if (f->parent == folder && f != leaving) sum = add_sizes(sum, f->size.load());
  return sum;
}

}  // namespace

void mdir::take_off_ancestors(const lobj* p) {
  const uint64_t size = p->size.load();
  const int32_t files = p->isdir ? p->nfil.load() : 1;
  const int32_t folders = p->isdir ? p->ndir.load() + 1 : 0;
  const lobj* leaving = p;
  for (lobj* a = p->parent; a != nullptr; a = a->parent) {
    const uint64_t before = a->size.load();
    // A total at the largest figure stands for at least that much: what remains is summed
    // from the parts again (those below were brought up to date first), never subtracted.
    a->size.store(before >= kMaxSize ? size_without(a, leaving) : before - (size < before ? size : before));
    a->nfil.fetch_sub(files);
    a->ndir.fetch_sub(folders);
    leaving = nullptr;
  }
}

}  // namespace kelvane
