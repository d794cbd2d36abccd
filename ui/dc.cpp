#include "ui/dc.h"

namespace kelvane::ui {

font point_font(int tenths, const wchar_t* face) {
  LOGFONTW lf{};
  const window_dc screen(nullptr);
  // Without a screen to ask, the usual 96 dots per inch.
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  lf.lfHeight = -MulDiv(tenths, dpi, 720);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return font(CreateFontIndirectW(&lf));
}

}  // namespace kelvane::ui
