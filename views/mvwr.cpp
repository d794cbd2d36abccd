#include "views/mvwr.h"

#include "app/mapp.h"
#include "base/utf8_path.h"
#include "frame/frame_layout.h"
#include "res/resource_ids.h"
#include "ui/dc.h"
#include "ui/resources.h"
#include "ui/status_bar.h"

namespace kelvane {

mvwr::mvwr() {
  if (Log* log = app_log()) log->write("mvwr::mvwr () OK ...\n");
}

mvwr::~mvwr() {
  if (Log* log = app_log()) log->write("mvwr::~mvwr () OK ...\n");
}

void mvwr::OnSize(UINT, int cx, int) {
  HWND main = GetAncestor(hwnd(), GA_ROOT);
  if (!main) return;
  auto* bar = dynamic_cast<ui::status_bar*>(ui::window::from_handle(GetDlgItem(main, ID_CTL_STATUS_BAR)));
  if (!bar) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(main, &placement);
  const PaneWidths widths = pie_pane_widths(cx, placement.showCmd == SW_SHOWMAXIMIZED,
                                            GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CXDLGFRAME));
  bar->set_pane_info(1, ID_PANE_FOLDER, 0, widths.folder);
  bar->set_pane_info(2, ID_PANE_SIZE, 0, widths.size);
}

void mvwr::OnDraw(HDC dc) {
  // No drawing while a scan rebuilds the tree (the paint itself is still validated by the
  // view base), nor when the diagnostic switch turns the chart off.
  if (!pa || pa->busy || pa->CGUI.db > 1) return;
  ui::saved_dc keep(dc);
  const bool own_font = pa->CGUI.winver >= 6 && pa->CGUI.font;
  SelectObject(dc, own_font ? static_cast<HGDIOBJ>(pa->CGUI.font) : GetStockObject(ANSI_VAR_FONT));
  SetBkMode(dc, TRANSPARENT);
  const RECT client = client_rect();
  RECT band = client;
  band.bottom = band.top + 22;
  FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &band, BDR_RAISEDINNER, BF_RECT);
  const std::wstring caption = widen(ui::load_string(ID_STR_PIE_CHART));
  DrawTextW(dc, caption.c_str(), -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT area = client;
  area.top = client.top + 22;
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT);
}

}  // namespace kelvane
