#pragma once
// A static splitter of one row and two columns: the views are made once and stay; the bar
// between them can be dragged. Column 0 keeps its ideal width, column 1 takes the rest.
#include <windows.h>

#include <memory>

#include "ui/view.h"
#include "ui/window.h"

namespace kelvane::ui {

class splitter : public window {
 public:
  static constexpr int kColumns = 2;

  bool create_static(HWND parent, int id);
  // Makes the pane's view as a child of the splitter; the splitter owns it from then on.
  bool create_view(int row, int column, std::unique_ptr<view> pane);
  view* pane(int row, int column) const;
  void set_column_info(int column, int ideal, int minimum);
  int column_width(int column) const;  // as laid out now
  int column_ideal() const { return ideal_; }

  void layout();
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  void on_destroyed() override;

 private:
  bool over_bar(int x) const;

  std::unique_ptr<view> panes_[kColumns];
  int ideal_ = 0;
  int minimum_ = 0;
  bool dragging_ = false;
};

}  // namespace kelvane::ui
