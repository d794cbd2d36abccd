// Painting the pie: how long a folder of 100,000 entries takes from the invalidation of the
// pie pane until it is painted, with about 100 entries wide enough for a sector (most of them
// labelled, threshold 1 degree) and the rest in the hatched remainder. The baseline is the
// same picture from a folder of only 200 entries, painted in the same run: the paint must not
// grow with the number of narrow entries. Runs the real frame and views under Wine on trees
// that an in-memory file system gives the real scan. Prints "pie ms: M" last.
//   pie_bench [--quick]   (quick: 10,000 entries in the large folder)
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/mapp.h"
#include "base/message_box.h"
#include "base/strf.h"
#include "bench/bench_app.h"
#include "bench/bench_clock.h"
#include "frame/mwin.h"
#include "tests/support/memory_dir_source.h"
#include "views/mvwl.h"
#include "views/mvwr.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

// Median of five paints of the pie pane, each from its invalidation until it is painted.
double median_paint(mapp& app, mvwr& pie) {
  std::vector<double> runs;
  for (int run = 0; run < 5; ++run) {
    app.pump();
    const double t0 = now_ms();
    InvalidateRect(pie.hwnd(), nullptr, TRUE);
    UpdateWindow(pie.hwnd());
    GdiFlush();
    runs.push_back(now_ms() - t0);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

// 100 wide files of about 2.4 to 3.6 degrees (300 degrees in all) and narrow ones that share
// the last 60 degrees.
void add_folder(MemoryDirSource& disk, const std::string& folder, int narrow) {
  disk.add_folder(folder);
  for (int i = 0; i < 100; ++i)
    disk.add_file(strf("%s\\wide%03d.dat", folder.c_str(), i), 1000000 + 5000 * i);
  const long long rest = 24950000;
  for (int i = 0; i < narrow; ++i) disk.add_file(strf("%s\\n%06d.bin", folder.c_str(), i), rest / narrow);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = quick_mode(argc, argv);
  init_controls();
  print_messages();
  const std::string root = bench_root();
  if (root.empty()) {
    std::printf("no drive for the in-memory tree\n");
    return 1;
  }
  // Declared before the program: its scans are collected when it goes, before the tree they
  // read goes.
  MemoryDirSource disk;
  const std::string big_folder = root + "\\BIG";
  const std::string few = root + "\\FEW";
  add_folder(disk, big_folder, quick ? 9900 : 99900);
  add_folder(disk, few, 100);

  mapp app(bench_sources("Software\\Tarnwick\\KelvaneBench"));
  app.CGUI.tm = 1;
  // A pane large enough for the labels.
  mvwl* left = open_main_window(app, 1000, 700);
  mvwr* pie = app.frame() ? app.frame()->right_view() : nullptr;
  if (left == nullptr || pie == nullptr) {
    std::printf("no views\n");
    return 1;
  }

  app.mdir.set_source(&disk);

  if (!scan(app, *left, few)) return 1;
  const double baseline = median_paint(app, *pie);
  if (!scan(app, *left, big_folder)) return 1;
  std::printf("entries: %d, radius: %d, DPI: %d\n", left->slices().count(), pie->rd,
              ui::window_dpi(pie->hwnd()));
  const double big = median_paint(app, *pie);
  std::printf("baseline ms (200 entries): %.1f\n", baseline);
  std::printf("ratio: %.2f\n", baseline > 0 ? big / baseline : 0.0);
  std::printf("pie ms: %.1f\n", big);
  app.free_main_window();
  return 0;
}
