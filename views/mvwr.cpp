#include "views/mvwr.h"

#include <windowsx.h>

#include "app/mapp.h"
#include "base/utf8_path.h"
#include "res/resource_ids.h"
#include "ui/dc.h"
#include "ui/resources.h"
#include "ui/status_bar.h"
#include "ui/window_dpi.h"
#include "views/gdi_painter.h"
#include "views/mvwl.h"
#include "views/pane_widths.h"

namespace kelvane {

mvwr::mvwr(ViewHost* host, mvwl* left)
    : PieActions(pa->mdir, pa->CGUI, pa->busy, *this), host_(host), left_(left) {
  if (Log* log = app_log()) log->write("mvwr::mvwr () OK ...\n");
}

mvwr::~mvwr() {
  if (Log* log = app_log()) log->write("mvwr::~mvwr () OK ...\n");
}

int mvwr::OnCreate(CREATESTRUCTW*) {
  tip_.create(hwnd());
  return 0;
}

void mvwr::OnSize(UINT, int cx, int) {
  // The band, the frame and the centre all depend on the size: the whole pane is painted anew.
  invalidate(true);
  tip_.set_area(client_rect());
  HWND main = GetAncestor(hwnd(), GA_ROOT);
  ui::status_bar* bar = host_ ? host_->status_bar() : nullptr;
  if (!main || !bar) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(main, &placement);
  const int dpi = ui::window_dpi(hwnd());
  const PaneWidths widths =
      pie_pane_widths(cx, placement.showCmd == SW_SHOWMAXIMIZED, ui::metric_for_dpi(SM_CXHSCROLL, dpi),
                      ui::metric_for_dpi(SM_CXDLGFRAME, dpi));
  bar->set_pane_info(1, ID_PANE_FOLDER, 0, widths.folder);
  bar->set_pane_info(2, ID_PANE_SIZE, 0, widths.size);
}

void mvwr::OnDraw(HDC dc) {
  if (!pa) return;
  PieScene scene;
  scene.busy = pa->busy.load() == kBusyScan;
  scene.db = pa->CGUI.db;
  if (scene.busy || scene.db > 1) {
    // No drawing while a scan rebuilds the tree, nor when the diagnostic switch turns the
    // chart off (the paint itself is still validated by the view base).
    painted(PieDrawn{});
    tip_.hide();
    return;
  }
  ui::saved_dc keep(dc);
  const RECT client = client_rect();
  scene.client = PixelRect{client.left, client.top, client.right, client.bottom};
  scene.highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  scene.shadow = GetSysColor(COLOR_BTNSHADOW);
  scene.info = GetSysColor(COLOR_INFOBK);
  const lobj* cur = pa->mdir.pcur.load();
  scene.tree = pa->mdir.ptop.load() != nullptr;
  if (const SliceTable* table = slice_table(); table != nullptr && scene.tree) {
    scene.records = table->data();
    scene.count = table->count();
  }
  scene.folder_size = cur != nullptr ? static_cast<int64_t>(cur->size.load()) : 0;
  scene.tm = pa->CGUI.tm;
  scene.colors = pa->CGUI.color;
  if (pa->CGUI.vl == 3 && pa->CGUI.flog.is_open()) scene.trace = &pa->CGUI.flog;
  scene.dpi = ui::dpi_of_window(hwnd());
  GdiPainter painter(dc, pa->CGUI.font, scene.dpi);
  const PieDrawn drawn = draw_pie(painter, scene);
  painted(drawn);
  // A tip of a slice that is no longer drawn goes at once, not at the next move.
  if (!drawn.disc) tip_.hide();
}

bool mvwr::OnContextMenu(POINT screen) {
  POINT client = screen;
  ScreenToClient(hwnd(), &client);
  if (!PieActions::OnContextMenu(client.x, client.y)) return false;
  tip_.hide();
  HMENU menu = LoadMenuW(ui::instance(), MAKEINTRESOURCEW(ID_MENU_ITEMS));
  if (menu == nullptr) return true;
  if (HMENU popup = GetSubMenu(menu, 0)) {
    HWND main = GetAncestor(hwnd(), GA_ROOT);
    ui::view::set_active(this);
    const int id = static_cast<int>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, main, nullptr));
    // The choice comes back here and runs as every command does, with this view active
    // whatever view is active by then, so that it acts on the slice that was right-clicked.
    if (id != 0 && host_ != nullptr) {
      ui::view::set_active(this);
      host_->run_command(id);
    }
  }
  DestroyMenu(menu);
  return true;
}

LRESULT mvwr::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      tip_.hide();
      OnLButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) != hwnd()) break;
      // Off the disc nothing more happens, not even the default processing.
      if (!OnContextMenu(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return 0;
      return def_handle(msg, wp, lp);
    case WM_MOUSEMOVE:
      tip_.set_text(tip_text(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
      break;
  }
  return ui::view::handle(msg, wp, lp);
}

// The pane waits for a deletion, whatever the pointer rests on.
bool mvwr::waiting() const { return pa->busy.load() == kBusyDelete; }

const SliceTable* mvwr::slice_table() { return left_ != nullptr ? &left_->slices() : nullptr; }

FolderHost* mvwr::folder_host() { return left_ != nullptr ? &left_->folder_host() : nullptr; }

void mvwr::select_only_row(int row) {
  if (left_ == nullptr || !left_->list().exists()) return;
  left_->list().select_item(-1, false);
  left_->list().select_item(row, true);
}

void mvwr::delete_selection() {
  if (left_) left_->list().OnDelete();
}

}  // namespace kelvane
