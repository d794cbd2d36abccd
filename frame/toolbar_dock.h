#pragma once
// Where the main frame's toolbar sits: docked on a side of the frame (at the top at first) or
// floating. It answers the bar's drag with the rules of dock_layout and gives the bar its room
// when the frame lays itself out.
#include <windows.h>

#include "frame/dock_layout.h"
#include "ui/dock_bar.h"
#include "ui/frame_window.h"

namespace kelvane {

class ToolbarDock : public ui::dock_host {
 public:
  ToolbarDock(ui::frame_window& frame, ui::dock_bar& bar) : frame_(frame), bar_(bar) {}

  DockSide side() const { return side_; }
  // Docks the bar on a side of the frame (not floating) and lays the frame out again.
  void dock(DockSide side);
  // Floats the bar with its window's client area at (x, y) on the screen.
  void float_at(int x, int y);
  // The frame's layout step: the bar's room taken from area, the bar placed in it.
  void place(RECT& area);

  RECT drop_outline(POINT pointer, POINT grab) override;
  void drop(POINT pointer, POINT grab) override;
  void dock_default() override { dock(DockSide::top); }

 private:
  PixelRect frame_client_on_screen() const;
  PixelRect float_client_for(POINT pointer, POINT grab) const;
  int status_height() const;
  void relayout();

  ui::frame_window& frame_;
  ui::dock_bar& bar_;
  DockSide side_ = DockSide::top;
};

}  // namespace kelvane
