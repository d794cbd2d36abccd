#pragma once
// Where the toolbar goes when it is dragged and dropped, and what room it then takes from the
// frame: plain functions, so the docking rules are tested without a window.
#include "frame/frame_layout.h"

namespace kelvane {

enum class DockSide { top, bottom, left, right, floating };

inline bool is_vertical(DockSide side) { return side == DockSide::left || side == DockSide::right; }

// How near (in pixels, inside or outside) an edge of the frame's client area a drop must be to
// dock the bar on that edge.
constexpr int kDockReach = 32;

// The side a drop at (x, y) selects; client is the frame's client area in the same (screen)
// coordinates. The nearest edge within reach wins (top, bottom, left, right on a tie); a drop
// farther from every edge floats the bar.
DockSide dock_side_for_drop(const PixelRect& client, int x, int y, int reach = kDockReach);

// The frame's client area (width x height) shared out: the status bar's strip at the bottom
// (status_height, 0 when hidden), the bar's strip on its side (thickness: the height of a
// horizontal bar, the width of a vertical one; 0 when hidden), the rest for the client window.
// A horizontal bar is stretched 2 pixels past the client, like the frame always did; a floating
// bar takes nothing.
struct DockLayout {
  PixelRect bar;
  PixelRect client;
};
DockLayout dock_layout(int width, int height, DockSide side, int thickness, int status_height);

// The floating bar's client rectangle (screen) for a drop at (x, y): the point where the bar
// was grabbed (relative to its top-left corner; negative y on the caption) stays under the
// pointer as far as the new size allows, and the window around it (the client grown by insets:
// border and caption) is moved to keep its caption on the work area.
PixelRect floating_client_rect(int x, int y, int grab_x, int grab_y, int width, int height,
                               const PixelRect& insets, const PixelRect& work);

}  // namespace kelvane
