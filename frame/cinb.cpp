#include "frame/cinb.h"

#include "app/mapp.h"
#include "base/utf8_path.h"
#include "frame/help_rules.h"
#include "res/resource_ids.h"
#include "ui/dc.h"
#include "ui/window_dpi.h"

namespace kelvane {
namespace {

void draw_line(HDC dc, const InfoLine& line, int right, Dpi dpi) {
  RECT r{dpi.px(line.left), dpi.px(line.top), right, dpi.px(line.bottom)};
  const std::wstring text = widen(line.text);
  // No prefix: "Development & Design" shows its "&".
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace

CInb::CInb() {
  if (Log* log = app_log()) log->write("CInb::CInb () OK ...\n");
}

CInb::~CInb() {
  if (Log* log = app_log()) log->write("CInb::~CInb () OK ...\n");
}

bool CInb::create(HWND dialog, const RECT& rect) {
  return create_control(L"STATIC", std::string(), WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_WHITERECT, 0,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                        ID_CTL_INFO_BOX);
}

void CInb::paint(HDC dc, const RECT& client) const {
  // The box's own scale: the dialog's monitor's (its window may not exist in a test's paint).
  const Dpi dpi = ui::dpi_of_window(exists() ? hwnd() : nullptr);
  const InfoLines lines = info_lines(pa ? pa->CGUI.highdrive : 0);
  const ui::font title_font = ui::point_font(lines.title.tenths, L"Tahoma", dpi.value);
  const ui::font text_font = ui::point_font(lines.contact.tenths, L"Tahoma", dpi.value);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  // The background mode stays opaque: text cells take the DC's background colour.
  SelectObject(dc, title_font.get());
  draw_line(dc, lines.title, client.right, dpi);
  SelectObject(dc, text_font.get());
  draw_line(dc, lines.contact, client.right, dpi);
  SetTextColor(dc, RGB(0, 0, 255));
  draw_line(dc, lines.link, client.right, dpi);
  // Nothing made here stays selected when the fonts go.
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
}

void CInb::OnPaint() {
  ui::paint_dc dc(hwnd());
  if (!dc.get()) return;
  paint(dc.get(), client_rect());
}

LRESULT CInb::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    OnPaint();
    return 0;
  }
  return window::handle(msg, wp, lp);
}

}  // namespace kelvane
