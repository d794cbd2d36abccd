#pragma once
// The left list's arithmetic: column widths, the mapping between rows and slice records,
// the drive usage bar and whether an entry gets a colour key. Plain functions so that the
// window code stays thin and every figure can be checked directly.
#include <cstdint>
#include <functional>
#include <string>

#include "base/dpi.h"
#include "ui/pixel_rect.h"

namespace kelvane {

// What the list shows: the drives or a folder's entries (their columns: list_columns).
enum ListMode : int { kListDrives = 0, kListFiles = 1 };

constexpr int kMaxColumns = 4;

// How a column's heading is aligned.
enum class ColumnAlign { kCenter, kRight };

struct ListColumn {
  const char* heading;
  ColumnAlign align;
};

// The columns of one list mode: the name first, then the figures. Each figure column is the
// list's width divided by divisor; the name column takes what the division leaves over.
struct ListColumns {
  int count;
  int divisor;
  ListColumn column[kMaxColumns];
};

// The one table of the columns: the headings, the widths and the painted rows all follow it.
const ListColumns& list_columns(int mode);

struct ColumnWidths {
  int count = 0;
  int width[kMaxColumns] = {};
};

// Widths for a list of client width `width`; a vertical scroll bar takes scroll_width off it.
ColumnWidths column_widths(int mode, int width, bool has_vscroll, int scroll_width);

// Navigation rows in front of the entries: "\\" alone at a drive root, "\\" and ".." elsewhere.
inline int lead_rows(int isdrv) { return isdrv == 1 ? 1 : 2; }
// The slice record a row stands for (negative for the navigation rows), and back.
inline int item_of_row(int row, int lead) { return row - lead; }
inline int row_of_item(int item, int lead) { return item + lead; }

// The drive usage bar of a row whose rectangle starts at left/top, in a name column w0 wide,
// at the display scale dpi (every offset below is written for 96 DPI).
struct UsageBar {
  PixelRect outline;   // drawn with the pen
  PixelRect interior;  // light grey
  PixelRect used;      // blue part; empty (right == left) when nothing is used or the total is 0
};
UsageBar usage_bar(int left, int top, int w0, uint64_t used, uint64_t total, Dpi dpi = {});

// The colour key square at the end of the name column.
PixelRect color_key_rect(int top, int w0, Dpi dpi = {});

// The list's search as the user types (its rows are virtual, so the control asks us): the
// first row from start on, round to the top again when wrap is set, whose name begins with
// prefix (partial) or equals it, ASCII letters compared without regard to case. -1 when none.
int find_row(int count, int start, const std::string& prefix, bool partial, bool wrap,
             const std::function<std::string(int)>& name);

// Whether entry b of the slice table gets a colour key: one of the first 16 entries, in a
// folder with a size, whose slice is wide (wide_slice).
bool has_color_key(int b, int64_t folder_size, double span, int tm);

}  // namespace kelvane
