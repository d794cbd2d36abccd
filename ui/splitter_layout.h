#pragma once
// The static splitter's geometry as plain functions (ui/splitter.h places the panes with them):
// one row, two columns, a 1-pixel border inside the client, a 5-pixel gap with the draggable
// bar in it (the gap is written for 96 DPI and follows the display scale). Column 0 keeps its width (clamped
// into the client); column 1 takes the rest.
#include "base/dpi.h"
#include "ui/pixel_rect.h"

namespace kelvane {

struct SplitterLayout {
  PixelRect pane0;
  PixelRect bar;
  PixelRect pane1;
};
constexpr int kSplitterBorder = 1;
constexpr int kSplitterGap = 5;
SplitterLayout splitter_layout(int client_width, int client_height, int column0_width, int column0_min,
                               Dpi dpi = {});
// The column 0 width that puts the middle of the bar under x while dragging.
int splitter_column_for_drag(int x, int client_width, int column0_min, Dpi dpi = {});

}  // namespace kelvane
