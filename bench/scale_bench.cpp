// How the scan's cost grows with the tree: trees of 0.5, 1, 2 and 4 million entries made by
// the in-memory file system (so the disk is not the limit), each scanned by the program's
// scan (the walk, the totals pass and the first refill's slice table of the root). Prints the
// time and the bytes per entry for each, "scale bytes spread: S%" (the largest bytes per entry
// over the smallest, minus one) and last "scale growth: G": in each round the largest tree and
// the smallest are scanned one right after the other, and G is the median over the rounds of
// the time per entry at the largest over that at the smallest (1.0: the cost grows linearly).
// Comparing the two in the same moment keeps the machine's changing load out of the figure.
//   scale_bench [--quick] [ROUNDS]   (quick: 10,000 to 40,000 entries)
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "bench/bench_clock.h"
#include "scan/mdir.h"
#include "tests/support/memory_dir_source.h"
#include "views/slice_table.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

size_t private_bytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// The same shape at every size: folders of 4 to 22 files and 0 to 3 subfolders, filled
// breadth first, names of 6 to 14 characters.
void make_tree(MemoryDirSource& fs, int entries) {
  fs.reserve(static_cast<size_t>(entries) + 2);
  const int drive = fs.append(0, "M:", true, 0);
  const int top = fs.append(drive, "data", true, 0);
  std::vector<int> queue{top};
  size_t head = 0;
  int made = 0;
  static const int kFiles[] = {4, 9, 14, 22, 12, 7};
  static const int kFolders[] = {1, 2, 0, 3, 1, 2, 1};
  char name[32];
  for (unsigned step = 0; made < entries; ++step) {
    const int folder = queue[head++];
    for (int i = 0, n = kFiles[step % 6]; i < n && made < entries; ++i, ++made) {
      std::snprintf(name, sizeof name, "%.*s%u.dat", static_cast<int>(step % 7), "abcdefg", made);
      fs.append(folder, name, false, (made * 7919u) % 100000u);
    }
    for (int i = 0, n = kFolders[step % 7]; i < n && made < entries; ++i, ++made) {
      std::snprintf(name, sizeof name, "d%u", made);
      queue.push_back(fs.append(folder, name, true, 0));
    }
    if (head == queue.size()) queue.push_back(fs.append(folder, "more", true, 0)), ++made;
  }
}

// How soon a scan ends once the program asks it to (as when it closes), asked at points
// spread over the walk and, with the log at level 1, over the file list dump that follows it.
void stop_latency(MemoryDirSource& fs, int entries, double ns_per_entry) {
  const double scan_ms = ns_per_entry * entries / 1e6;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string log_path = std::string(temp) + "scale_bench.log";
  double slowest = 0;
  const char* slowest_at = "";
  for (int level : {0, 1}) {
    for (double at : {0.05, 0.2, 0.4, 0.6, 0.8, 0.95, 1.1, 1.3}) {
      if (level == 0 && at > 1) continue;
      Log log;
      if (level == 1) log.open(log_path);
      Settings settings;
      settings.vl = level;
      std::atomic<int> busy{0};
      mdir holder(log, settings, busy);
      holder.set_source(&fs);
      Quiet client(busy);
      holder.start_scan("M:\\data", &client);
      Sleep(static_cast<DWORD>(scan_ms * at));
      const double t0 = now_ms();
      holder.stop_scan();
      const double ms = now_ms() - t0;
      if (ms > slowest) {
        slowest = ms;
        slowest_at = at > 1 ? "the file list dump" : "the walk";
      }
      if (holder.ptop) holder.free_tree();
    }
  }
  DeleteFileA(log_path.c_str());
  std::printf("slowest stop: %.0f ms (during %s; %d entries)\n", slowest, slowest_at, entries);
}

// One scan of the tree in fs (with the slice table of its root), in nanoseconds per entry;
// bytes, when given, gets the private bytes the tree added per entry. Negative when the scan
// failed.
double scan_once(MemoryDirSource& fs, Log& log, const Settings& settings, std::atomic<int>& busy,
                 double* bytes = nullptr) {
  mdir holder(log, settings, busy);
  holder.set_source(&fs);
  const size_t before = private_bytes();
  Quiet client(busy);
  const double t0 = now_ms();
  holder.start_scan("M:\\data", &client);
  client.wait();
  SliceTable table;
  table.fill(holder.ptop, holder.ptop);
  const double t1 = now_ms();
  // Collected before the figures are read, and before the tree it read can go.
  holder.stop_scan();
  table.clear();
  const size_t after = private_bytes();
  lobj* top = holder.ptop;
  if (!client.ok || !top) return -1;
  const double entries = 1.0 + top->ndir.load() + top->nfil.load();
  if (bytes != nullptr) *bytes = static_cast<double>(after - before) / entries;
  return (t1 - t0) * 1e6 / entries;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = quick_mode(argc, argv);
  int rounds = 3;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] != '-') rounds = std::max(1, std::atoi(argv[i]));
  }
  Log log;
  Settings settings;
  std::atomic<int> busy{0};
  const std::vector<int> sizes =
      quick ? std::vector<int>{10000, 20000, 40000} : std::vector<int>{500000, 1000000, 2000000, 4000000};
  // The smallest tree stays for the rounds at the largest.
  MemoryDirSource smallest;
  make_tree(smallest, sizes.front());
  std::vector<double> bytes, growth;
  std::printf("%10s %14s %16s\n", "entries", "ns per entry", "bytes per entry");
  for (int size : sizes) {
    MemoryDirSource other;
    MemoryDirSource& fs = size == sizes.front() ? smallest : other;
    if (&fs == &other) make_tree(fs, size);
    std::vector<double> per_entry_ns;
    double per_entry_bytes = 0;
    for (int round = 0; round < rounds; ++round) {
      const double ns = scan_once(fs, log, settings, busy, round == 0 ? &per_entry_bytes : nullptr);
      if (ns < 0) {
        std::fprintf(stderr, "scan of %d entries failed\n", size);
        return 1;
      }
      per_entry_ns.push_back(ns);
      if (size == sizes.back()) {
        const double small_ns = scan_once(smallest, log, settings, busy);
        if (small_ns <= 0) {
          std::fprintf(stderr, "scan of %d entries failed\n", sizes.front());
          return 1;
        }
        growth.push_back(ns / small_ns);
      }
    }
    bytes.push_back(per_entry_bytes);
    std::printf("%10d %14.0f %16.1f\n", size, median(per_entry_ns), bytes.back());
    std::fflush(stdout);
    if (size == sizes.back()) stop_latency(fs, size, median(per_entry_ns));
  }
  const double bytes_spread =
      *std::max_element(bytes.begin(), bytes.end()) / *std::min_element(bytes.begin(), bytes.end()) - 1.0;
  std::printf("scale bytes spread: %.1f%%\n", bytes_spread * 100);
  std::printf("scale growth: %.2f\n", median(growth));
  return 0;
}
