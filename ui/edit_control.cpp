#include "ui/edit_control.h"

namespace kelvane::ui {

bool edit_control::create(HWND parent, int id, DWORD style, const RECT& rect) {
  return create_control(L"EDIT", "", style, 0, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, id);
}

}  // namespace kelvane::ui
