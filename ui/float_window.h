#pragma once
// The small captioned tool window a floating toolbar sits in. It is owned by the frame, so it
// stays above it and goes with it. Its caption drags the bar (to dock it or move it), a
// double-click on the caption docks it again, and its close box hides the bar.
#include <windows.h>

#include "ui/window.h"

namespace kelvane::ui {

class dock_bar;

class float_window : public window {
 public:
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

  // Hidden at first; the bar places and shows it.
  bool create(HWND owner, dock_bar* bar);

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  dock_bar* bar_ = nullptr;
};

}  // namespace kelvane::ui
