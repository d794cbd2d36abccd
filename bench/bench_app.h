#pragma once
// What the benchmarks that run the program's own windows share: a root for their in-memory
// trees, and scans that run the message loop until they end, as the program does.
#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "app/mapp.h"
#include "base/message_box.h"
#include "base/utf8_path.h"
#include "bench/bench_clock.h"
#include "frame/mwin.h"
#include "scan/disk_probe.h"
#include "ui/window_dpi.h"
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

// A folder for an in-memory tree on a drive this machine has: the program refuses a path on a
// drive the system does not know before it asks the tree's source anything. Empty when the
// machine has no drive at all.
inline std::string bench_root() {
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (disk_probe().drive_known(letter)) return std::string(1, letter) + ":\\KELVANE-BENCH";
  }
  return std::string();
}

// The program's path as the build makes it, in the folder above this benchmark's: the colour
// file the settings read is found beside it.
inline std::string program_beside_build() {
  std::wstring self(32768, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  std::string folder = narrow(self);
  for (int up = 0; up < 2; ++up) folder.erase(std::min(folder.size(), folder.find_last_of('\\')));
  return folder + "\\kelvane.exe";
}

// The program's sources for a benchmark: settings under a key of its own, the colour file
// beside the build.
inline CguiSources bench_sources(const char* key) {
  CguiSources sources;
  sources.key = key;
  sources.use_environment_temp = false;
  sources.program_path = program_beside_build();
  return sources;
}

// Makes and shows the main window, width by height pixels unless width is 0 (then as the
// settings place it), and paints it; its left view, or nullptr, said why.
inline mvwl* open_main_window(mapp& app, int width = 0, int height = 0) {
  if (!app.create_main_window(std::make_unique<mwin>())) {
    std::printf("no main window\n");
    return nullptr;
  }
  // The size is written for 96 DPI: at another display scale the frame is as large as the same
  // picture is there.
  const Dpi dpi = ui::dpi_of_window(app.frame()->hwnd());
  if (width > 0) app.frame()->move(0, 0, dpi.px(width), dpi.px(height), true);
  app.frame()->show(SW_SHOW);
  UpdateWindow(app.frame()->hwnd());
  mvwl* left = app.frame()->left_view();
  if (left == nullptr) std::printf("no left view\n");
  return left;
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

// A scan of path as the path field and Enter start it; false, said why, when it gave no tree.
inline bool scan(mapp& app, mvwl& left, const std::string& path) {
  left.OnEnumDir(path);
  if (!wait_for_scan(app)) {
    std::printf("the scan of %s did not end\n", path.c_str());
    return false;
  }
  if (app.mdir.ptop.load() == nullptr) {
    std::printf("the scan of %s gave no tree\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace kelvane::bench
