#pragma once
// A pool of small blocks that several threads share, behind one lock. It stands in for
// std::pmr::synchronized_pool_resource, which under MinGW takes system objects for its locks
// that it never gives back: two handles lost with every scan.
#include <cstddef>
#include <memory_resource>

#include "base/light_lock.h"

namespace kelvane {

class LockedPool : public std::pmr::memory_resource {
 public:
  explicit LockedPool(std::pmr::memory_resource* upstream) : pool_(upstream) {}

 private:
  void* do_allocate(size_t bytes, size_t align) override;
  void do_deallocate(void* p, size_t bytes, size_t align) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  LightMutex mutex_;
  std::pmr::unsynchronized_pool_resource pool_;
};

}  // namespace kelvane
