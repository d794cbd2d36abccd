#pragma once
// A toolbar that docks. It carries a gripper (left of the buttons when horizontal, above them
// when vertical); dragging it by the gripper, by a spot that is no button, or by the caption of
// its floating window shows an outline of where it would go, and on release its host decides:
// docked on a side of the frame, or floating in a small tool window owned by the frame. The
// host owns the rules; this class does the windows.
//
// The bar's commands and notifications keep going to the frame it was made in, wherever it
// sits, and showing or hiding the bar shows or hides its floating window with it.
#include <windows.h>

#include "ui/float_window.h"
#include "ui/toolbar.h"

namespace kelvane::ui {

// What the bar asks of its frame. Points and rectangles are in screen coordinates; grab is
// where the pointer took the bar, relative to the bar's top-left corner.
class dock_host {
 public:
  // The outline of the bar's place should it be dropped now.
  virtual RECT drop_outline(POINT pointer, POINT grab) = 0;
  virtual void drop(POINT pointer, POINT grab) = 0;
  // The floating window's caption was double-clicked.
  virtual void dock_default() = 0;

 protected:
  ~dock_host() = default;
};

class dock_bar : public toolbar, public float_host {
 public:
  static constexpr int kGripper = 8;  // the gripper's strip, in pixels at 96 DPI

  ~dock_bar() override;

  // Gives the bar its gripper and lets it be dragged. Call once the bar is made in its frame.
  void enable_docking(dock_host* host);

  // Into the frame, one button a row when vertical; the frame then places it.
  void dock(bool vertical);
  // Horizontal, into the floating window, whose client area (screen) becomes client.
  bool float_at(const RECT& client);
  bool floating() const { return floating_; }
  bool vertical() const { return vertical_; }
  float_window& floater() { return float_; }
  // The floating window's client area changes size, keeping its place.
  void resize_float(int width, int height);
  // The floating window's border and caption around its client area (all positive).
  RECT float_insets() const;
  // The room the bar takes docked: the height of a horizontal bar, the width of a vertical one.
  int thickness(bool vertical) const;
  // The gripper's strip at the bar's display scale; rescale_gripper gives it the bar's new one.
  int gripper() const;
  void rescale_gripper();

  // The drag. capture: the window that takes the mouse until release (the bar, or the floating
  // window when its caption was taken); it passes its mouse messages to track.
  void begin_drag(HWND capture, POINT screen) override;
  bool track(HWND capture, UINT msg, LPARAM lp) override;
  void caption_double_clicked() override;
  // The bar's own id: its show-or-hide command.
  int hide_command() const override { return id(); }

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void set_vertical(bool vertical);
  bool far_from_start(POINT screen) const;
  void end_drag(bool drop, POINT screen);
  void show_outline(const RECT* rect);
  void draw_gripper(HDC dc, RECT strip) const;

  dock_host* host_ = nullptr;
  HWND frame_ = nullptr;
  float_window float_;
  bool floating_ = false;
  bool vertical_ = false;
  int margin_ = 0;  // what a docked bar adds to its buttons' size

  HWND capture_ = nullptr;
  POINT start_{};
  POINT grab_{};
  bool moved_ = false;
  bool outline_shown_ = false;
  RECT outline_{};
};

}  // namespace kelvane::ui
