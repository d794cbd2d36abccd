#pragma once
// The status bar's folder and size panes, re-divided from the width of the pie view whenever
// it is resized.

namespace kelvane {

struct PaneWidths {
  int folder = 0;
  int size = 0;
};
PaneWidths pie_pane_widths(int pie_width, bool maximized, int cx_hscroll, int cx_dlgframe);

}  // namespace kelvane
