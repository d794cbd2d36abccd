#pragma once
// Painting one row of the left list. The drawing goes through Painter, a thin layer over the
// device context, so that tests can record the exact calls; the GDI version is in
// views/gdi_painter.h.
#include <cstdint>
#include <string>

#include "scan/mdrv.h"
#include "views/fit_text.h"
#include "views/list_geometry.h"
#include "views/slice_table.h"

namespace kelvane {

using Color = uint32_t;  // 0x00BBGGRR
constexpr Color rgb(int r, int g, int b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

enum class TextAlign { kLeft, kRight };

class Painter : public TextMeasure {
 public:
  virtual void set_transparent_background() = 0;
  virtual void fill_rect(const PixelRect& r, Color color) = 0;
  // Outline in the current pen; the interior is left alone (hollow brush).
  virtual void frame_rectangle(const PixelRect& r) = 0;
  // Outline in the current pen, interior in a solid brush of the colour (made and released
  // for this one call).
  virtual void filled_rectangle(const PixelRect& r, Color fill) = 0;
  virtual void set_text_color(Color color) = 0;
  // Top-aligned text whose left (kLeft) or right (kRight) edge is at x.
  virtual void text_out(int x, int y, TextAlign align, const std::string& text) = 0;
};

// Everything one row's painting reads; the caller takes it from the list, the settings, the
// drive table and the slice table.
struct RowState {
  int mode = kListDrives;
  int row = 0;
  int row_count = 0;
  PixelRect rect;  // the row's rectangle in the list's client coordinates
  bool selected = false;
  bool busy = false;
  std::string text;  // the row's name as the list holds it
  ColumnWidths widths;
  int unit = 2;
  Color highlight = 0;  // system colours COLOR_HIGHLIGHT and COLOR_WINDOW
  Color window = 0;
  // Drive mode: the drive record of the row (nullptr: none).
  const drive_record* drive = nullptr;
  // File mode.
  int lead = 2;
  const SliceTable* slices = nullptr;
  bool tree_exists = false;
  int64_t folder_size = 0;  // size of pcur
  int tm = 3;
  const Color* colors = nullptr;  // 16 slice colours
  Dpi dpi;                        // the list's display scale: the offsets are written for 96
};

constexpr Color kSelectedText = rgb(224, 224, 224);
constexpr Color kBarGrey = rgb(224, 224, 224);
constexpr Color kBarBlue = rgb(0, 0, 255);

// The whole row: background for the selection state, then the cells.
void draw_item(Painter& painter, const RowState& row);
// The cells only.
void draw_row(Painter& painter, const RowState& row);

}  // namespace kelvane
