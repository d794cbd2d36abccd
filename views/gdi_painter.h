#pragma once
// The Painter of a real device context: the row painting's and the pie's calls become GDI
// calls. A pen or brush made for the pie is released when the next one replaces it, at
// select_null_pen_brush() or at the latest when the painter goes.
#include <windows.h>

#include "views/pie_painter.h"

namespace kelvane {

class GdiPainter : public PiePainter {
 public:
  // program_font: the font of the pie's labels; nullptr selects ANSI_VAR_FONT.
  // dpi: the display scale of the window painted (the caption band's height).
  explicit GdiPainter(HDC dc, HFONT program_font = nullptr, Dpi dpi = {})
      : dc_(dc), program_font_(program_font), dpi_(dpi) {}
  ~GdiPainter() override;
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  void set_transparent_background() override;
  void fill_rect(const PixelRect& r, Color color) override;
  void frame_rectangle(const PixelRect& r) override;
  void filled_rectangle(const PixelRect& r, Color fill) override;
  void set_text_color(Color color) override;
  void text_out(int x, int y, TextAlign align, const std::string& text) override;
  int text_width(const std::string& text) override;

  int text_height(const std::string& text) override;
  void caption_band(const PixelRect& client, int string_id) override;
  void select_font(PieFont font) override;
  void draw_3d_rect(const PixelRect& r, Color top_left, Color bottom_right) override;
  void bottom_text(int x, int y, const std::string& text) override;
  void select_pen(Color color) override;
  void select_brush(Color color) override;
  void select_null_pen_brush() override;
  void ellipse(const PixelRect& box) override;
  void pie(const PixelRect& box, Point from, Point to) override;
  void line(Point from, Point to) override;
  void frame_box(const PixelRect& r) override;

 private:
  SIZE extent(const std::string& text);

  HDC dc_;
  HFONT program_font_;
  Dpi dpi_;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
};

}  // namespace kelvane
