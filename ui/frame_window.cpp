#include "ui/frame_window.h"

#include <commctrl.h>

#include "ui/application.h"
#include "ui/resources.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"
#include "ui/view.h"

namespace kelvane::ui {
namespace {
const wchar_t kFrameClass[] = L"kelvane.frame";
}

bool frame_window::create_frame(const std::string& title, int menu_id, int icon_id) {
  HMENU menu = LoadMenuW(instance(), MAKEINTRESOURCEW(menu_id));
  HICON icon = LoadIconW(instance(), MAKEINTRESOURCEW(icon_id));
  const bool ok = create(kFrameClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, 0,
                         CW_USEDEFAULT, 0, nullptr, menu, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
  if (!ok && menu) DestroyMenu(menu);
  return ok;
}

window* frame_window::bar_by_id(int id) const {
  if (id == kToolbarId) return toolbar_;
  if (id == kStatusBarId) return status_;
  return nullptr;
}

bool frame_window::bar_visible(int id) const {
  window* bar = bar_by_id(id);
  return bar && bar->exists() && (GetWindowLongPtrW(bar->hwnd(), GWL_STYLE) & WS_VISIBLE);
}

void frame_window::toggle_bar(int id) {
  window* bar = bar_by_id(id);
  if (!bar || !bar->exists()) return;
  const bool show = !bar_visible(id);
  bar->show(show ? SW_SHOW : SW_HIDE);
  recalc_layout();
}

void frame_window::recalc_layout() {
  if (!exists()) return;
  RECT area = client_rect();
  if (status_ && bar_visible(kStatusBarId)) {
    // The control finds its own height and place when it is told its parent changed size.
    status_->send(WM_SIZE, 0, 0);
    area.bottom -= status_->height();
    status_->layout();
  }
  place_toolbar(area);
  if (client_ && client_->exists())
    client_->move(area.left, area.top, area.right > area.left ? area.right - area.left : 0,
                  area.bottom > area.top ? area.bottom - area.top : 0);
}

void frame_window::place_toolbar(RECT& area) {
  if (!toolbar_ || !bar_visible(kToolbarId)) return;
  const RECT r = toolbar_->window_rect();
  const int width = r.right - r.left;
  const int height = toolbar_->height();
  toolbar_->move(area.left, area.top, width > 0 ? width : area.right - area.left, height);
  area.top += height;
}

void frame_window::set_message(const std::string& text) {
  if (status_) status_->set_message(text);
}

void frame_window::show_idle_message() { set_message(load_string(kIdleString)); }

void frame_window::show_prompt(int command) { set_message(command_prompt(static_cast<UINT>(command))); }

bool frame_window::on_command(int id) {
  if (route_command(id)) return true;
  application* app = application::current();
  return app && app->on_command(id);
}

bool frame_window::route_command(int id) {
  view* v = view::active();
  return v && v->on_command(id);
}

bool frame_window::on_tooltip(NMHDR* request) {
  const UINT id = static_cast<UINT>(request->idFrom);
  if (request->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(request);
    info->hinst = instance();
    info->lpszText = MAKEINTRESOURCEW(id);
    return true;
  }
  return false;
}

void frame_window::OnDpiChanged(int, const RECT& suggested) {
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT frame_window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lp));
    case WM_SIZE:
      recalc_layout();
      OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(wp);
      if (flags == 0xFFFF && lp == 0)
        show_idle_message();
      else if (flags & (MF_POPUP | MF_SEPARATOR))
        set_message(std::string());
      else
        show_prompt(LOWORD(wp));
      return 0;
    }
    case WM_SETFOCUS: {
      // The keyboard goes to the view last used, else to the first pane.
      view* target = view::active();
      if (!target) target = default_view();
      if (target && target->exists()) {
        SetFocus(target->hwnd());
        return 0;
      }
      break;
    }
    case WM_EXITMENULOOP:
      show_idle_message();
      break;
    case WM_INITMENUPOPUP:
      // The marks follow the bars and the unit whatever changed them last.
      update_marks();
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->code == TTN_GETDISPINFOW || header->code == TTN_GETDISPINFOA) {
        if (header->idFrom != 0) show_prompt(static_cast<int>(header->idFrom));
        return on_tooltip(header) ? TRUE : 0;
      }
      if (header->code == TTN_POP) {
        show_idle_message();
        return 0;
      }
      if (header->code == TBN_HOTITEMCHANGE && toolbar_ && header->hwndFrom == toolbar_->hwnd()) {
        const auto* hot = reinterpret_cast<NMTBHOTITEM*>(lp);
        if ((hot->dwFlags & HICF_LEAVING) || hot->idNew == 0)
          show_idle_message();
        else
          show_prompt(hot->idNew);
        return 0;
      }
      break;
    }
    case WM_DESTROY: {
      application* app = application::current();
      if (app && app->main_window() == this) {
        app->set_main_window(nullptr);
        PostQuitMessage(0);
      }
      break;
    }
  }
  return window::handle(msg, wp, lp);
}

}  // namespace kelvane::ui
