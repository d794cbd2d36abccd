#include "frame/frame_layout.h"

#include <algorithm>

#include "res/resource_ids.h"

namespace kelvane {

int clamp_width(int width) { return width < 0 ? 0 : width; }

PixelRect default_frame_rect() {
  const Settings defaults;
  return stored_frame_rect(defaults);
}

PixelRect stored_frame_rect(const Settings& s) { return PixelRect{s.yo, s.xo, s.xs, s.ys}; }

bool rect_is_visible(const PixelRect& rect, const std::vector<PixelRect>& monitors) {
  if (rect.empty()) return false;
  for (const PixelRect& m : monitors) {
    if (rect.left < m.right && m.left < rect.right && rect.top < m.bottom && m.top < rect.bottom) return true;
  }
  return false;
}

PixelRect frame_placement(const Settings& settings, const std::vector<PixelRect>& monitors) {
  const PixelRect stored = stored_frame_rect(settings);
  return rect_is_visible(stored, monitors) ? stored : default_frame_rect();
}

int toolbar_width(int client_width) { return client_width + 2; }

int separator_width(int client_width) { return clamp_width(client_width - 175); }

PixelRect path_field_rect(const PixelRect& button5, int font_height, int client_width) {
  const int middle = button5.top + (button5.bottom - button5.top) / 2;
  const int half = (10 - font_height) / 2;
  PixelRect field;
  field.left = button5.right + 2;
  field.top = middle - half;
  field.right = field.left + clamp_width((client_width - 40) - field.left);
  field.bottom = field.top + clamp_width(2 * half);
  return field;
}

bool needs_button_resize(const PixelRect& button5) { return button5.top == 0; }

int folder_pane_width(int xs) { return clamp_width(xs - 435); }

PaneWidths pie_pane_widths(int pie_width, bool maximized, int cx_hscroll, int cx_dlgframe) {
  int w = pie_width;
  if (maximized) w += cx_hscroll;
  w += cx_dlgframe - 2 * cx_hscroll;
  return PaneWidths{clamp_width(3 * w / 4), clamp_width(w / 4)};
}

int unit_command(int unit) { return ID_CMD_UNIT_BYTES + std::clamp(unit, 0, 4); }

bool is_rescan_key(unsigned virtual_key) { return virtual_key == 0x0D || virtual_key == 0x74; }

bool path_starts_scan(const std::string& text) {
  // Characters, not bytes: the field's text is UTF-8, and one accented letter is two bytes.
  size_t characters = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++characters > 1) return true;
  }
  return false;
}

SplitterLayout splitter_layout(int client_width, int client_height, int column0_width, int column0_min) {
  const int inner = clamp_width(client_width - 2 * kSplitterBorder);
  const int bottom = kSplitterBorder + clamp_width(client_height - 2 * kSplitterBorder);
  const int widest = clamp_width(inner - kSplitterGap);
  const int w0 = std::clamp(std::max(column0_width, column0_min), 0, widest);
  SplitterLayout l;
  l.pane0 = PixelRect{kSplitterBorder, kSplitterBorder, kSplitterBorder + w0, bottom};
  l.bar = PixelRect{l.pane0.right, kSplitterBorder,
                    std::min(l.pane0.right + kSplitterGap, kSplitterBorder + inner), bottom};
  l.pane1 = PixelRect{l.bar.right, kSplitterBorder, std::max(l.bar.right, kSplitterBorder + inner), bottom};
  return l;
}

int splitter_column_for_drag(int x, int client_width, int column0_min) {
  const int widest = clamp_width(client_width - 2 * kSplitterBorder - kSplitterGap);
  return std::clamp(x - kSplitterBorder - kSplitterGap / 2, std::min(column0_min, widest), widest);
}

}  // namespace kelvane
