#include "ui/pixel_map_scale.h"

#include <cstddef>

namespace kelvane {

std::vector<uint32_t> scale_pixel_strip(const std::vector<uint32_t>& src, int size, int count, int cell,
                                        uint32_t fill) {
  if (size <= 0 || count <= 0 || cell <= 0) return {};
  const int src_width = size * count;
  const int width = cell * count;
  std::vector<uint32_t> out(static_cast<std::size_t>(width) * cell, fill);
  if (src.size() < static_cast<std::size_t>(src_width) * size) return out;
  for (int image = 0; image < count; ++image) {
    for (int y = 0; y < cell; ++y) {
      const int sy = y * size / cell;
      for (int x = 0; x < cell; ++x) {
        out[static_cast<std::size_t>(y) * width + image * cell + x] =
            src[static_cast<std::size_t>(sy) * src_width + image * size + x * size / cell];
      }
    }
  }
  return out;
}

}  // namespace kelvane
