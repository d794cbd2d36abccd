#include "scan/scratch_memory.h"

#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace kelvane {

void* ScratchMemory::do_allocate(size_t bytes, size_t align) {
#ifdef _WIN32
  // Pages are aligned beyond anything asked for here.
  (void)align;
  void* p = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
  const size_t a = align < alignof(std::max_align_t) ? alignof(std::max_align_t) : align;
  void* p = std::aligned_alloc(a, (bytes + a - 1) / a * a);
#endif
  if (!p) throw std::bad_alloc();
  return p;
}

void ScratchMemory::do_deallocate(void* p, size_t, size_t) {
#ifdef _WIN32
  VirtualFree(p, 0, MEM_RELEASE);
#else
  std::free(p);
#endif
}

}  // namespace kelvane
