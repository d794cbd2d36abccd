#pragma once
// The caption band both views paint above their content: the client's top 22 pixels in the
// button face colour, framed light at the top and left and shadowed at the bottom and right,
// with a text of the string table centred in it.
#include <windows.h>

#include "base/dpi.h"

namespace kelvane {

constexpr int kCaptionBandHeight = 22;
// The band's height at the display scale of the view (96 DPI: kCaptionBandHeight).
inline int caption_band_height(Dpi dpi) { return dpi.px(kCaptionBandHeight); }

// A 1-pixel 3-D frame just inside r: light at the top and left, shadow at the bottom and right.
void draw_3d_rect(HDC dc, const RECT& r, HBRUSH light, HBRUSH shadow);

// The band (its height: caption_band_height) of a view's client rectangle with the string string_id, in the
// program's font from Windows Vista on (the stock ANSI font before). Leaves the background mode transparent.
void draw_caption_band(HDC dc, const RECT& client, int string_id, Dpi dpi);

}  // namespace kelvane
