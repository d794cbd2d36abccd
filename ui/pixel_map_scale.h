#pragma once
// Pixel maps taken to a display scale without smoothing: every pixel of the cell takes the
// colour of the one source pixel under it (nearest neighbour), so no colour is ever mixed. At a
// whole multiple (200 %) each source pixel becomes a k x k square; at 125 or 150 % every fourth
// or every second source pixel is drawn one pixel wider.
#include <cstdint>
#include <vector>

namespace kelvane {

// src: count images of size x size side by side, rows top-down (count * size pixels a row).
// Gives the strip of count cells of cell x cell pixels; fill only where src is too short.
std::vector<uint32_t> scale_pixel_strip(const std::vector<uint32_t>& src, int size, int count, int cell,
                                        uint32_t fill);

}  // namespace kelvane
