#include "ui/dc.h"

namespace kelvane::ui {

font point_font(int tenths, const wchar_t* face) {
  LOGFONTW lf{};
  HDC screen = GetDC(nullptr);
  lf.lfHeight = -MulDiv(tenths, GetDeviceCaps(screen, LOGPIXELSY), 720);
  ReleaseDC(nullptr, screen);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return font(CreateFontIndirectW(&lf));
}

}  // namespace kelvane::ui
