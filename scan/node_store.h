#pragma once
// Storage for the tree's nodes and their names: large blocks carved up in order, so that a
// tree of millions of entries costs little beyond the nodes and the exact bytes of the names.
#include <cstddef>
#include <string_view>

#include "scan/lobj.h"

namespace kelvane {

class NodeStore {
 public:
  NodeStore() = default;
  NodeStore(const NodeStore&) = delete;
  NodeStore& operator=(const NodeStore&) = delete;
  ~NodeStore();

  lobj* new_node();                              // a node with every field zero or empty
  lobj* new_file();                              // a file node: only its head exists (see scan/lobj.h)
  const char* copy_text(std::string_view text);  // an owned copy with its terminator
  void release(lobj* node);                      // a node that left the tree (reused later, by its kind)
  void clear();                                  // everything goes
  // Takes over every block of other, which is left empty as after clear(): what other held
  // stays readable until this store is cleared.
  void adopt(NodeStore& other);
  size_t bytes_reserved() const;

 private:
  struct Block;
  // Nodes and texts are carved from separate blocks, so that a name of odd length costs no
  // padding before the next node.
  struct Region {
    char* cursor = nullptr;
    size_t left = 0;
  };
  Block* blocks_ = nullptr;
  Region nodes_;
  Region texts_;
  lobj* free_nodes_ = nullptr;
  lobj* free_files_ = nullptr;
  size_t reserved_ = 0;
  void* carve(Region& region, size_t bytes, size_t align);
  // A node's memory: the first of free_list (released nodes of that kind), else a new one.
  void* reuse_or_carve(lobj*& free_list, size_t bytes, size_t align);
  char* new_block(size_t bytes);
};

}  // namespace kelvane
