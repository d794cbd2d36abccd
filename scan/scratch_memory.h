#pragma once
// Memory for data that lives only while a scan runs (the read-ahead's listings): taken from
// the system in whole pages and handed back to it when the scan ends, so that a scan leaves no
// heap behind it, only the tree.
#include <cstddef>
#include <memory_resource>

namespace kelvane {

class ScratchMemory : public std::pmr::memory_resource {
 private:
  void* do_allocate(size_t bytes, size_t align) override;
  void do_deallocate(void* p, size_t bytes, size_t align) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

}  // namespace kelvane
