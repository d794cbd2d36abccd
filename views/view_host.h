#pragma once
// What the views ask of the window that holds them. The frame implements it and hands itself
// to the views it makes, so the views never include the frame.
#include <string>

namespace kelvane {

namespace ui {
class status_bar;
}

class ViewHost {
 public:
  virtual ~ViewHost() = default;
  // The status bar with the folder and size panes; nullptr while it does not exist.
  virtual ui::status_bar* status_bar() = 0;
  // The status bar's message pane: a text, or the idle text "Ready".
  virtual void show_status(const std::string& text) = 0;
  virtual void show_ready() = 0;
  // Runs a command of the menus and the toolbar as the frame runs it (its command table), with
  // the marks of the units and the bars set afterwards.
  virtual void run_command(int id) = 0;
  // The document's title: the folder being shown (it goes into the frame's caption).
  virtual void show_folder_title(const std::string& folder) = 0;
  // The whole window with every pane and bar in it is drawn again.
  virtual void redraw_all() = 0;
  // The pie chart beside the list is drawn again.
  virtual void redraw_pie() = 0;
};

}  // namespace kelvane
