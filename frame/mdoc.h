#pragma once
// mdoc: the document. It holds no data (all of it lives in the application object); its title
// names the folder being shown and goes into the frame's caption.
#include <string>

namespace kelvane {

namespace ui {
class frame_window;
}

class mdoc {
 public:
  mdoc();
  ~mdoc();
  mdoc(const mdoc&) = delete;
  mdoc& operator=(const mdoc&) = delete;

  // The new-document step: the untitled name. 1 on success.
  int OnNewDocument();

  void SetTitle(const std::string& title);
  // "<title> - Kelvane".
  std::string frame_title() const;
  // The window whose caption shows the title.
  void set_frame(ui::frame_window* frame) { frame_ = frame; }

 private:
  std::string title_;
  ui::frame_window* frame_ = nullptr;
};

}  // namespace kelvane
