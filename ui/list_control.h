#pragma once
// The list control in report view: columns, rows that carry a name, selection, owner drawing
// and, optionally, owner data (virtual rows). A derived list overrides handle() for its mouse
// and key messages (calling def_handle() first where the control's own behaviour is wanted)
// and draw_item() for owner drawing; the parent hands WM_DRAWITEM back to it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>
#include <vector>

#include "ui/window.h"

namespace kelvane::ui {

class list_control : public window {
 public:
  list_control() = default;

  // style: WS_CHILD | WS_VISIBLE | LVS_REPORT ..., optionally LVS_OWNERDRAWFIXED and LVS_OWNERDATA.
  bool create(HWND parent, int id, DWORD style, const RECT& rect);

  int insert_column(int index, const std::string& heading, int format /* LVCFMT_LEFT ... */, int width);
  bool delete_column(int index);
  int column_count() const;
  int column_width(int index) const;
  bool set_column_width(int index, int width);

  bool delete_all_items();

  // Owner-data lists: the number of virtual rows (the control asks for nothing else when it
  // is owner-drawn too).
  bool set_item_count(int count);

  // Selection.
  std::vector<int> selected_items() const;
  int next_selected(int after) const;  // -1 starts the search; -1 when none follows
  bool select_item(int index, bool selected);
  RECT item_rect(int index) const;

 protected:
  // One owner-drawn row; the default draws nothing.
  virtual void draw_item(const DRAWITEMSTRUCT& item) { (void)item; }
  // Owner data without owner drawing: the text of a cell (LVN_GETDISPINFO).
  virtual std::string item_text_for(int row, int sub_item) {
    (void)row;
    (void)sub_item;
    return std::string();
  }

  bool on_draw_item(const DRAWITEMSTRUCT& item) override;
  bool on_notify_reflect(NMHDR* header, LRESULT& result) override;

 private:
  std::wstring dispinfo_text_;  // must outlive the LVN_GETDISPINFO answer
};

}  // namespace kelvane::ui
