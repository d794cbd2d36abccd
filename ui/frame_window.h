#pragma once
// The main frame: a top-level window with a menu, an optional toolbar (at the top unless the
// derived frame places it), an optional status bar at the bottom and one client window (the
// splitter) in the rest.
//
// Commands are offered to the derived frame (route_command), then to the application. While a
// menu item or toolbar button is hovered the status bar's message pane shows the command's
// prompt, otherwise "Ready".
#include <windows.h>

#include <string>

#include "res/resource_ids.h"
#include "ui/window.h"

namespace kelvane::ui {

class toolbar;
class status_bar;
class view;

class frame_window : public window {
 public:
  static constexpr int kToolbarId = ID_CTL_TOOLBAR;
  static constexpr int kStatusBarId = ID_CTL_STATUS_BAR;
  static constexpr int kIdleString = ID_STR_READY;

  // Makes the top-level window with menu and icon resources; WM_CREATE reaches OnCreate.
  bool create_frame(const std::string& title, int menu_id, int icon_id);

  virtual int OnCreate(CREATESTRUCTW*) { return 0; }
  virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
  // The window went to a monitor of another display scale (dpi dots per inch): it takes the
  // rectangle the system suggests for that scale.
  virtual void OnDpiChanged(int dpi, const RECT& suggested);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool on_command(int id) override;

  // The furniture, owned by the derived frame.
  void set_toolbar(toolbar* bar) { toolbar_ = bar; }
  void set_status_bar(status_bar* bar) { status_ = bar; }
  void set_client(window* client) { client_ = client; }
  status_bar* frame_status_bar() const { return status_; }

  // Places the bars and the client in the client area.
  void recalc_layout();
  // Shows or hides the bar with the id (the View menu's toggles).
  void toggle_bar(int id);
  bool bar_visible(int id) const;

  // The message pane: a text, or the idle text "Ready".
  void set_message(const std::string& text);
  void show_idle_message();
  void show_prompt(int command);

 protected:
  // Takes the toolbar's room from area (client coordinates, the status bar's strip already
  // taken) and places it there: at the top, unless a derived frame docks it elsewhere.
  virtual void place_toolbar(RECT& area);
  // Commands the frame did not take itself go here before the application gets them.
  virtual bool route_command(int id);
  // Sets the menu's check marks and the pressed buttons; also as a menu opens.
  virtual void update_marks() {}
  // A tooltip request (TTN_NEEDTEXT) of a toolbar button. True when answered.
  virtual bool on_tooltip(NMHDR* request);
  // The view that gets the keyboard before any view was used.
  virtual view* default_view() { return nullptr; }

 private:
  window* bar_by_id(int id) const;

  toolbar* toolbar_ = nullptr;
  status_bar* status_ = nullptr;
  window* client_ = nullptr;
};

}  // namespace kelvane::ui
