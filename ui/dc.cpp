#include "ui/dc.h"

namespace kelvane::ui {

font point_font(int tenths, const wchar_t* face, int dpi) {
  LOGFONTW lf{};
  if (dpi <= 0) {
    const window_dc screen(nullptr);
    // Without a screen to ask, the usual 96 dots per inch.
    dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  }
  lf.lfHeight = -MulDiv(tenths, dpi, 720);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return font(CreateFontIndirectW(&lf));
}

font rescaled_font(HFONT base, int from_dpi, int to_dpi) {
  LOGFONTW lf{};
  HGDIOBJ source = base ? static_cast<HGDIOBJ>(base) : GetStockObject(DEFAULT_GUI_FONT);
  if (!GetObjectW(source, sizeof lf, &lf)) return font();
  if (from_dpi > 0) lf.lfHeight = MulDiv(lf.lfHeight, to_dpi, from_dpi);
  lf.lfWidth = from_dpi > 0 ? MulDiv(lf.lfWidth, to_dpi, from_dpi) : lf.lfWidth;
  return font(CreateFontIndirectW(&lf));
}

}  // namespace kelvane::ui
