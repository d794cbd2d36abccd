#pragma once
// The toolbar: bitmap buttons from one strip of 16 x 16 images (at a display scale above 100 %
// taken to cells of that scale pixel by pixel, never smoothed), separators (a separator can be
// widened to hold a child such as an edit field), checked buttons and tooltips. Its tooltip
// requests and hot-item changes go to the parent, the frame, as WM_NOTIFY.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <vector>

#include "ui/dc.h"
#include "ui/window.h"

namespace kelvane::ui {

class toolbar : public window {
 public:
  toolbar() = default;
  ~toolbar() override;

  // flat: TBSTYLE_FLAT. The bar is laid out by the frame, not by the control.
  bool create(HWND parent, int id, bool flat);
  // Adds the images of a bitmap resource (count images of 16 x 16). False on failure.
  bool load_bitmap(int resource_id, int count);
  // The same images in cells of cell x cell pixels (the pixel maps enlarged pixel by pixel),
  // replacing those shown; the cell size also sizes the buttons' image room. False on failure.
  bool load_scaled_bitmap(int resource_id, int count, int cell);
  int image_size() const { return image_size_; }
  // One button per id; 0 makes a separator. Images are taken in order for the buttons.
  bool set_buttons(const std::vector<int>& ids);
  // Turns the button at index into a separator with id and width (the place of a child control).
  bool set_separator(int index, int id, int width);
  // The buttons' size; their images keep the size of the images loaded.
  bool set_button_size(int width, int height);
  void set_flat(bool flat);
  bool is_flat() const;

  RECT item_rect(int index) const;  // toolbar client coordinates
  int button_count() const;
  int command_at(int index) const;
  bool check_button(int id, bool checked);
  bool is_checked(int id) const;
  int height() const;  // what the frame gives the bar

  // Space left of the first button (a gripper's place).
  void set_indent(int pixels);
  // Every button on a row of its own (a bar docked on the left or right), or all on one row.
  void set_stacked(bool stacked);
  SIZE button_size() const;
  // The index of the button (not separator) under a point of the client area, or -1.
  int button_at(POINT client_point) const;

 protected:
  void on_destroyed() override;

 private:
  int images_ = 0;
  int image_size_ = 16;
  HIMAGELIST scaled_ = nullptr;  // ours, when the images were scaled again
  gdi_object<HBITMAP> added_;    // the first scaled strip, kept while the control may read it
};

}  // namespace kelvane::ui
