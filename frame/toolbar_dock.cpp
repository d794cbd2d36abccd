#include "frame/toolbar_dock.h"

#include "ui/status_bar.h"
#include "ui/window_dpi.h"

namespace kelvane {
namespace {

PixelRect to_pixel_rect(const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

PixelRect ToolbarDock::frame_client_on_screen() const {
  RECT c = frame_.client_rect();
  MapWindowPoints(frame_.hwnd(), nullptr, reinterpret_cast<POINT*>(&c), 2);
  return to_pixel_rect(c);
}

int ToolbarDock::status_height() const {
  ui::status_bar* status = frame_.frame_status_bar();
  return status && frame_.bar_visible(ui::frame_window::kStatusBarId) ? status->height() : 0;
}

PixelRect ToolbarDock::float_client_for(POINT pointer, POINT grab) const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
  return floating_client_rect(pointer.x, pointer.y, grab.x, grab.y, frame_client_on_screen().width(),
                              bar_.thickness(false), to_pixel_rect(bar_.float_insets()),
                              to_pixel_rect(monitor.rcWork));
}

RECT ToolbarDock::drop_outline(POINT pointer, POINT grab) {
  const PixelRect client = frame_client_on_screen();
  const DockSide side =
      dock_side_for_drop(client, pointer.x, pointer.y, ui::dpi_of_window(frame_.hwnd()).px(kDockReach));
  if (side == DockSide::floating) {
    const PixelRect c = float_client_for(pointer, grab);
    const RECT in = bar_.float_insets();
    return RECT{c.left - in.left, c.top - in.top, c.right + in.right, c.bottom + in.bottom};
  }
  const PixelRect bar =
      dock_layout(client.width(), client.height(), side, bar_.thickness(is_vertical(side)), status_height())
          .bar;
  return RECT{client.left + bar.left, client.top + bar.top, client.left + bar.right, client.top + bar.bottom};
}

void ToolbarDock::drop(POINT pointer, POINT grab) {
  const DockSide side = dock_side_for_drop(frame_client_on_screen(), pointer.x, pointer.y,
                                           ui::dpi_of_window(frame_.hwnd()).px(kDockReach));
  if (side != DockSide::floating) {
    dock(side);
    return;
  }
  const PixelRect c = float_client_for(pointer, grab);
  float_at(c.left, c.top);
}

void ToolbarDock::dock(DockSide side) {
  if (side == DockSide::floating || !bar_.exists()) return;
  bar_.dock(is_vertical(side));
  side_ = side;
  relayout();
}

void ToolbarDock::float_at(int x, int y) {
  const RECT client{x, y, x + frame_client_on_screen().width(), y + bar_.thickness(false)};
  if (!bar_.float_at(client)) return;
  side_ = DockSide::floating;
  relayout();
}

void ToolbarDock::relayout() {
  // The frame's own size handling places the bars and the client, then the path field.
  const RECT c = frame_.client_rect();
  frame_.send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
  // Panes that moved and grew at once keep stale parts without a full repaint.
  RedrawWindow(frame_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ToolbarDock::place(RECT& area) {
  if (!bar_.exists()) return;
  if (side_ == DockSide::floating) {
    // The floating bar keeps the frame's width rules (a minimised frame has no width to give).
    const int width = frame_.client_rect().right;
    if (width > 0) bar_.resize_float(width, bar_.thickness(false));
    return;
  }
  const bool shown = frame_.bar_visible(ui::frame_window::kToolbarId);
  const DockLayout l = dock_layout(area.right - area.left, area.bottom - area.top, side_,
                                   shown ? bar_.thickness(is_vertical(side_)) : 0, 0);
  if (shown) bar_.move(area.left + l.bar.left, area.top + l.bar.top, l.bar.width(), l.bar.height());
  area = RECT{area.left + l.client.left, area.top + l.client.top, area.left + l.client.right,
              area.top + l.client.bottom};
}

}  // namespace kelvane
