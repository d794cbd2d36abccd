#pragma once
// What the benchmarks that run the program's own windows share: scans that run the message
// loop until they end, as the program does.
#include <commctrl.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/mapp.h"
#include "base/message_box.h"
#include "bench/bench_clock.h"
#include "views/mvwl.h"

namespace kelvane::bench {

// The controls the program's windows are made of.
inline void init_controls() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

// Messages are printed and answered No: a message box would wait for a click that never comes.
inline void print_messages() {
  set_message_handler([](const std::string& text, unsigned) {
    std::printf("message: %s\n", text.c_str());
    std::fflush(stdout);
    return kAnswerNo;
  });
}

// Runs the message loop until the scan (or a deletion) has ended (bounded: a broken scan ends
// the run).
inline bool wait_for_scan(mapp& app) {
  const double limit = now_ms() + 600000;
  while (app.busy.load() != 0) {
    if (now_ms() > limit) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    app.pump();
  }
  app.pump();
  return true;
}

// A scan of path as the path field and Enter start it.
inline bool scan(mapp& app, mvwl& left, const std::string& path) {
  app.mdir.cdir = path;
  left.OnEnumDir();
  return wait_for_scan(app);
}

}  // namespace kelvane::bench
