#pragma once
// The tooltip over the pie's disc: one tool covering the view, whose text follows the slice
// under the pointer. An empty text shows nothing; a new text hides the old tip, and the new
// one appears when the pointer has rested again.
#include <windows.h>

#include <string>

namespace kelvane {

class PieTooltip {
 public:
  PieTooltip() = default;
  ~PieTooltip();
  PieTooltip(const PieTooltip&) = delete;
  PieTooltip& operator=(const PieTooltip&) = delete;

  bool create(HWND view);
  // The area of the view the tool covers (its client rectangle).
  void set_area(const RECT& area);
  void set_text(const std::string& text);
  void hide();
  const std::string& text() const { return text_; }
  HWND hwnd() const { return tip_; }

 private:
  HWND tip_ = nullptr;
  HWND view_ = nullptr;
  std::string text_;
};

}  // namespace kelvane
