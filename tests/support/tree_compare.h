#pragma once
// Node-for-node comparison of two finished trees, for the tests that build one tree two ways.
#include <cstring>
#include <map>
#include <string>

#include "scan/lobj.h"

namespace kelvane {

// "" when both trees hold the same nodes with the same fields and links in the same order;
// otherwise where they first differ.
inline std::string tree_difference(const lobj* a, const lobj* b) {
  std::map<const lobj*, int> at_a, at_b;  // folder -> place in its folder list
  auto place = [](const std::map<const lobj*, int>& at, const lobj* p) {
    if (!p) return -1;
    auto it = at.find(p);
    return it == at.end() ? -2 : it->second;
  };
  auto same = [&](const lobj* x, const lobj* y) {
    return x->isdir == y->isdir && x->depth == y->depth && x->size.load() == y->size.load() &&
           std::strcmp(x->name, y->name) == 0 && place(at_a, x->parent) == place(at_b, y->parent);
  };
  int i = 0;
  for (; a && b; a = a->next, b = b->next, ++i) {
    at_a[a] = i;
    at_b[b] = i;
    const std::string where = "folder " + std::to_string(i) + " (" + a->fpath() + ")";
    if (!same(a, b) || a->fpath() != b->fpath() || a->ndir.load() != b->ndir.load() ||
        a->nfil.load() != b->nfil.load() || place(at_a, a->prev) != place(at_b, b->prev))
      return where;
    const lobj *fa = a->first, *fb = b->first, *pa = nullptr, *pb = nullptr;
    for (int n = 0; fa && fb; pa = fa, pb = fb, fa = fa->next, fb = fb->next, ++n) {
      if (!same(fa, fb) || fa->parent != a || fb->parent != b || fa->prev != pa || fb->prev != pb)
        return where + ", file " + std::to_string(n) + " (" + fa->name + ")";
    }
    if (fa || fb) return where + ": file lists differ in length";
    if (a->last != pa || b->last != pb) return where + ": last file";
  }
  if (a || b) return "folder lists differ in length at " + std::to_string(i);
  return "";
}

}  // namespace kelvane
