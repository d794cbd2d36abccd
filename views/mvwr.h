#pragma once
// mvwr: the right pane of the splitter, the pie chart of the current folder. It paints the
// header band, the chart area and the pie (views/pie_painter.h), divides the status bar's data
// panes by its own width whenever it is resized, turns clicks on the disc into the actions of
// views/pie_actions.h and shows a tooltip for the slice under the pointer. The slice table is
// the left view's, handed in by the frame that makes both.
#include <windows.h>

#include <string>

#include "ui/view.h"
#include "views/pie_actions.h"
#include "views/pie_tooltip.h"
#include "views/view_host.h"

namespace kelvane {

class mvwl;

class mvwr : public ui::view, private PieHost, public PieActions {
 public:
  // host: the frame whose status panes follow the view's width; left: the list beside the pie,
  // whose slice table it draws. Either may be nullptr.
  mvwr(ViewHost* host, mvwl* left);
  ~mvwr() override;

  int OnCreate(CREATESTRUCTW* cs) override;
  void OnDraw(HDC dc) override;
  void OnSize(UINT type, int cx, int cy) override;
  bool waiting() const override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

  // The context-menu request at a screen point ((-1, -1) from the keyboard); false when it
  // lay off the disc and nothing was done.
  bool OnContextMenu(POINT screen);
  // The slice tooltip's window (its font follows the display scale).
  HWND tooltip_window() const { return tip_.hwnd(); }

 private:
  // PieHost
  const SliceTable* slice_table() override;
  FolderHost* folder_host() override;
  void select_only_row(int row) override;
  void delete_selection() override;

  ViewHost* host_;
  mvwl* left_;
  PieTooltip tip_;
};

}  // namespace kelvane
