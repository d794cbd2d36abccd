#include "views/gdi_painter.h"

#include "base/utf8_path.h"
#include "ui/dc.h"

namespace kelvane {

namespace {

RECT to_rect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void GdiPainter::set_transparent_background() { SetBkMode(dc_, TRANSPARENT); }

void GdiPainter::fill_rect(const Rect& r, Color color) {
  const RECT rect = to_rect(r);
  const ui::brush brush = ui::solid_brush(color);
  FillRect(dc_, &rect, brush.get());
}

void GdiPainter::frame_rectangle(const Rect& r) {
  ui::selection hollow(dc_, GetStockObject(NULL_BRUSH));
  Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiPainter::filled_rectangle(const Rect& r, Color fill) {
  // Declared in this order, the brush leaves the context before it is deleted.
  const ui::brush brush = ui::solid_brush(fill);
  ui::selection filled(dc_, brush.get());
  Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiPainter::set_text_color(Color color) { SetTextColor(dc_, color); }

void GdiPainter::text_out(int x, int y, TextAlign align, const std::string& text) {
  const std::wstring wide = widen(text);
  SetTextAlign(dc_, (align == TextAlign::kRight ? TA_RIGHT : TA_LEFT) | TA_TOP);
  TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

int GdiPainter::text_width(const std::string& text) {
  const std::wstring wide = widen(text);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size)) return 0;
  return size.cx;
}

}  // namespace kelvane
