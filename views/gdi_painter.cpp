#include "views/gdi_painter.h"

#include "base/utf8_path.h"
#include "ui/dc.h"
#include "views/caption_band.h"

namespace kelvane {

namespace {

RECT to_rect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void GdiPainter::set_transparent_background() { SetBkMode(dc_, TRANSPARENT); }

void GdiPainter::fill_rect(const PixelRect& r, Color color) {
  const RECT rect = to_rect(r);
  const ui::brush brush = ui::solid_brush(color);
  FillRect(dc_, &rect, brush.get());
}

void GdiPainter::frame_rectangle(const PixelRect& r) {
  ui::selection hollow(dc_, GetStockObject(NULL_BRUSH));
  Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiPainter::filled_rectangle(const PixelRect& r, Color fill) {
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

SIZE GdiPainter::extent(const std::string& text) {
  const std::wstring wide = widen(text);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size)) return SIZE{0, 0};
  return size;
}

int GdiPainter::text_width(const std::string& text) { return extent(text).cx; }

int GdiPainter::text_height(const std::string& text) { return extent(text).cy; }

GdiPainter::~GdiPainter() {
  if (pen_ != nullptr || brush_ != nullptr) select_null_pen_brush();
}

void GdiPainter::caption_band(const PixelRect& client, int string_id) {
  draw_caption_band(dc_, to_rect(client), string_id, dpi_);
}

void GdiPainter::select_font(PieFont font) {
  HGDIOBJ object = nullptr;
  if (font == PieFont::kSystem) {
    object = GetStockObject(SYSTEM_FONT);
  } else {
    object = program_font_ != nullptr ? static_cast<HGDIOBJ>(program_font_) : GetStockObject(ANSI_VAR_FONT);
  }
  SelectObject(dc_, object);
}

void GdiPainter::draw_3d_rect(const PixelRect& r, Color top_left, Color bottom_right) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  fill_rect(PixelRect{r.left, r.top, r.left + w - 1, r.top + 1}, top_left);
  fill_rect(PixelRect{r.left, r.top, r.left + 1, r.top + h - 1}, top_left);
  fill_rect(PixelRect{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
  fill_rect(PixelRect{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
}

void GdiPainter::bottom_text(int x, int y, const std::string& text) {
  const std::wstring wide = widen(text);
  SetTextAlign(dc_, TA_LEFT | TA_BOTTOM);
  TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void GdiPainter::select_pen(Color color) {
  HPEN made = CreatePen(PS_SOLID, 1, color);
  SelectObject(dc_, made);
  if (pen_ != nullptr) DeleteObject(pen_);
  pen_ = made;
}

void GdiPainter::select_brush(Color color) {
  HBRUSH made = CreateSolidBrush(color);
  SelectObject(dc_, made);
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = made;
}

void GdiPainter::select_null_pen_brush() {
  // Out of the context before they are deleted.
  SelectObject(dc_, GetStockObject(NULL_BRUSH));
  SelectObject(dc_, GetStockObject(NULL_PEN));
  if (pen_ != nullptr) DeleteObject(pen_);
  if (brush_ != nullptr) DeleteObject(brush_);
  pen_ = nullptr;
  brush_ = nullptr;
}

void GdiPainter::ellipse(const PixelRect& box) {
  // The context's defaults, whatever was selected before.
  SelectObject(dc_, GetStockObject(BLACK_PEN));
  SelectObject(dc_, GetStockObject(WHITE_BRUSH));
  Ellipse(dc_, box.left, box.top, box.right, box.bottom);
}

void GdiPainter::pie(const PixelRect& box, Point from, Point to) {
  Pie(dc_, box.left, box.top, box.right, box.bottom, from.x, from.y, to.x, to.y);
}

void GdiPainter::line(Point from, Point to) {
  MoveToEx(dc_, from.x, from.y, nullptr);
  LineTo(dc_, to.x, to.y);
}

void GdiPainter::frame_box(const PixelRect& r) {
  const RECT rect = to_rect(r);
  FrameRect(dc_, &rect, brush_ != nullptr ? brush_ : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace kelvane
