#include "frame/frame_layout.h"

namespace kelvane {

PixelRect default_frame_rect(Dpi dpi) {
  const Settings defaults;
  return stored_frame_rect(defaults, dpi);
}

PixelRect stored_frame_rect(const Settings& s, Dpi dpi) {
  return PixelRect{dpi.px(s.yo), dpi.px(s.xo), dpi.px(s.xs), dpi.px(s.ys)};
}

bool rect_is_visible(const PixelRect& rect, const std::vector<PixelRect>& monitors) {
  if (rect.empty()) return false;
  for (const PixelRect& m : monitors) {
    if (rect.left < m.right && m.left < rect.right && rect.top < m.bottom && m.top < rect.bottom) return true;
  }
  return false;
}

PixelRect frame_placement(const Settings& settings, const std::vector<PixelRect>& monitors, Dpi dpi) {
  const PixelRect stored = stored_frame_rect(settings, dpi);
  return rect_is_visible(stored, monitors) ? stored : default_frame_rect(dpi);
}

PixelRect fit_into_work_area(const PixelRect& rect, const std::vector<PixelRect>& work_areas) {
  const PixelRect* best = nullptr;
  long long best_overlap = 0;
  for (const PixelRect& w : work_areas) {
    const long long dx = std::min(rect.right, w.right) - std::max(rect.left, w.left);
    const long long dy = std::min(rect.bottom, w.bottom) - std::max(rect.top, w.top);
    if (dx > 0 && dy > 0 && dx * dy > best_overlap) {
      best_overlap = dx * dy;
      best = &w;
    }
  }
  if (best == nullptr) return rect;
  PixelRect fit = rect;
  if (rect.width() > best->width()) {
    fit.left = best->left;
    fit.right = best->right;
  }
  if (rect.height() > best->height()) {
    fit.top = best->top;
    fit.bottom = best->bottom;
  }
  return fit;
}

int toolbar_width(int client_width) { return client_width + 2; }

int separator_width(int client_width, Dpi dpi) { return clamp_width(client_width - dpi.px(175)); }

PixelRect path_field_rect(const PixelRect& button5, int font_height, int client_width, Dpi dpi) {
  const int middle = button5.top + (button5.bottom - button5.top) / 2;
  const int half = (dpi.px(10) - font_height) / 2;
  PixelRect field;
  field.left = button5.right + dpi.px(2);
  field.top = middle - half;
  field.right = field.left + clamp_width((client_width - dpi.px(40)) - field.left);
  field.bottom = field.top + clamp_width(2 * half);
  return field;
}

bool needs_button_resize(const PixelRect& button5) { return button5.top == 0; }

int button_height(const PixelRect& button5, int image, Dpi dpi) {
  return dpi.px(button5.height() - image + kButtonImage);
}

int folder_pane_width(int xs, Dpi dpi) { return clamp_width(dpi.px(xs - 435)); }

bool is_rescan_key(unsigned virtual_key) { return virtual_key == 0x0D || virtual_key == 0x74; }

}  // namespace kelvane
