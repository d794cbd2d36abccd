#include "ui/view.h"

#include "ui/dc.h"

namespace kelvane::ui {

const wchar_t kViewClass[] = L"kelvane.view";

namespace {
view* active_view = nullptr;
}

view::~view() {
  if (active_view == this) active_view = nullptr;
}

view* view::active() { return active_view; }
void view::set_active(view* v) { active_view = v; }

bool view::create_view(HWND parent, int id) {
  return create(kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

LRESULT view::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lp));
    case WM_SIZE:
      def_handle(msg, wp, lp);
      OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_PAINT: {
      // Painting is begun and ended even when OnDraw declines to draw, which validates the
      // region; otherwise the system would keep asking.
      paint_dc dc(hwnd());
      if (dc.get()) OnDraw(dc.get());
      return 0;
    }
    case WM_MOUSEACTIVATE:
      set_active(this);
      break;
    case WM_SETFOCUS:
      set_active(this);
      // A view that holds a control (the list) hands the keyboard on to it.
      if (HWND child = GetWindow(hwnd(), GW_CHILD)) SetFocus(child);
      break;
    case WM_SETCURSOR:
      if (waiting()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (active_view == this) active_view = nullptr;
      break;
  }
  return window::handle(msg, wp, lp);
}

}  // namespace kelvane::ui
