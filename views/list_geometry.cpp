#include "views/list_geometry.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "views/slice.h"

namespace kelvane {

namespace {

bool name_matches(const std::string& name, const std::string& prefix, bool partial) {
  if (name.size() < prefix.size() || (!partial && name.size() != prefix.size())) return false;
  return same_ascii_letters(std::string_view(name).substr(0, prefix.size()), prefix);
}

}  // namespace

const ListColumns& list_columns(int mode) {
  static constexpr ListColumns kDrives{4,
                                       4,
                                       {{"Name", ColumnAlign::kCenter},
                                        {"Size", ColumnAlign::kRight},
                                        {"Used", ColumnAlign::kRight},
                                        {"Free", ColumnAlign::kRight}}};
  static constexpr ListColumns kFiles{2, 3, {{"Name", ColumnAlign::kCenter}, {"Size", ColumnAlign::kRight}}};
  return mode == kListDrives ? kDrives : kFiles;
}

ColumnWidths column_widths(int mode, int width, bool has_vscroll, int scroll_width) {
  int w = width;
  if (has_vscroll) w -= scroll_width;
  const ListColumns& columns = list_columns(mode);
  const int figure = w / columns.divisor;
  ColumnWidths c;
  c.count = columns.count;
  c.width[0] = w - (columns.count - 1) * figure;
  for (int j = 1; j < columns.count; ++j) c.width[j] = figure;
  return c;
}

UsageBar usage_bar(int left, int top, int w0, uint64_t used, uint64_t total, Dpi dpi) {
  UsageBar bar;
  // The outline is a one-pixel pen line at every scale: the interior starts one pixel inside.
  bar.outline = {left + dpi.px(20), top + dpi.px(2), w0 - dpi.px(5), top + dpi.px(13)};
  bar.interior = {bar.outline.left + 1, bar.outline.top + 1, bar.outline.right - 1, bar.outline.bottom - 1};
  bar.used = {bar.interior.left, bar.interior.top, bar.interior.left, bar.interior.bottom};
  const auto t = static_cast<int64_t>(total);
  if (t > 0) {
    const int64_t inner = bar.interior.right - bar.interior.left;
    // 64-bit all the way: used times a few hundred pixels overflows 32 bits on any real disk.
    bar.used.right = bar.interior.left + static_cast<int>(static_cast<int64_t>(used) * inner / t);
  }
  return bar;
}

PixelRect color_key_rect(int top, int w0, Dpi dpi) {
  return {w0 - dpi.px(15), top + dpi.px(2), w0 - dpi.px(5), top + dpi.px(13)};
}

bool has_color_key(int b, int64_t folder_size, double span, int tm) {
  // A folder of size 0 gives spans of 0/0; the comparison below is false for them anyway,
  // but the size test says why no key is drawn.
  return b >= 0 && b < 16 && folder_size > 0 && wide_slice(span, tm);
}

int find_row(int count, int start, const std::string& prefix, bool partial, bool wrap,
             const std::function<std::string(int)>& name) {
  if (count <= 0 || prefix.empty()) return -1;
  const int first = std::clamp(start, 0, count);
  for (int r = first; r < count; ++r) {
    if (name_matches(name(r), prefix, partial)) return r;
  }
  if (wrap) {
    for (int r = 0; r < first; ++r) {
      if (name_matches(name(r), prefix, partial)) return r;
    }
  }
  return -1;
}

}  // namespace kelvane
