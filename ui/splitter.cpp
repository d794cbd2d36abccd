#include "ui/splitter.h"

#include <windowsx.h>

#include "ui/dc.h"
#include "ui/splitter_layout.h"
#include "ui/window_dpi.h"

namespace kelvane::ui {
namespace {
const wchar_t kSplitterClass[] = L"kelvane.splitter";
}

bool splitter::create_static(HWND parent, int id) {
  return create(kSplitterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

bool splitter::create_view(int row, int column, std::unique_ptr<view> pane) {
  if (row != 0 || column < 0 || column >= kColumns || !pane || !exists()) return false;
  // Pane ids follow the first pane's id by row * 16 + column.
  if (!pane->create_view(hwnd(), id() + row * 16 + column)) return false;
  panes_[column] = std::move(pane);
  layout();
  return true;
}

view* splitter::pane(int row, int column) const {
  if (row != 0 || column < 0 || column >= kColumns) return nullptr;
  return panes_[column].get();
}

void splitter::set_column_info(int column, int ideal, int minimum) {
  if (column != 0) return;  // column 1 always takes the rest
  ideal_ = ideal;
  minimum_ = minimum;
  layout();
}

int splitter::column_width(int column) const {
  if (column < 0 || column >= kColumns || !panes_[column] || !panes_[column]->exists()) return 0;
  const RECT r = panes_[column]->client_rect();
  return r.right - r.left;
}

void splitter::layout() {
  if (!exists()) return;
  const RECT client = client_rect();
  const SplitterLayout l =
      splitter_layout(client.right, client.bottom, ideal_, minimum_, dpi_of_window(hwnd()));
  const PixelRect* places[kColumns] = {&l.pane0, &l.pane1};
  for (int c = 0; c < kColumns; ++c) {
    if (panes_[c] && panes_[c]->exists())
      panes_[c]->move(places[c]->left, places[c]->top, places[c]->width(), places[c]->height());
  }
  invalidate();
}

bool splitter::over_bar(int x) const {
  const RECT client = client_rect();
  const SplitterLayout l =
      splitter_layout(client.right, client.bottom, ideal_, minimum_, dpi_of_window(hwnd()));
  return x >= l.bar.left && x < l.bar.right;
}

LRESULT splitter::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      layout();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd()) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (over_bar(p.x)) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN:
      if (over_bar(GET_X_LPARAM(lp))) {
        dragging_ = true;
        SetCapture(hwnd());
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        const RECT client = client_rect();
        ideal_ = splitter_column_for_drag(GET_X_LPARAM(lp), client.right, minimum_, dpi_of_window(hwnd()));
        layout();
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    case WM_PAINT: {
      paint_dc dc(hwnd());
      if (dc.get()) {
        const RECT client = client_rect();
        const SplitterLayout l =
            splitter_layout(client.right, client.bottom, ideal_, minimum_, dpi_of_window(hwnd()));
        RECT bar{l.bar.left, l.bar.top, l.bar.right, l.bar.bottom};
        FillRect(dc.get(), &bar, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc.get(), &bar, BDR_RAISEDINNER, BF_LEFT | BF_RIGHT);
      }
      return 0;
    }
  }
  return window::handle(msg, wp, lp);
}

void splitter::on_destroyed() {
  // The views' windows went with ours; the objects go now.
  for (auto& p : panes_) p.reset();
}

}  // namespace kelvane::ui
