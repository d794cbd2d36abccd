#include "frame/cinf.h"

#include <windowsx.h>

#include "app/mapp.h"
#include "app/registry.h"
#include "frame/help_rules.h"
#include "res/resource_ids.h"
#include "scan/shell.h"
#include "ui/resources.h"
#include "ui/window.h"
#include "ui/window_dpi.h"

namespace kelvane {
namespace {

int high_drive_now() { return pa ? pa->CGUI.highdrive : 0; }

}  // namespace

CInf::CInf() : ui::dialog(ID_DLG_INFO) {
  if (Log* log = app_log()) log->write("CInf::CInf () OK ...\n");
}

CInf::~CInf() {
  if (Log* log = app_log()) log->write("CInf::~CInf () OK ...\n");
}

INT_PTR CInf::DoModal() {
  // Made without a parent, the dialog belongs to the main window, as the framework's would.
  ui::window* main = pa ? pa->main_window() : nullptr;
  return run_modal(main && main->exists() ? main->hwnd() : nullptr);
}

int CInf::OnInitDialog() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const Dpi dpi = ui::dpi_of_window(hwnd());
  box.create(hwnd(), RECT{dpi.px(3), dpi.px(3), client.right - dpi.px(3), dpi.px(70)});
  return 1;
}

void CInf::OnMouseMove(UINT, POINT point) {
  // Outside the link nothing is done, so the window's own cursor shows there.
  if (in_link_zone(point.x, point.y, ui::dpi_of_window(hwnd())))
    SetCursor(LoadCursorW(ui::instance(), MAKEINTRESOURCEW(ID_CUR_HAND)));
}

void CInf::OnLButtonDown(UINT, POINT point) {
  if (!in_link_zone(point.x, point.y, ui::dpi_of_window(hwnd()))) return;
  const std::optional<ProgramStart> start =
      browser_start(reg_get_string("HKLM", kBrowserKey), info_lines(high_drive_now()).link.text);
  // No browser registered: the click does nothing and says nothing; a failed start neither.
  if (start) shell().start_program(start->application, start->command_line);
}

bool CInf::handle(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN) {
    const POINT point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (msg == WM_MOUSEMOVE)
      OnMouseMove(static_cast<UINT>(wp), point);
    else
      OnLButtonDown(static_cast<UINT>(wp), point);
    result = 0;
    return true;
  }
  return ui::dialog::handle(msg, wp, lp, result);
}

}  // namespace kelvane
