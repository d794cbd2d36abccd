#include "ui/dialog.h"

#include "ui/resources.h"

namespace kelvane::ui {

INT_PTR dialog::run_modal(HWND owner) {
  return DialogBoxParamW(instance(), MAKEINTRESOURCEW(template_id_), owner, dialog_proc,
                         reinterpret_cast<LPARAM>(this));
}

void dialog::end(INT_PTR code) {
  if (hwnd_) EndDialog(hwnd_, code);
}

bool dialog::handle(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  (void)lp;
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    end(LOWORD(wp));
    result = TRUE;
    return true;
  }
  return false;
}

INT_PTR CALLBACK dialog::dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  dialog* self = reinterpret_cast<dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<dialog*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->hwnd_ = hwnd;
    return self->on_init() ? TRUE : FALSE;
  }
  if (!self) return FALSE;
  INT_PTR result = 0;
  const bool handled = self->handle(msg, wp, lp, result);
  if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
  return handled ? result : FALSE;
}

}  // namespace kelvane::ui
