#pragma once
// One record of the slice table: one entry of the current folder, in list order, and the
// order of the entries (cmp_item). Built by the left view's refill; read by the list, the pie
// chart and the item actions.
#include <cstdint>

#include "scan/lobj.h"

namespace kelvane {

struct slice {
  int64_t size = 0;      // the node's size when the table was built
  lobj* node = nullptr;  // the entry; nullptr once the entry has left the tree
  double start = 0;      // radians: sum of the spans before this record
  double span = 0;       // radians: size / size of pcur * kFullTurn
  int count = 0;         // number of records in the table
};

// The program's own decimal constants: the slice table and the pie's hit test use the same
// ones, so a click on the drawn edge of a slice falls where the table says it does.
constexpr double kFullTurn = 6.283185307;
constexpr double kRadToDeg = 57.29577951471995;

// The wide-slice rule: a slice of span radians wider than tm degrees is a sector of its own in
// the pie and its list row gets a colour key; the narrower ones make the hatched remainder.
inline bool wide_slice(double span, int tm) { return span * kRadToDeg > tm; }

// Ordering of the slice table: larger size first, equal sizes by name in byte order.
// For qsort over slice records.
int cmp_item(const void* a, const void* b);

}  // namespace kelvane
