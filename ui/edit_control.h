#pragma once
// A plain single-line edit control. The object exists before its window (the path field is
// made later by the frame, as a child of the toolbar).
#include <windows.h>

#include "ui/window.h"

namespace kelvane::ui {

class edit_control : public window {
 public:
  bool create(HWND parent, int id, DWORD style, const RECT& rect);
};

}  // namespace kelvane::ui
