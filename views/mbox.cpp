#include "views/mbox.h"

#include "base/utf8_path.h"
#include "ui/resources.h"
#include "ui/view.h"
#include "ui/window_dpi.h"
#include "views/gdi_painter.h"
#include "views/row_painter.h"

namespace kelvane {

mbox::mbox(const ListContext& context, ListOwner* owner, ui::view* view)
    : context_(context), actions_(context, *this, owner), view_(view) {
  context_.log.write("mbox::mbox () OK ...\n");
}

mbox::~mbox() {
  context_.log.write("mbox::~mbox () OK ...\n");
  destroy();
}

bool mbox::create_list(HWND parent, int id, bool owner_drawn) {
  DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSORTHEADER | LVS_OWNERDATA;
  if (owner_drawn) style |= LVS_OWNERDRAWFIXED;
  return create(parent, id, style, RECT{0, 0, 0, 0});
}

void mbox::show_rows(int count) {
  rows_ = count < 0 ? 0 : count;
  set_item_count(rows_);
}

std::string mbox::row_name(int row) const {
  if (row < 0 || row >= rows_) return std::string();
  if (mode == kListDrives) return row < 26 ? context_.drives.drives[row].name : std::string();
  const int lead = lead_rows(context_.dir.isdrv);
  if (row == 0) return "\\";
  if (row == 1 && lead == 2) return "..";
  if (context_.dir.ptop.load() == nullptr) return std::string();
  const lobj* node = context_.slices.node(item_of_row(row, lead));
  return node != nullptr ? std::string(node->name) : std::string();
}

std::string mbox::item_text_for(int row, int sub_item) {
  // Without owner drawing the control shows the names only, as no figures are ever stored.
  if (sub_item != 0) return std::string();
  if (context_.busy.load() == kBusyScan) return std::string();
  return row_name(row);
}

bool mbox::on_notify_reflect(NMHDR* header, LRESULT& result) {
  if (header->code != LVN_ODFINDITEMW) return list_control::on_notify_reflect(header, result);
  // Left unanswered, the control would take row 0 for every letter typed.
  const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
  const UINT flags = find->lvfi.flags;
  result = -1;
  if (context_.busy.load() != 0 || find->lvfi.psz == nullptr || (flags & (LVFI_STRING | LVFI_PARTIAL)) == 0)
    return true;
  result = find_row(rows_, find->iStart, narrow(find->lvfi.psz), (flags & LVFI_PARTIAL) != 0,
                    (flags & LVFI_WRAP) != 0, [this](int r) { return row_name(r); });
  return true;
}

void mbox::insert_columns() {
  const ListColumns& columns = list_columns(mode);
  if (column_count() == columns.count) return;  // kept from the last refill in this mode
  for (int j = 0; j < columns.count; ++j) {
    const ListColumn& c = columns.column[j];
    insert_column(j, c.heading, c.align == ColumnAlign::kCenter ? LVCFMT_CENTER : LVCFMT_RIGHT, 0);
  }
}

void mbox::draw_item(const DRAWITEMSTRUCT& item) {
  RowState row;
  row.mode = mode;
  row.row = static_cast<int>(item.itemID);
  row.row_count = rows_;
  row.rect = {item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  row.selected = (item.itemState & ODS_SELECTED) != 0;
  row.highlight = GetSysColor(COLOR_HIGHLIGHT);
  row.window = GetSysColor(COLOR_WINDOW);
  row.dpi = ui::dpi_of_window(hwnd());
  // During a scan the tree behind the rows is being rebuilt: nothing of it is read. A deletion
  // leaves the tree as it is until it ends, so the rows still show it.
  row.busy = context_.busy.load() == kBusyScan;
  if (!row.busy) {
    const int columns = list_columns(mode).count;
    row.widths.count = columns;
    for (int j = 0; j < columns; ++j) row.widths.width[j] = column_width(j);
    row.text = row_name(row.row);
    row.unit = context_.settings.un;
    if (mode == kListDrives) {
      if (row.row >= 0 && row.row < 26) row.drive = &context_.drives.drives[row.row];
    } else {
      row.lead = lead_rows(context_.dir.isdrv);
      row.slices = &context_.slices;
      const lobj* top = context_.dir.ptop.load();
      const lobj* cur = context_.dir.pcur.load();
      row.tree_exists = top != nullptr;
      row.folder_size = cur != nullptr ? static_cast<int64_t>(cur->size.load()) : 0;
      row.tm = context_.settings.tm;
      row.colors = context_.settings.color;
    }
  }
  GdiPainter painter(item.hDC);
  kelvane::draw_item(painter, row);
}

bool mbox::point_on_rows(POINT p) const {
  if (rows_ <= 0) return false;
  // The real geometry of the last row, wherever the list is scrolled and whatever its font.
  const RECT last = item_rect(rows_ - 1);
  return p.y < last.bottom;
}

void mbox::context_menu(POINT client_point) {
  if (!point_on_rows(client_point)) return;
  POINT screen = client_point;
  ClientToScreen(hwnd(), &screen);
  HMENU menu = LoadMenuW(ui::instance(), MAKEINTRESOURCEW(mode == kListDrives ? kMenuDrives : kMenuFiles));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  if (popup != nullptr) {
    HWND main = GetAncestor(hwnd(), GA_ROOT);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, main, nullptr);
  }
  DestroyMenu(menu);
}

LRESULT mbox::handle(UINT msg, WPARAM wp, LPARAM lp) {
  // While a deletion runs, or its question is up, the rows stay as they were chosen: no click
  // or key changes them or acts on them, even one posted to the list (scrolling still works).
  if (const int busy = context_.busy.load(); busy == kBusyDelete || busy == kBusyAsk) {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_CHAR:
        return 0;
    }
  }
  switch (msg) {
    case WM_LBUTTONDBLCLK: {
      // The control selects the row under the pointer first.
      const LRESULT r = def_handle(msg, wp, lp);
      if (context_.busy.load() == 0) OnOpen();
      return r;
    }
    case WM_RBUTTONDOWN: {
      // Commands of the menu reach the active view: the one around this list.
      if (view_ != nullptr) ui::view::set_active(view_);
      const LRESULT r = def_handle(msg, wp, lp);
      if (context_.busy.load() != 0) return r;
      context_menu(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return r;
    }
    case WM_KEYDOWN: {
      const ListKeyAction action = key_action(static_cast<unsigned>(wp));
      const LRESULT r = def_handle(msg, wp, lp);
      if (action == ListKeyAction::kOpen) OnOpen();
      if (action == ListKeyAction::kUp) actions_.OnUp();
      return r;
    }
    case WM_KEYUP:
      if (wp == VK_DELETE && context_.busy.load() == 0) OnDelete();
      return 0;
  }
  return list_control::handle(msg, wp, lp);
}

ListKeyAction mbox::key_action(unsigned virtual_key) {
  return list_key_action(virtual_key, mode, context_.busy.load() != 0, !selected_items().empty(),
                         context_.dir.isdrv);
}

void mbox::wait_cursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void* mbox::owner_window() { return hwnd() != nullptr ? GetAncestor(hwnd(), GA_ROOT) : nullptr; }

}  // namespace kelvane
