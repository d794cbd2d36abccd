#include "views/pane_widths.h"

#include "ui/pixel_rect.h"

namespace kelvane {

PaneWidths pie_pane_widths(int pie_width, bool maximized, int cx_hscroll, int cx_dlgframe) {
  int w = pie_width;
  if (maximized) w += cx_hscroll;
  w += cx_dlgframe - 2 * cx_hscroll;
  return PaneWidths{clamp_width(3 * w / 4), clamp_width(w / 4)};
}

}  // namespace kelvane
