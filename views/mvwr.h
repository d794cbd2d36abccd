#pragma once
// mvwr: the right pane of the splitter, the pie chart. This version paints the header band and
// the white chart area; the chart itself comes later. It divides the status bar's data panes
// by its own width whenever it is resized.
#include <windows.h>

#include "ui/view.h"
#include "views/view_host.h"

namespace kelvane {

class mvwr : public ui::view {
 public:
  // host: the frame whose status panes follow the view's width; may be nullptr.
  explicit mvwr(ViewHost* host);
  ~mvwr() override;

  void OnDraw(HDC dc) override;
  void OnSize(UINT type, int cx, int cy) override;

  // Fields of the chart (centre, radius, last click), all 0 until drawn.
  int dx = 0;
  int dy = 0;
  int xo = 0;
  int yo = 0;
  int rd = 0;

 private:
  ViewHost* host_;
};

}  // namespace kelvane
