#include "scan/locked_pool.h"

namespace kelvane {

void* LockedPool::do_allocate(size_t bytes, size_t align) {
  std::lock_guard<LightMutex> lock(mutex_);
  return pool_.allocate(bytes, align);
}

void LockedPool::do_deallocate(void* p, size_t bytes, size_t align) {
  std::lock_guard<LightMutex> lock(mutex_);
  pool_.deallocate(p, bytes, align);
}

}  // namespace kelvane
