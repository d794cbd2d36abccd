#include "ui/float_window.h"

#include <windowsx.h>

namespace kelvane::ui {

bool float_window::create(HWND owner, float_host* bar) {
  bar_ = bar;
  return window::create(L"kelvane.float", "", kStyle, kExStyle, 0, 0, 0, 0, owner, nullptr,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

LRESULT float_window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (bar_) {
    switch (msg) {
      case WM_NCLBUTTONDOWN:
        // Our own drag rather than the system's move, so a drop near the frame docks the bar.
        if (wp == HTCAPTION) {
          bar_->begin_drag(hwnd(), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
          return 0;
        }
        break;
      case WM_NCLBUTTONDBLCLK:
        if (wp == HTCAPTION) {
          bar_->caption_double_clicked();
          return 0;
        }
        break;
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP:
      case WM_RBUTTONDOWN:
      case WM_CAPTURECHANGED:
        if (bar_->track(hwnd(), msg, lp)) return 0;
        break;
      case WM_CLOSE:
        // The close box is the bar's hide command, so the View menu's check follows.
        if (HWND owner = GetWindow(hwnd(), GW_OWNER))
          SendMessageW(owner, WM_COMMAND, MAKEWPARAM(bar_->hide_command(), 0), 0);
        return 0;
    }
  }
  return window::handle(msg, wp, lp);
}

}  // namespace kelvane::ui
