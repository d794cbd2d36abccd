#include "views/mvwr.h"

#include "app/mapp.h"
#include "res/resource_ids.h"
#include "ui/dc.h"
#include "ui/status_bar.h"
#include "views/caption_band.h"
#include "views/pane_widths.h"

namespace kelvane {

mvwr::mvwr(ViewHost* host) : host_(host) {
  if (Log* log = app_log()) log->write("mvwr::mvwr () OK ...\n");
}

mvwr::~mvwr() {
  if (Log* log = app_log()) log->write("mvwr::~mvwr () OK ...\n");
}

void mvwr::OnSize(UINT, int cx, int) {
  HWND main = GetAncestor(hwnd(), GA_ROOT);
  ui::status_bar* bar = host_ ? host_->status_bar() : nullptr;
  if (!main || !bar) return;
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
  const RECT client = client_rect();
  draw_caption_band(dc, client, ID_STR_PIE_CHART);
  RECT area = client;
  area.top = client.top + kCaptionBandHeight;
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT);
}

}  // namespace kelvane
