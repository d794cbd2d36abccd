#include "views/caption_band.h"

#include <string>

#include "app/mapp.h"
#include "base/utf8_path.h"
#include "ui/dc.h"
#include "ui/resources.h"

namespace kelvane {

void draw_3d_rect(HDC dc, const RECT& r, HBRUSH light, HBRUSH shadow) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  RECT edge{r.left, r.top, r.left + w - 1, r.top + 1};
  FillRect(dc, &edge, light);
  edge = RECT{r.left, r.top, r.left + 1, r.top + h - 1};
  FillRect(dc, &edge, light);
  edge = RECT{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &edge, shadow);
  edge = RECT{r.left, r.bottom - 1, r.right, r.bottom};
  FillRect(dc, &edge, shadow);
}

void draw_caption_band(HDC dc, const RECT& client, int string_id, Dpi dpi) {
  const bool own_font = pa && pa->CGUI.winver >= 6 && pa->CGUI.font;
  ui::selection font(dc, own_font ? static_cast<HGDIOBJ>(pa->CGUI.font) : GetStockObject(ANSI_VAR_FONT));
  SetBkMode(dc, TRANSPARENT);
  RECT band = client;
  band.bottom = band.top + caption_band_height(dpi);
  FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
  draw_3d_rect(dc, band, GetSysColorBrush(COLOR_BTNHIGHLIGHT), GetSysColorBrush(COLOR_BTNSHADOW));
  // Prefix processing stays on: "Files && Folders" shows one ampersand.
  const std::wstring caption = widen(ui::load_string(string_id));
  DrawTextW(dc, caption.c_str(), -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace kelvane
