#pragma once
// The links to folders that a scan entered, each with the identity of the folder it led to
// then. A deletion beneath such a link goes through it only while it still leads to that very
// folder: the link's own name says nothing of where it leads. Entered links are few (most trees
// have none), so they are kept beside the tree, keyed by the link's folder node, rather than in
// every node.
#include <cstddef>
#include <unordered_map>

#include "scan/dir_source.h"
#include "scan/lobj.h"

namespace kelvane {

class EnteredLinks {
 public:
  // The scan entered the link `link` (a folder node of the tree) and found target there.
  void note(const lobj* link, const FolderId& target);
  // The identity the scan found through link, or null when the scan did not enter it.
  const FolderId* target(const lobj* link) const;
  // The node leaves the tree (its memory may serve another node next).
  void forget(const lobj* node) {
    if (!targets_.empty()) targets_.erase(node);
  }
  void clear() { targets_.clear(); }
  size_t size() const { return targets_.size(); }

 private:
  std::unordered_map<const lobj*, FolderId> targets_;
};

}  // namespace kelvane
