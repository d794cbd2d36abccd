#pragma once
// A view: a pane of the splitter that paints itself. WM_PAINT always begins and ends painting
// (the update region is validated even when OnDraw draws nothing), so a view that refuses to
// draw during a scan never causes a stream of repaint requests.
#include <windows.h>

#include <string>

#include "ui/window.h"

namespace kelvane::ui {

class view : public window {
 public:
  view() = default;

  // Creates the view as a child pane (the splitter calls this with its own id scheme).
  virtual bool create_view(HWND parent, int id);

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

  // Paints into the paint device context of WM_PAINT.
  virtual void OnDraw(HDC dc) { (void)dc; }
  // Window creation: 0 goes on, -1 fails the creation.
  virtual int OnCreate(CREATESTRUCTW*) { return 0; }
  virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
  // True while the pane waits for the program's work: the pointer then shows the wait cursor
  // over the pane and whatever it holds.
  virtual bool waiting() const { return false; }

  // The view that was last clicked or focused in this thread (the target of commands from
  // context menus); nullptr when none.
  static view* active();
  static void set_active(view* v);

  ~view() override;
};

// Registered class name of our views.
extern const wchar_t kViewClass[];

}  // namespace kelvane::ui
