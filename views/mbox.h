#pragma once
// mbox: the list control of the left view. It paints its rows itself (names, size figures,
// the drive usage bars and the colour keys that tie entries to their pie slices) and turns a
// double-click, a right-click and the Enter, Backspace and Delete keys into the item actions.
//
// The rows are virtual (owner data): the list holds only their number and asks for nothing
// else, so a folder of a hundred thousand entries is listed at once. A row's name comes from
// the drive table or the slice table.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "res/resource_ids.h"
#include "scan/mdir.h"
#include "scan/mdrv.h"
#include "ui/list_control.h"
#include "views/item_actions.h"
#include "views/list_geometry.h"
#include "views/list_keys.h"
#include "views/slice_table.h"

namespace kelvane {

namespace ui {
class view;
}

class mbox : public ui::list_control, private ItemHost {
 public:
  static constexpr int kMenuDrives = ID_MENU_DRIVES;
  static constexpr int kMenuFiles = ID_MENU_ITEMS;

  // view: the view around the list, which the commands of its context menus reach.
  mbox(const ListContext& context, ListOwner* owner, ui::view* view);
  ~mbox() override;

  int mode = kListDrives;

  // Creates the control; owner_drawn false leaves the painting to the control (names only).
  bool create_list(HWND parent, int id, bool owner_drawn);

  // The headings of the mode's columns (list_columns) unless the list holds them already,
  // widths left to the view's sizing.
  void insert_columns();

  // The rows: the drives (count rows) or the navigation rows and the slice table's entries.
  void show_rows(int count);
  int rows() const { return rows_; }
  std::string row_name(int row) const;

  void OnProp() { actions_.OnProp(); }
  void OnOpen() { actions_.OnOpen(); }
  void OnDelete() { actions_.OnDelete(); }
  void finish_delete(const DeleteRun& run) { actions_.finish_delete(run); }
  ItemActions& actions() { return actions_; }

  // What a key pressed in the list does to its rows (Enter, Backspace); the frame leaves
  // such a key to the list rather than rescanning.
  ListKeyAction key_action(unsigned virtual_key);

  // The right-click test: whether a point (client coordinates) lies on or above the last row.
  bool point_on_rows(POINT p) const;

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  void draw_item(const DRAWITEMSTRUCT& item) override;
  std::string item_text_for(int row, int sub_item) override;
  // The virtual rows' part of the control's search as the user types (LVN_ODFINDITEM).
  bool on_notify_reflect(NMHDR* header, LRESULT& result) override;

 private:
  // ItemHost
  int list_mode() override { return mode; }
  int row_count() override { return rows_; }
  std::vector<int> selected_rows() override { return selected_items(); }
  std::string row_text(int row) override { return row_name(row); }
  void wait_cursor() override;
  void* owner_window() override;

  void context_menu(POINT client_point);

  ListContext context_;
  ItemActions actions_;
  ui::view* view_;
  int rows_ = 0;
};

}  // namespace kelvane
