#pragma once
// A rectangle in pixels as plain data, so window geometry is computed and tested without a
// window.

namespace kelvane {

// A rectangle in pixels, right and bottom exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const PixelRect&) const = default;
};

// Widths that came out negative (a tiny window, a small xs) are drawn as nothing.
inline int clamp_width(int width) { return width < 0 ? 0 : width; }

}  // namespace kelvane
