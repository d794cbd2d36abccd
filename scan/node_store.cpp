#include "scan/node_store.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace kelvane {

// A block is one allocation: this header, then the bytes handed out.
struct NodeStore::Block {
  Block* next;
  size_t size;  // bytes after the header
};

namespace {

constexpr size_t kBlockBytes = 256 * 1024;
// Requests above this get a block of their own, so that a very long path does not waste the
// rest of the block in use.
constexpr size_t kOwnBlockAbove = kBlockBytes / 8;
// Room for the header that keeps the data after it aligned for any node.
constexpr size_t kHeaderBytes = 16;

}  // namespace

NodeStore::~NodeStore() { clear(); }

char* NodeStore::new_block(size_t bytes) {
  static_assert(sizeof(Block) <= kHeaderBytes);
  void* memory = std::malloc(kHeaderBytes + bytes);
  if (!memory) throw std::bad_alloc();
  Block* block = static_cast<Block*>(memory);
  block->next = blocks_;
  block->size = bytes;
  blocks_ = block;
  reserved_ += kHeaderBytes + bytes;
  return static_cast<char*>(memory) + kHeaderBytes;
}

void* NodeStore::carve(Region& region, size_t bytes, size_t align) {
  if (bytes > kOwnBlockAbove) return new_block(bytes);
  size_t pad = (align - reinterpret_cast<uintptr_t>(region.cursor) % align) % align;
  if (!region.cursor || pad + bytes > region.left) {
    region.cursor = new_block(kBlockBytes);
    region.left = kBlockBytes;
    pad = 0;
  }
  char* out = region.cursor + pad;
  region.cursor = out + bytes;
  region.left -= pad + bytes;
  return out;
}

void* NodeStore::reuse_or_carve(lobj*& free_list, size_t bytes, size_t align) {
  if (!free_list) return carve(nodes_, bytes, align);
  lobj* memory = free_list;
  free_list = free_list->next;
  return memory;
}

lobj* NodeStore::new_node() { return new (reuse_or_carve(free_nodes_, sizeof(lobj), alignof(lobj))) lobj(); }

lobj* NodeStore::new_file() {
  // Only the head is made: the folder fields would lie beyond the node.
  return static_cast<lobj*>(new (reuse_or_carve(free_files_, sizeof(lobj_head), alignof(lobj_head)))
                                lobj_head());
}

const char* NodeStore::copy_text(std::string_view text) {
  char* out = static_cast<char*>(carve(texts_, text.size() + 1, 1));
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
  return out;
}

void NodeStore::release(lobj* node) {
  if (!node) return;
  // The node's own memory holds the free list link; new_node or new_file builds a fresh node
  // over it. A file node has only its head.
  if (node->isdir) {
    node->~lobj();
    lobj* link = new (node) lobj();
    link->next = free_nodes_;
    free_nodes_ = link;
  } else {
    lobj* link = static_cast<lobj*>(new (static_cast<lobj_head*>(node)) lobj_head());
    link->next = free_files_;
    free_files_ = link;
  }
}

void NodeStore::clear() {
  while (blocks_) {
    Block* next = blocks_->next;
    std::free(blocks_);
    blocks_ = next;
  }
  nodes_ = Region();
  texts_ = Region();
  free_nodes_ = nullptr;
  free_files_ = nullptr;
  reserved_ = 0;
}

void NodeStore::adopt(NodeStore& other) {
  if (&other == this) return;
  if (Block* first = other.blocks_) {
    Block* last = first;
    while (last->next) last = last->next;
    last->next = blocks_;
    blocks_ = first;
    reserved_ += other.reserved_;
    other.blocks_ = nullptr;
  }
  other.clear();
}

size_t NodeStore::bytes_reserved() const { return reserved_; }

}  // namespace kelvane
