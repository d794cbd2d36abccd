#pragma once
// Questions the scan tests ask of a finished tree.
#include <string>
#include <vector>

#include "scan/mdir.h"

namespace kelvane {

// The first folder of the folder list with that name, or nullptr.
inline lobj* folder_named(const mdir& dir, const std::string& name) {
  for (lobj* f = dir.ptop; f; f = f->next)
    if (name == f->name) return f;
  return nullptr;
}

// A folder's size, folder count and file count.
inline std::vector<long long> totals(const lobj* f) {
  return {static_cast<long long>(f->size.load()), f->ndir.load(), f->nfil.load()};
}

}  // namespace kelvane
