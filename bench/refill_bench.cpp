// Refill of the left pane: how long a folder of 100,000 entries takes from go_to_folder until its
// list is drawn, and proof that moving inside a tree of 200,000 entries never reads a folder
// again. Runs the real frame and views under Wine on a tree that an in-memory file system
// gives the real scan. Prints "refill ms: M" last.
//   refill_bench [--quick]   (quick: 5,000 entries in the folder, a tree of 2,000)
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
#include "views/go_to_folder.h"
#include "views/mvwl.h"

using namespace kelvane;
using namespace kelvane::bench;

int main(int argc, char** argv) {
  const bool quick = quick_mode(argc, argv);
  const int big_files = quick ? 5000 : 100000;
  const int tree_folders = quick ? 20 : 200;
  const int folder_files = quick ? 99 : 999;
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
  const std::string big = root + "\\BIG";
  const std::string tree = root + "\\TREE";
  disk.add_folder(big);
  for (int i = 0; i < big_files; ++i)
    disk.add_file(strf("%s\\file%06d.dat", big.c_str(), i), 1000 + (i * 7919) % 100000);
  disk.add_folder(tree);
  for (int d = 0; d < tree_folders; ++d) {
    for (int i = 0; i < folder_files; ++i)
      disk.add_file(strf("%s\\dir%03d\\f%03d.bin", tree.c_str(), d, i), 100 + d + i);
  }

  mapp app(bench_sources("Software\\Tarnwick\\KelvaneBench"));
  mvwl* left = open_main_window(app);
  if (left == nullptr) return 1;

  app.mdir.set_source(&disk);

  // The large folder.
  if (!scan(app, *left, big)) return 1;
  std::vector<double> runs;
  for (int run = 0; run < 5; ++run) {
    const double t0 = now_ms();
    go_to_folder(app.mdir, &left->folder_host(), FolderRequest{app.mdir.ptop.load(), big});
    UpdateWindow(left->list().hwnd());  // the visible rows are painted before this returns
    runs.push_back(now_ms() - t0);
    app.pump();
  }
  std::printf("rows listed: %d\n", left->list().rows());
  std::sort(runs.begin(), runs.end());

  // The tree: open a folder, go back up, open another; nothing is read again.
  if (!scan(app, *left, tree)) return 1;
  const size_t reads = disk.list_calls();
  double open_worst = 0;
  int opened = 0;
  for (int row : {2, 1, 3, 1, 7, 1}) {
    left->list().select_item(-1, false);
    left->list().select_item(row, true);
    const double t0 = now_ms();
    left->list().OnOpen();
    UpdateWindow(left->list().hwnd());
    open_worst = std::max(open_worst, now_ms() - t0);
    ++opened;
    if (app.busy.load() != 0) {
      std::printf("open started a scan\n");
      return 1;
    }
  }
  std::printf("tree entries: %d files, %d folders\n", app.mdir.ptop.load()->nfil.load(),
              app.mdir.ptop.load()->ndir.load());
  std::printf("opens: %d, folders read again: %u, slowest open ms: %.1f\n", opened,
              static_cast<unsigned>(disk.list_calls() - reads), open_worst);
  std::printf("refill ms: %.0f\n", runs[runs.size() / 2]);
  app.free_main_window();
  return 0;
}
