#pragma once
// The status bar: a message pane that takes whatever width the fixed panes leave, then panes
// known by id with widths that can be changed at any time.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/window.h"

namespace kelvane::ui {

class status_bar : public window {
 public:
  bool create(HWND parent, int id);

  // One pane per id; id 0 is the stretching message pane.
  void set_indicators(const std::vector<int>& ids);
  // Pane at index gets id, style (0 normal) and width in pixels (negative counts as 0).
  void set_pane_info(int index, int id, unsigned style, int width);
  int pane_count() const { return static_cast<int>(panes_.size()); }
  int pane_index(int id) const;  // -1 when no pane has the id
  int pane_width(int index) const;

  void set_pane_text(int index, const std::string& text, bool repaint_now = false);
  // False when no pane has the id.
  bool set_text_by_id(int id, const std::string& text, bool repaint_now = false);
  std::string pane_text(int index) const;

  // The message pane (index 0).
  void set_message(const std::string& text) { set_pane_text(0, text, true); }
  std::string message() const { return pane_text(0); }

  // Lays the panes out again for the bar's width; the frame calls it after sizing the bar.
  void layout();
  int height() const;

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct pane {
    int id = 0;
    unsigned style = 0;
    int width = 0;
  };
  std::vector<pane> panes_;
};

}  // namespace kelvane::ui
