#pragma once
// Painting the pie chart pane: the header band, the white chart area, the disc, a coloured
// sector and a boxed label for each wide slice, and the hatched remainder of the narrow ones.
// The drawing goes through PiePainter, the list's thin painter with what a pie needs besides,
// so tests record the exact calls; the GDI version is in views/gdi_painter.h.
#include <cstdint>
#include <string>

#include "base/log.h"
#include "views/pie_geometry.h"
#include "views/row_painter.h"
#include "views/slice.h"

namespace kelvane {

enum class PieFont { kProgram, kSystem };

class PiePainter : public Painter {
 public:
  virtual int text_height(const std::string& text) = 0;
  // The caption band of both views at the top of the client rectangle, with the string.
  virtual void caption_band(const PixelRect& client, int string_id) = 0;
  // The program font (the stock variable-pitch font when there is none) or SYSTEM_FONT.
  virtual void select_font(PieFont font) = 0;
  // One-pixel frame: top and left edges in the first colour, bottom and right in the second.
  virtual void draw_3d_rect(const PixelRect& r, Color top_left, Color bottom_right) = 0;
  // Text whose left edge is at x and whose bottom is at y, without background.
  virtual void bottom_text(int x, int y, const std::string& text) = 0;
  // A solid pen of width 1 and a solid brush, made here and selected.
  virtual void select_pen(Color color) = 0;
  virtual void select_brush(Color color) = 0;
  // The stock null pen and brush; the pen and brush made before are released.
  virtual void select_null_pen_brush() = 0;
  // The disc: a black outline around white.
  virtual void ellipse(const PixelRect& box) = 0;
  // A sector in the selected pen and brush, counter-clockwise from the first radial point to
  // the second.
  virtual void pie(const PixelRect& box, Point from, Point to) = 0;
  virtual void line(Point from, Point to) = 0;
  // A one-pixel frame in the selected brush.
  virtual void frame_box(const PixelRect& r) = 0;
};

constexpr Color kChartWhite = rgb(255, 255, 255);
constexpr Color kBlack = rgb(0, 0, 0);

// Everything a paint of the pane reads; the view takes it from the settings, the tree and the
// left view's slice table.
struct PieScene {
  PixelRect client;
  bool busy = false;
  int db = 0;
  Color highlight = 0;  // COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW and COLOR_INFOBK
  Color shadow = 0;
  Color info = 0;
  bool tree = false;  // a scanned tree exists
  const slice* records = nullptr;
  int count = 0;
  int64_t folder_size = 0;  // size of pcur
  int tm = 3;
  const Color* colors = nullptr;  // 16 slice colours
  Log* trace = nullptr;           // the log, when it is open at level 3
  Dpi dpi;                        // the pane's display scale
};

// What a paint leaves for the hit test.
struct PieDrawn {
  bool painted = false;  // the guards let it through: xo and yo are new
  int xo = 0;
  int yo = 0;
  int rd = 0;         // the new radius; 0 when the area was too small (the old one stays)
  bool disc = false;  // a disc was drawn for the tree
};

PieDrawn draw_pie(PiePainter& painter, const PieScene& scene);

}  // namespace kelvane
