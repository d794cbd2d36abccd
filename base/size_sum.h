#pragma once
// Sums of sizes that never wrap. A byte count is shown as a signed 64-bit figure, so a total
// stops at the largest figure that type holds: a sparse file of 2^63 - 1 bytes beside one of
// 1 byte makes a folder of 2^63 - 1 bytes, never a negative one. A total at that figure is
// "at least this much"; subtracting from it needs the parts again (mdir::take_off_ancestors).
#include <cstdint>
#include <limits>

namespace kelvane {

constexpr uint64_t kMaxSize = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());

// A size as the platform reports it, within the figure a total can hold.
constexpr uint64_t capped_size(uint64_t size) { return size < kMaxSize ? size : kMaxSize; }

constexpr uint64_t add_sizes(uint64_t a, uint64_t b) {
  a = capped_size(a);
  b = capped_size(b);
  return b > kMaxSize - a ? kMaxSize : a + b;
}

}  // namespace kelvane
