#include "ui/window.h"

#include <set>

#include "base/utf8_path.h"
#include "ui/resources.h"

namespace kelvane::ui {
namespace {

// The object is found through a window property rather than GWLP_USERDATA, which a
// subclassed system control may use for itself.
const wchar_t kObjectProperty[] = L"kelvane.window";

window* object_of(HWND hwnd) { return static_cast<window*>(GetPropW(hwnd, kObjectProperty)); }

bool register_class(const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon) {
  static std::set<std::wstring> registered;
  if (registered.count(name)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(name);
  return true;
}

}  // namespace

window::~window() {
  if (hwnd_) {
    HWND h = hwnd_;
    // Detached first: the derived part of this object is already gone, so the messages of
    // the destruction must not reach it.
    detach();
    if (IsWindow(h)) DestroyWindow(h);
  }
}

window* window::from_handle(HWND hwnd) { return hwnd ? object_of(hwnd) : nullptr; }

bool window::create(const wchar_t* class_name, const std::string& title, DWORD style, DWORD ex_style, int x,
                    int y, int width, int height, HWND parent, HMENU menu_or_id, HBRUSH background,
                    HICON icon) {
  if (exists()) return false;
  if (!register_class(class_name, window_proc, background, icon)) return false;
  HWND h = CreateWindowExW(ex_style, class_name, widen(title).c_str(), style, x, y, width, height, parent,
                           menu_or_id, instance(), this);
  if (!h) {
    detach();
    return false;
  }
  return true;
}

bool window::create_control(const wchar_t* system_class, const std::string& text, DWORD style, DWORD ex_style,
                            int x, int y, int width, int height, HWND parent, int id) {
  if (exists()) return false;
  HWND h = CreateWindowExW(ex_style, system_class, widen(text).c_str(), style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
  if (!h) return false;
  attach(h);
  control_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&window::control_proc)));
  return true;
}

void window::destroy() {
  if (exists()) DestroyWindow(hwnd_);
}

void window::attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropW(hwnd, kObjectProperty, this);
}

void window::detach() {
  if (!hwnd_) return;
  if (IsWindow(hwnd_)) {
    RemovePropW(hwnd_, kObjectProperty);
    if (control_proc_) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_proc_));
  }
  hwnd_ = nullptr;
  control_proc_ = nullptr;
}

LRESULT CALLBACK window::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  window* self = object_of(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) self->attach(hwnd);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->dispatch(msg, wp, lp);
}

LRESULT CALLBACK window::control_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  window* self = object_of(hwnd);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->dispatch(msg, wp, lp);
}

LRESULT window::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_NCDESTROY) return handle(msg, wp, lp);
  const LRESULT result = def_handle(msg, wp, lp);
  detach();
  on_destroyed();
  return result;
}

bool window::reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  // A menu's items (no child window) are drawn and measured by the menu itself.
  bool handled = false;
  switch (msg) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      window* child = item->CtlType == ODT_MENU ? nullptr : from_handle(item->hwndItem);
      handled = child && child != this && child->on_draw_item(*item);
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      window* child =
          item->CtlType == ODT_MENU ? nullptr : from_handle(GetDlgItem(hwnd_, static_cast<int>(item->CtlID)));
      handled = child && child != this && child->on_measure_item(*item);
      break;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      window* child = from_handle(header->hwndFrom);
      return child && child != this && child->on_notify_reflect(header, result);
    }
  }
  (void)wp;
  if (handled) result = TRUE;
  return handled;
}

LRESULT window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT reflected = 0;
  if (reflect(msg, wp, lp, reflected)) return reflected;
  // Menus, accelerators and buttons (code 0 or 1); notifications of edit fields and the like
  // carry other codes and are not commands.
  if (msg == WM_COMMAND && HIWORD(wp) <= 1 && on_command(LOWORD(wp))) return 0;
  return def_handle(msg, wp, lp);
}

LRESULT window::def_handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (control_proc_) return CallWindowProcW(control_proc_, hwnd_, msg, wp, lp);
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

RECT window::client_rect() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r;
}

RECT window::window_rect() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return r;
}

void window::move(int x, int y, int width, int height, bool repaint) {
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, repaint);
}

void window::invalidate(bool erase) {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, erase);
}

void window::show(int how) {
  if (hwnd_) ShowWindow(hwnd_, how);
}

std::string window::text() const {
  if (!hwnd_) return std::string();
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd_, buffer.data(), length + 1);
  return narrow(buffer.c_str(), got);
}

void window::set_text(const std::string& text) {
  if (hwnd_) SetWindowTextW(hwnd_, widen(text).c_str());
}

void window::set_font(HFONT font, bool redraw) {
  if (hwnd_) send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HFONT window::font() const { return hwnd_ ? reinterpret_cast<HFONT>(send(WM_GETFONT)) : nullptr; }

}  // namespace kelvane::ui
