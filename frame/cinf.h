#pragma once
// CInf: the modal Info dialog (dialog resource 401) with its painted box CInb. A click on the
// web address starts the registered browser on it; the pointer becomes a hand over it.
#include <windows.h>

#include "frame/cinb.h"
#include "ui/dialog.h"

namespace kelvane {

class CInf : public ui::dialog {
 public:
  CInf();
  ~CInf() override;

  // Runs the dialog over the main window until OK or the close box ends it.
  INT_PTR DoModal();

  // After the dialog's controls exist: makes the box. Returns 1 (the system sets the focus).
  int OnInitDialog();
  // Points in the dialog's client pixels.
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonDown(UINT flags, POINT point);

  CInb box;

 protected:
  bool on_init() override { return OnInitDialog() != 0; }
  bool handle(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
};

}  // namespace kelvane
