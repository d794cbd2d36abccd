#include "views/row_painter.h"

#include "base/size_format.h"

namespace kelvane {

namespace {

// Right edge of column j: the row's left edge plus the widths up to and including j.
int column_right(const RowState& row, int j) {
  int r = row.rect.left;
  for (int k = 0; k <= j && k < row.widths.count; ++k) r += row.widths.width[k];
  return r;
}

void draw_figure(Painter& p, const RowState& row, int column, int64_t bytes) {
  const Dpi dpi = row.dpi;
  const std::string text = fit_text(p, format_size(bytes, row.unit), row.widths.width[column] - dpi.px(5));
  p.text_out(column_right(row, column) - dpi.px(5), row.rect.top + dpi.px(1), TextAlign::kRight, text);
}

void draw_drive_row(Painter& p, const RowState& row) {
  const int w0 = row.widths.width[0];
  const int top = row.rect.top;
  const drive_record* d = row.drive;
  const UsageBar bar =
      usage_bar(row.rect.left, top, w0, d != nullptr ? d->used : 0, d != nullptr ? d->total : 0, row.dpi);
  p.frame_rectangle(bar.outline);
  p.fill_rect(bar.interior, kBarGrey);
  if (bar.used.right > bar.used.left) p.fill_rect(bar.used, kBarBlue);
  p.text_out(row.rect.left + row.dpi.px(5), top + row.dpi.px(1), TextAlign::kLeft,
             fit_text(p, row.text, w0 - row.dpi.px(5)));
  if (d == nullptr) return;
  const uint64_t figures[3] = {d->total, d->used, d->free};
  for (int j = 1; j <= 3 && j < row.widths.count; ++j)
    draw_figure(p, row, j, static_cast<int64_t>(figures[j - 1]));
}

void draw_file_row(Painter& p, const RowState& row) {
  const int w0 = row.widths.width[0];
  const int top = row.rect.top;
  const Dpi dpi = row.dpi;
  p.text_out(row.rect.left + dpi.px(5), top + dpi.px(1), TextAlign::kLeft,
             fit_text(p, row.text, w0 - dpi.px(20)));

  const int b = item_of_row(row.row, row.lead);
  if (!row.tree_exists || row.slices == nullptr) return;
  const slice* s = row.slices->at(b);
  if (s == nullptr || s->node == nullptr) return;
  const auto figure = static_cast<int64_t>(s->node->size.load(std::memory_order_relaxed));
  if (has_color_key(b, row.folder_size, s->span, row.tm) && row.colors != nullptr) {
    p.filled_rectangle(color_key_rect(top, w0, dpi), row.colors[b]);
  }
  if (row.widths.count > 1) draw_figure(p, row, 1, figure);
}

}  // namespace

void draw_item(Painter& painter, const RowState& row) {
  painter.set_transparent_background();
  if (row.selected) {
    painter.fill_rect(row.rect, row.highlight);
    painter.set_text_color(kSelectedText);
  } else {
    painter.fill_rect(row.rect, row.window);
    painter.set_text_color(rgb(0, 0, 0));
  }
  draw_row(painter, row);
}

void draw_row(Painter& painter, const RowState& row) {
  if (row.busy) return;
  if (row.row < 0 || row.row >= row.row_count) return;
  if (row.widths.count < 1) return;
  if (row.mode == kListDrives) {
    draw_drive_row(painter, row);
  } else {
    draw_file_row(painter, row);
  }
}

}  // namespace kelvane
