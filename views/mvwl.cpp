#include "views/mvwl.h"

#include <commctrl.h>

#include "app/mapp.h"
#include "app/utf8_path.h"
#include "ui/dc.h"
#include "ui/resources.h"

namespace kelvane {

mvwl::mvwl() {
  if (Log* log = app_log()) log->write("mvwl::mvwl () OK ...\n");
}

mvwl::~mvwl() {
  if (Log* log = app_log()) log->write("mvwl::~mvwl () OK ...\n");
}

void mvwl::OnEnumDir() {}

void mvwl::OnCommandRange(int id) {
  if (id == 205 && pa) {
    pa->mdir.cdir = pa->epath.text();
    OnEnumDir();
  }
}

bool mvwl::on_command(int id) {
  if (id < 199 || id > 205) return false;
  OnCommandRange(id);
  return true;
}

bool mvwl::OnToolTip(NMHDR* request) {
  const auto id = request->idFrom;
  if (id < 199 || id > 205 || request->code != TTN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(request);
  info->hinst = ui::instance();
  info->lpszText = MAKEINTRESOURCEW(id);
  return true;
}

void mvwl::OnDraw(HDC dc) {
  ui::saved_dc keep(dc);
  const bool own_font = pa && pa->CGUI.winver >= 6 && pa->CGUI.font;
  SelectObject(dc, own_font ? static_cast<HGDIOBJ>(pa->CGUI.font) : GetStockObject(ANSI_VAR_FONT));
  SetBkMode(dc, TRANSPARENT);
  RECT band = client_rect();
  band.bottom = band.top + 22;
  FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &band, BDR_RAISEDINNER, BF_RECT);
  const std::wstring caption = widen(ui::load_string(302));
  DrawTextW(dc, caption.c_str(), -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace kelvane
