#include "ui/list_control.h"

#include "base/utf8_path.h"

namespace kelvane::ui {

bool list_control::create(HWND parent, int id, DWORD style, const RECT& rect) {
  if (!create_control(WC_LISTVIEWW, "", style, 0, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, parent, id))
    return false;
  send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  return true;
}

int list_control::insert_column(int index, const std::string& heading, int format, int width) {
  std::wstring text = widen(heading);
  LVCOLUMNW col{};
  col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.fmt = format;
  col.cx = width;
  col.pszText = text.data();
  col.iSubItem = index;
  return static_cast<int>(send(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col)));
}

bool list_control::delete_column(int index) { return send(LVM_DELETECOLUMN, index) != 0; }

int list_control::column_count() const {
  HWND header = reinterpret_cast<HWND>(send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int list_control::column_width(int index) const { return static_cast<int>(send(LVM_GETCOLUMNWIDTH, index)); }

bool list_control::set_column_width(int index, int width) {
  return send(LVM_SETCOLUMNWIDTH, index, MAKELPARAM(width, 0)) != 0;
}

bool list_control::delete_all_items() { return send(LVM_DELETEALLITEMS) != 0; }

bool list_control::set_item_count(int count) {
  return send(LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL) != 0;
}

std::vector<int> list_control::selected_items() const {
  std::vector<int> rows;
  for (int i = next_selected(-1); i >= 0; i = next_selected(i)) rows.push_back(i);
  return rows;
}

int list_control::next_selected(int after) const {
  return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(LVNI_SELECTED, 0)));
}

bool list_control::select_item(int index, bool selected) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = selected ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
  return send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

RECT list_control::item_rect(int index) const {
  RECT r{};
  r.left = LVIR_BOUNDS;
  send(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

bool list_control::on_draw_item(const DRAWITEMSTRUCT& item) {
  draw_item(item);
  return true;
}

bool list_control::on_notify_reflect(NMHDR* header, LRESULT& result) {
  if (header->code != LVN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
  if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
    // What the control shows is cut to its buffer; the row's data itself stays whole.
    dispinfo_text_ = widen(item_text_for(info->item.iItem, info->item.iSubItem));
    lstrcpynW(info->item.pszText, dispinfo_text_.c_str(), info->item.cchTextMax);
  }
  result = 0;
  return true;
}

}  // namespace kelvane::ui
