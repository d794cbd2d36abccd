#include "ui/application.h"

#include "ui/post_to_ui.h"
#include "ui/window.h"

namespace kelvane::ui {
namespace {
application* the_application = nullptr;
}

application::application() { the_application = this; }

application::~application() {
  if (the_application == this) the_application = nullptr;
}

application* application::current() { return the_application; }

bool application::starts_burst(const MSG& msg) {
  // Messages that come by themselves all the time would keep the idle work running forever.
  return msg.message != WM_PAINT && msg.message != WM_TIMER && msg.message != 0x0118 /* caret blink */;
}

bool application::process(const MSG& msg) {
  if (msg.message == WM_QUIT) {
    quit_ = true;
    return false;
  }
  MSG copy = msg;
  if (!(main_ && main_->pre_translate(copy))) {
    TranslateMessage(&copy);
    DispatchMessageW(&copy);
  }
  return true;
}

int application::run() {
  start_ui_queue();
  if (!InitInstance()) {
    stop_ui_queue();
    return 0;
  }
  MSG msg{};
  long idle_count = 0;
  bool idle = true;
  for (;;) {
    while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idle_count++)) idle = false;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    process(msg);
    if (starts_burst(msg)) {
      idle = true;
      idle_count = 0;
    }
  }
  ExitInstance();
  stop_ui_queue();
  return static_cast<int>(msg.wParam);
}

bool application::pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!process(msg)) return false;
  }
  for (long count = 0; OnIdle(count); ++count) {
  }
  return !quit_;
}

}  // namespace kelvane::ui
