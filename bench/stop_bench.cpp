// How soon a scan stops when the program closes: the scan runs on each folder given, at every
// log level and in both modes, and is stopped after a delay; the time from the request to the
// scan thread's end is measured. Then the time a finished tree takes to be freed. Prints
// "slowest stop: T ms" last.
//   stop_bench [--quick] FOLDER...   (quick: each scan stopped once, 50 ms after its start)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "base/strf.h"
#include "base/utf8_path.h"
#include "bench/bench_clock.h"
#include "scan/mdir.h"
#include "scan/win32_dir_source.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

// A scan of folder on the real file system, as the program starts one.
void start_on(mdir& holder, const std::string& folder, Quiet& client) {
  holder.set_source(&win32_dir_source());
  holder.start_scan(folder, &client);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool quick = quick_mode(argc, argv);
  const std::vector<int> delays = quick ? std::vector<int>{50} : std::vector<int>{100, 500, 1500};
  std::vector<std::string> folders;
  for (int a = 1; a < argc; ++a) {
    if (argv[a][0] != L'-') folders.push_back(narrow(argv[a]));
  }
  if (folders.empty()) {
    std::fprintf(stderr, "usage: stop_bench [--quick] FOLDER...\n");
    return 2;
  }
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string log_path = strf("%skelvane-stop-bench.log", temp);
  double slowest = 0;
  std::string slowest_case;
  for (const std::string& folder : folders) {
    for (int level = 0; level <= 3; ++level) {
      for (int sq = 0; sq <= 1; ++sq) {
        for (const int delay : delays) {
          Settings settings;
          settings.vl = level;
          settings.sq = sq;
          Log log;
          if (level > 0 && !log.open(log_path)) return 1;
          std::atomic<int> busy{0};
          mdir holder(log, settings, busy);
          Quiet client(busy);
          start_on(holder, folder, client);
          const bool ended = client.wait_for(std::chrono::milliseconds(delay));
          const double t0 = now_ms();
          holder.stop_scan();
          const double ms = now_ms() - t0;
          const std::string name = strf("%s, level %d, %s, after %d ms", folder.c_str(), level,
                                        sq ? "one thread" : "readers", delay);
          std::printf("stop: %6.1f ms  %s%s\n", ms, name.c_str(), ended ? " (scan had ended)" : "");
          std::fflush(stdout);
          if (!ended && ms > slowest) {
            slowest = ms;
            slowest_case = name;
          }
        }
      }
    }
    // The tree of a finished scan is freed when the program ends.
    Settings settings;
    Log log;
    std::atomic<int> busy{0};
    mdir holder(log, settings, busy);
    Quiet client(busy);
    start_on(holder, folder, client);
    client.wait();
    holder.stop_scan();
    lobj* top = holder.ptop.load();
    const long entries = top ? 1 + top->ndir.load() + top->nfil.load() : 0;
    const double t0 = now_ms();
    holder.free_tree();
    std::printf("free: %.1f ms for %ld entries of %s\n", now_ms() - t0, entries, folder.c_str());
  }
  DeleteFileA(log_path.c_str());
  std::printf("slowest stop: %.1f ms (%s)\n", slowest, slowest_case.c_str());
  return 0;
}
