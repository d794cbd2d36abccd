#pragma once
// CInb: the painted box of the Info dialog with the program's name and version, a contact line
// and a web address drawn as a link. It has no data of its own; the variant comes from the
// settings at each paint.
#include <windows.h>

#include "ui/window.h"

namespace kelvane {

class CInb : public ui::window {
 public:
  CInb();
  ~CInb() override;

  // Makes the box as a child of the dialog: id 400, sunken, white, no notifications (so the
  // mouse over it reaches the dialog).
  bool create(HWND dialog, const RECT& rect);

  // Paints the box's client area into dc (tests paint into a memory DC). The variant is read
  // from the settings at each paint.
  void paint(HDC dc, const RECT& client) const;

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnPaint();
};

}  // namespace kelvane
