#pragma once
// The main frame's geometry and decisions as plain functions, so they are tested without a
// window: placement from the settings, the path field and separator in the toolbar, the widths
// of the status panes and the rescan keys. The figures are written for 96 DPI (and the stored
// placement is read as such); dpi takes them to the frame's display scale.
#include <string>
#include <vector>

#include "base/dpi.h"
#include "base/settings.h"
#include "ui/pixel_rect.h"

namespace kelvane {

// The rectangle the settings table's defaults of xo, yo, xs and ys ask for.
PixelRect default_frame_rect(Dpi dpi = {});
// The rectangle the settings ask for: x = yo, y = xo, right xs, bottom ys.
PixelRect stored_frame_rect(const Settings& settings, Dpi dpi = {});
// True when the rectangle is not empty and overlaps one of the monitors.
bool rect_is_visible(const PixelRect& rect, const std::vector<PixelRect>& monitors);
// Where the frame goes: the stored rectangle, or the default one when the stored one is empty
// or lies off every monitor (a monitor unplugged since); nothing is written back.
PixelRect frame_placement(const Settings& settings, const std::vector<PixelRect>& monitors, Dpi dpi = {});
// A frame larger than the work area of the monitor it lies on most is cut to that work area
// along each axis where it is larger, and moved inside it there (for this run only), so that
// its status bar is not off-screen. A rectangle that fits is left as it is.
PixelRect fit_into_work_area(const PixelRect& rect, const std::vector<PixelRect>& work_areas);

// The toolbar is stretched 2 pixels past the client so its right border stays hidden.
int toolbar_width(int client_width);
// The placeholder separator in which the path field lies.
int separator_width(int client_width, Dpi dpi = {});
// The path field from toolbar button 5's rectangle (toolbar client coordinates), the height of
// the field's font (negative for a character height) and the frame's client width.
PixelRect path_field_rect(const PixelRect& button5, int font_height, int client_width, Dpi dpi = {});
// Toolbar buttons are set to 23 x (button 5's bottom) when button 5 touches the top.
constexpr int kButtonWidth = 23;
// The toolbar's images: 16 x 16 pixel maps, in cells of their size at the display scale.
constexpr int kButtonImage = 16;
bool needs_button_resize(const PixelRect& button5);
// The buttons' height at the scale: the control's own room around the image (button 5's, which
// holds an image of image pixels) as it is at 96 DPI, taken to the scale. The control itself
// pads a larger image by its 96-DPI padding only, which leaves the buttons too narrow and low.
// At 96 with button 5 at the top (its height its bottom) this is the height set there today.
int button_height(const PixelRect& button5, int image, Dpi dpi = {});

// The folder pane's width at creation.
int folder_pane_width(int xs, Dpi dpi = {});
constexpr int kSizePaneWidth = 80;
inline int size_pane_width(Dpi dpi = {}) { return dpi.px(kSizePaneWidth); }

// Enter and F5 copy the path field and rescan it.
bool is_rescan_key(unsigned virtual_key);

}  // namespace kelvane
