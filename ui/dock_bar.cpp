#include "ui/dock_bar.h"

#include <windowsx.h>

#include <cstdlib>

#include "ui/window_dpi.h"

namespace kelvane::ui {
namespace {

// A frame of inverted pixels: drawn twice, it is gone again.
void invert_frame(HDC dc, const RECT& r) {
  const int t = 3;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  PatBlt(dc, r.left, r.top, w, t, DSTINVERT);
  PatBlt(dc, r.left, r.bottom - t, w, t, DSTINVERT);
  PatBlt(dc, r.left, r.top + t, t, h - 2 * t, DSTINVERT);
  PatBlt(dc, r.right - t, r.top + t, t, h - 2 * t, DSTINVERT);
}

}  // namespace

dock_bar::~dock_bar() {
  // Gone before the floating window it may sit in, while this object still answers it.
  destroy();
}

void dock_bar::enable_docking(dock_host* host) {
  if (!exists()) return;
  host_ = host;
  frame_ = GetParent(hwnd());
  send(TB_SETPARENT, reinterpret_cast<WPARAM>(frame_));
  margin_ = height() - button_size().cy;
  set_indent(gripper());
}

void dock_bar::set_vertical(bool vertical) {
  if (vertical == vertical_) return;
  vertical_ = vertical;
  set_indent(vertical ? 0 : gripper());
  set_stacked(vertical);
  // The vertical bar's gripper lies in its non-client area, above the buttons.
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void dock_bar::dock(bool vertical) {
  if (!exists() || !frame_) return;
  set_vertical(vertical);
  if (floating_) {
    floating_ = false;
    SetParent(hwnd(), frame_);
    float_.show(SW_HIDE);
  }
}

bool dock_bar::float_at(const RECT& client) {
  if (!exists() || !frame_) return false;
  if (!float_.exists() && !float_.create(frame_, this)) return false;
  set_vertical(false);
  RECT outer = client;
  AdjustWindowRectEx(&outer, float_window::kStyle, FALSE, float_window::kExStyle);
  SetWindowPos(float_.hwnd(), HWND_TOP, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOACTIVATE);
  if (!floating_) {
    SetParent(hwnd(), float_.hwnd());
    floating_ = true;
  }
  move(0, 0, client.right - client.left + 2, client.bottom - client.top);
  if (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) float_.show(SW_SHOWNA);
  return true;
}

void dock_bar::resize_float(int width, int height) {
  if (!float_.exists()) return;
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, float_window::kStyle, FALSE, float_window::kExStyle);
  SetWindowPos(float_.hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT dock_bar::float_insets() const {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, float_window::kStyle, FALSE, float_window::kExStyle);
  return RECT{-r.left, -r.top, r.right, r.bottom};
}

int dock_bar::gripper() const { return dpi_of_window(hwnd()).px(kGripper); }

void dock_bar::rescale_gripper() {
  if (!vertical_) set_indent(gripper());
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int dock_bar::thickness(bool vertical) const {
  const SIZE button = button_size();
  return (vertical ? button.cx : button.cy) + margin_;
}

void dock_bar::begin_drag(HWND capture, POINT screen) {
  if (!host_ || capture_) return;
  const RECT r = window_rect();
  capture_ = capture;
  start_ = screen;
  grab_ = POINT{screen.x - r.left, screen.y - r.top};
  moved_ = false;
  SetCapture(capture);
}

bool dock_bar::track(HWND capture, UINT msg, LPARAM lp) {
  if (!capture_ || capture != capture_) return false;
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_MOUSEMOVE:
      ClientToScreen(capture, &p);
      if (GetKeyState(VK_ESCAPE) < 0) {
        end_drag(false, p);
        return true;
      }
      if (!moved_ && !far_from_start(p)) return true;
      moved_ = true;
      {
        const RECT outline = host_->drop_outline(p, grab_);
        show_outline(&outline);
      }
      return true;
    case WM_LBUTTONUP:
      // Judged by the release too: the moves before it may have been merged away.
      ClientToScreen(capture, &p);
      end_drag(moved_ || far_from_start(p), p);
      return true;
    case WM_RBUTTONDOWN:
      end_drag(false, p);
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != capture_) end_drag(false, p);
      return true;
  }
  return false;
}

bool dock_bar::far_from_start(POINT screen) const {
  // A click that hardly moves is no drag.
  return std::abs(screen.x - start_.x) > GetSystemMetrics(SM_CXDRAG) ||
         std::abs(screen.y - start_.y) > GetSystemMetrics(SM_CYDRAG);
}

void dock_bar::end_drag(bool drop, POINT screen) {
  HWND capture = capture_;
  capture_ = nullptr;
  show_outline(nullptr);
  if (GetCapture() == capture) ReleaseCapture();
  if (drop && host_) host_->drop(screen, grab_);
}

void dock_bar::caption_double_clicked() {
  if (host_ && !capture_) host_->dock_default();
}

void dock_bar::show_outline(const RECT* rect) {
  if (!rect && !outline_shown_) return;
  if (rect && outline_shown_ && EqualRect(rect, &outline_)) return;
  HDC dc = GetDC(nullptr);
  if (!dc) return;
  if (outline_shown_) invert_frame(dc, outline_);
  outline_shown_ = rect != nullptr;
  if (rect) {
    outline_ = *rect;
    invert_frame(dc, outline_);
  }
  ReleaseDC(nullptr, dc);
}

void dock_bar::draw_gripper(HDC dc, RECT strip) const {
  // Two raised ridges along the strip, their places and widths at the bar's scale.
  const Dpi dpi = dpi_of_window(hwnd());
  for (int i = 0; i < 2; ++i) {
    RECT ridge = strip;
    if (vertical_) {
      ridge.left += dpi.px(2);
      ridge.right -= dpi.px(2);
      ridge.top += dpi.px(1 + 3 * i);
      ridge.bottom = ridge.top + dpi.px(3);
    } else {
      ridge.top += dpi.px(2);
      ridge.bottom -= dpi.px(2);
      ridge.left += dpi.px(1 + 3 * i);
      ridge.right = ridge.left + dpi.px(3);
    }
    DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
  }
}

LRESULT dock_bar::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (!host_) return toolbar::handle(msg, wp, lp);
  switch (msg) {
    case WM_LBUTTONDOWN: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (button_at(p) >= 0) break;
      ClientToScreen(hwnd(), &p);
      begin_drag(hwnd(), p);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
      if (track(hwnd(), msg, lp)) return 0;
      break;
    case WM_NCHITTEST:
      if (vertical_) {
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const RECT r = window_rect();
        if (PtInRect(&r, p) && p.y < r.top + gripper()) return HTCAPTION;
      }
      break;
    case WM_NCLBUTTONDOWN:
      if (wp == HTCAPTION) {
        begin_drag(hwnd(), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
      }
      break;
    case WM_NCCALCSIZE: {
      const LRESULT result = toolbar::handle(msg, wp, lp);
      if (vertical_) {
        // The first rectangle of either form of the message is the client area.
        RECT* client = reinterpret_cast<RECT*>(lp);
        const int strip = gripper();
        client->top = client->top + strip < client->bottom ? client->top + strip : client->bottom;
      }
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = toolbar::handle(msg, wp, lp);
      if (vertical_) {
        if (HDC dc = GetWindowDC(hwnd())) {
          const RECT r = window_rect();
          RECT strip{0, 0, r.right - r.left, gripper()};
          FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
          draw_gripper(dc, strip);
          ReleaseDC(hwnd(), dc);
        }
      }
      return result;
    }
    case WM_PAINT: {
      const LRESULT result = toolbar::handle(msg, wp, lp);
      if (!vertical_) {
        if (HDC dc = GetDC(hwnd())) {
          const RECT r = client_rect();
          draw_gripper(dc, RECT{0, 0, gripper(), r.bottom});
          ReleaseDC(hwnd(), dc);
        }
      }
      return result;
    }
    case WM_SHOWWINDOW:
      // Shown or hidden by the bar's command: the floating window goes with it.
      if (lp == 0 && floating_ && float_.exists()) float_.show(wp ? SW_SHOWNA : SW_HIDE);
      break;
  }
  return toolbar::handle(msg, wp, lp);
}

}  // namespace kelvane::ui
