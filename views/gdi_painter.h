#pragma once
// The Painter of a real device context: the row painting's calls become GDI calls.
#include <windows.h>

#include "views/row_painter.h"

namespace kelvane {

class GdiPainter : public Painter {
 public:
  explicit GdiPainter(HDC dc) : dc_(dc) {}

  void set_transparent_background() override;
  void fill_rect(const Rect& r, Color color) override;
  void frame_rectangle(const Rect& r) override;
  void filled_rectangle(const Rect& r, Color fill) override;
  void set_text_color(Color color) override;
  void text_out(int x, int y, TextAlign align, const std::string& text) override;
  int text_width(const std::string& text) override;

 private:
  HDC dc_;
};

}  // namespace kelvane
