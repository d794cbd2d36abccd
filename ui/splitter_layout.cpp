#include "ui/splitter_layout.h"

#include <algorithm>

namespace kelvane {

SplitterLayout splitter_layout(int client_width, int client_height, int column0_width, int column0_min,
                               Dpi dpi) {
  const int gap = dpi.px(kSplitterGap);
  const int inner = clamp_width(client_width - 2 * kSplitterBorder);
  const int bottom = kSplitterBorder + clamp_width(client_height - 2 * kSplitterBorder);
  const int widest = clamp_width(inner - gap);
  const int w0 = std::clamp(std::max(column0_width, column0_min), 0, widest);
  SplitterLayout l;
  l.pane0 = PixelRect{kSplitterBorder, kSplitterBorder, kSplitterBorder + w0, bottom};
  l.bar = PixelRect{l.pane0.right, kSplitterBorder, std::min(l.pane0.right + gap, kSplitterBorder + inner),
                    bottom};
  l.pane1 = PixelRect{l.bar.right, kSplitterBorder, std::max(l.bar.right, kSplitterBorder + inner), bottom};
  return l;
}

int splitter_column_for_drag(int x, int client_width, int column0_min, Dpi dpi) {
  const int gap = dpi.px(kSplitterGap);
  const int widest = clamp_width(client_width - 2 * kSplitterBorder - gap);
  return std::clamp(x - kSplitterBorder - gap / 2, std::min(column0_min, widest), widest);
}

}  // namespace kelvane
