#pragma once
// A modal dialog made from a dialog template resource.
#include <windows.h>

namespace kelvane::ui {

class dialog {
 public:
  explicit dialog(int template_id) : template_id_(template_id) {}
  virtual ~dialog() = default;
  dialog(const dialog&) = delete;
  dialog& operator=(const dialog&) = delete;

  // Runs the dialog until it is ended; returns the code given to end() (IDOK, IDCANCEL), or -1
  // when it could not be made.
  INT_PTR run_modal(HWND owner);
  HWND hwnd() const { return hwnd_; }

 protected:
  // After the controls exist; true lets the system set the focus.
  virtual bool on_init() { return true; }
  // Every message; true when handled (result then goes back to the system).
  virtual bool handle(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result);
  void end(INT_PTR code);

 private:
  static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  int template_id_;
  HWND hwnd_ = nullptr;
};

}  // namespace kelvane::ui
