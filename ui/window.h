#pragma once
// The window base of our framework layer: one C++ object per window, every message of that
// window arriving in its virtual handle(). Controls of the system (list, edit, toolbar, ...)
// are subclassed, so a derived control sees its own messages too and passes what it does not
// want to the control's own procedure through def_handle().
//
// Notifications that the system sends to a parent about a child (WM_DRAWITEM, WM_MEASUREITEM,
// WM_NOTIFY) are handed back to the child's object first (on_draw_item, on_measure_item,
// on_notify_reflect), so an owner-drawn control paints itself wherever it is placed.
#include <windows.h>

#include <string>

namespace kelvane::ui {

class window {
 public:
  window() = default;
  virtual ~window();
  window(const window&) = delete;
  window& operator=(const window&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  // The object behind a window made by this layer, or nullptr.
  static window* from_handle(HWND hwnd);

  // Creates a window of one of our own classes (registered on first use with the given
  // cursor, background brush and icon). menu_or_id: the menu of a top-level window or the
  // child id of a child window.
  bool create(const wchar_t* class_name, const std::string& title, DWORD style, DWORD ex_style, int x, int y,
              int width, int height, HWND parent, HMENU menu_or_id, HBRUSH background = nullptr,
              HICON icon = nullptr);
  // Creates a control of a system class (WC_LISTVIEWW, WC_EDITW, ...) and subclasses it.
  bool create_control(const wchar_t* system_class, const std::string& text, DWORD style, DWORD ex_style,
                      int x, int y, int width, int height, HWND parent, int id);
  void destroy();

  // The message dispatch. Derived classes handle what they need and pass the rest on.
  virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

  // A command (menu, button, accelerator) that reached this window. True when handled;
  // the frame offers unhandled commands to the views and then to the application.
  virtual bool on_command(int id) {
    (void)id;
    return false;
  }

  // The application's main window sees every message of the thread's loop here first; true
  // swallows it.
  virtual bool pre_translate(MSG& msg) {
    (void)msg;
    return false;
  }

  LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageW(hwnd_, msg, wp, lp); }
  int id() const { return GetDlgCtrlID(hwnd_); }
  RECT client_rect() const;
  RECT window_rect() const;  // screen coordinates
  void move(int x, int y, int width, int height, bool repaint = true);
  void invalidate(bool erase = true);
  void show(int how = SW_SHOW);
  bool visible() const { return exists() && IsWindowVisible(hwnd_); }
  std::string text() const;  // UTF-8, never cut
  void set_text(const std::string& text);
  void set_font(HFONT font, bool redraw = true);
  HFONT font() const;

 protected:
  // What the window would do without us: the class's own procedure or DefWindowProc.
  LRESULT def_handle(UINT msg, WPARAM wp, LPARAM lp);

  // Reflected from the parent; true when this control drew / measured / answered.
  virtual bool on_draw_item(const DRAWITEMSTRUCT& item) {
    (void)item;
    return false;
  }
  virtual bool on_measure_item(MEASUREITEMSTRUCT& item) {
    (void)item;
    return false;
  }
  virtual bool on_notify_reflect(NMHDR* header, LRESULT& result) {
    (void)header;
    (void)result;
    return false;
  }

  // The window is gone (after WM_NCDESTROY); the object stays and may be made again.
  virtual void on_destroyed() {}

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK control_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
  bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void attach(HWND hwnd);
  void detach();

  HWND hwnd_ = nullptr;
  WNDPROC control_proc_ = nullptr;  // the system class's procedure of a subclassed control
};

}  // namespace kelvane::ui
