#include "frame/dock_layout.h"

#include <algorithm>
#include <cstdlib>

namespace kelvane {

DockSide dock_side_for_drop(const PixelRect& client, int x, int y, int reach) {
  if (x < client.left - reach || x >= client.right + reach || y < client.top - reach ||
      y >= client.bottom + reach)
    return DockSide::floating;
  const struct {
    DockSide side;
    int distance;
  } edges[] = {{DockSide::top, std::abs(y - client.top)},
               {DockSide::bottom, std::abs(client.bottom - 1 - y)},
               {DockSide::left, std::abs(x - client.left)},
               {DockSide::right, std::abs(client.right - 1 - x)}};
  DockSide best = DockSide::floating;
  int nearest = reach;
  for (const auto& e : edges) {
    if (e.distance < nearest) {
      nearest = e.distance;
      best = e.side;
    }
  }
  return best;
}

DockLayout dock_layout(int width, int height, DockSide side, int thickness, int status_height) {
  const int w = clamp_width(width);
  const int bottom = clamp_width(height - clamp_width(status_height));
  const int t =
      side == DockSide::floating ? 0 : std::min(clamp_width(thickness), is_vertical(side) ? w : bottom);
  DockLayout l;
  l.client = PixelRect{0, 0, w, bottom};
  switch (side) {
    case DockSide::top:
      l.bar = PixelRect{0, 0, toolbar_width(w), t};
      l.client.top = t;
      break;
    case DockSide::bottom:
      l.bar = PixelRect{0, bottom - t, toolbar_width(w), bottom};
      l.client.bottom = bottom - t;
      break;
    case DockSide::left:
      l.bar = PixelRect{0, 0, t, bottom};
      l.client.left = t;
      break;
    case DockSide::right:
      l.bar = PixelRect{w - t, 0, w, bottom};
      l.client.right = w - t;
      break;
    case DockSide::floating:
      break;
  }
  if (t == 0) l.bar = PixelRect{};
  return l;
}

PixelRect floating_client_rect(int x, int y, int grab_x, int grab_y, int width, int height,
                               const PixelRect& insets, const PixelRect& work) {
  const int gx = std::clamp(grab_x, 0, std::max(width - 1, 0));
  const int gy = std::clamp(grab_y, -insets.top, std::max(height - 1, 0));
  int left = x - gx;
  int top = y - gy;
  // The caption's left end and top edge stay on the work area; a bar wider than it keeps its
  // left end in view rather than its right.
  left = std::max(std::min(left, work.right - insets.right - width), work.left + insets.left);
  top = std::max(std::min(top, work.bottom - insets.bottom - height), work.top + insets.top);
  return PixelRect{left, top, left + width, top + height};
}

}  // namespace kelvane
