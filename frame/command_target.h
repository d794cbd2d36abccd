#pragma once
// What the commands of the command table act on: the main frame as a command sees it. The frame
// implements it and routes every command through the table, so the table never includes it.
namespace kelvane {

namespace ui {
class frame_window;
}
class mvwl;
class mvwr;

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // The list and the pie chart; nullptr before they are made.
  virtual mvwl* left_view() const = 0;
  virtual mvwr* right_view() const = 0;
  // The path field's request: its text is the folder asked for.
  virtual void scan_path_field() = 0;
  // The frame's own window: its bars and its closing.
  virtual ui::frame_window& window() = 0;
};

}  // namespace kelvane
