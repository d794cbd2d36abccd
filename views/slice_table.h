#pragma once
// The slice table: one record per entry of the current folder, in list order, with the
// angles of its pie slice. The left list, the pie chart and the item actions all read it.
//
// Its records point into the tree, so it must never outlive the tree it was built from: the
// left view empties it whenever the tree is freed, and a record whose entry is removed loses
// its node at once. Readers check the index against count() and the node before use.
#include <vector>

#include "base/log.h"
#include "scan/lobj.h"
#include "views/slice.h"

namespace kelvane {

class SliceTable {
 public:
  // Rebuilds the table from the children of pcur in the tree headed by ptop: the sub-folders
  // in folder-list order, then the files, sorted with cmp_item, spans relative to pcur's size
  // and running starts. With a log, each entry is written as an "OnFill::Name" line.
  void fill(const lobj* ptop, const lobj* pcur, Log* log = nullptr);
  void clear() { records_.clear(); }

  int count() const { return static_cast<int>(records_.size()); }
  bool empty() const { return records_.empty(); }
  // Record i, or nullptr when i is outside the table.
  const slice* at(int i) const;
  // The node of record i, or nullptr when i is outside the table or the entry has gone.
  lobj* node(int i) const;
  // The records as one array (count() of them), for the pie chart.
  const slice* data() const { return records_.data(); }

  // The entry has left the tree: its record keeps its place but no longer points at it.
  void forget(const lobj* node);

 private:
  std::vector<slice> records_;
};

}  // namespace kelvane
