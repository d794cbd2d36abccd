#pragma once
// The small captioned tool window a floating toolbar sits in. It is owned by the frame, so it
// stays above it and goes with it. Its caption drags the bar (to dock it or move it), a
// double-click on the caption docks it again, and its close box hides the bar.
#include <windows.h>

#include "ui/window.h"

namespace kelvane::ui {

// What the floating window passes on to the bar in it (the docking toolbar).
class float_host {
 public:
  // The caption was taken (screen: the pointer); capture then takes the mouse and passes its
  // mouse messages to track until the drag ends.
  virtual void begin_drag(HWND capture, POINT screen) = 0;
  virtual bool track(HWND capture, UINT msg, LPARAM lp) = 0;
  virtual void caption_double_clicked() = 0;
  // The command that hides the bar, which the close box sends to the owner.
  virtual int hide_command() const = 0;

 protected:
  ~float_host() = default;
};

class float_window : public window {
 public:
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

  // Hidden at first; the bar places and shows it.
  bool create(HWND owner, float_host* bar);

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  float_host* bar_ = nullptr;
};

}  // namespace kelvane::ui
