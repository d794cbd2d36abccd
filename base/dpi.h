#pragma once
// The display scale a window is drawn at. Every pixel figure of the program is written for
// 96 dots per inch (100 %); px() turns one into the pixels of this scale, rounding as the
// platform's MulDiv does, so that at 96 every figure is exactly the one written.
#include <cstdint>

namespace kelvane {

constexpr int kBaseDpi = 96;

// a * b / c rounded to the nearest whole number, halves away from zero (MulDiv's rounding);
// c must not be 0.
constexpr int mul_div(int a, int b, int c) {
  const int64_t n = static_cast<int64_t>(a) * b;
  const int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (n < 0) != (c < 0);
  const int64_t q = ((n < 0 ? -n : n) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -q : q);
}

struct Dpi {
  int value = kBaseDpi;
  // A figure written for 96 dots per inch at this scale.
  constexpr int px(int at96) const { return mul_div(at96, value, kBaseDpi); }
  // The largest whole multiple of a 96-DPI pixel map that fits this scale (1 below 192).
  constexpr int whole_multiple() const { return value < 2 * kBaseDpi ? 1 : value / kBaseDpi; }
  constexpr bool operator==(const Dpi&) const = default;
};

// A readable value for a window whose DPI could not be read (0 or less): 96.
constexpr Dpi dpi_of(int value) { return Dpi{value > 0 ? value : kBaseDpi}; }

}  // namespace kelvane
