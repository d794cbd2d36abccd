// The fast scan of an NTFS drive (its master file table, read through the raw device) against
// the program's walk of the same drive, in the same process: time and memory per entry of the
// finished tree for both; with COPY (the same tree on the host's own file system), the walk of
// that copy too, which is what a user's drive costs a walk under Wine without FUSE in between.
// Prints "table/walk ratio: R" and "bytes per entry: table T, walk W" last. Fails when the two
// trees differ in any entry: its path, kind, size or stamp.
//   ntfs_bench PATH [ROUNDS [COPY]]     (PATH a root such as T:\, whose raw device opens, or a
//                                        folder on that drive)
// For a folder the program's scan is its way for a folder (walked while small, else the table)
// against the plain walk; "way: table" or "way: walk" says which it took.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "base/utf8_path.h"
#include "bench/bench_clock.h"
#include "scan/mdir.h"
#include "scan/win32_dir_source.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

size_t private_bytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge and is filled.
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// One scan of the program from start_scan until scan_finished; returns its milliseconds.
double program_scan(mdir& holder, std::atomic<int>& busy, const std::string& drive, bool& ok) {
  if (holder.ptop) holder.free_tree();
  holder.pcur = nullptr;
  Quiet client(busy);
  const double t0 = now_ms();
  holder.start_scan(drive, &client);
  client.wait();
  const double t1 = now_ms();
  holder.stop_scan();
  ok = client.ok;
  return t1 - t0;
}

// The platform's folders under another name: the program walks any source but its own.
class WalkOnly : public DirSource {
 public:
  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override {
    return win32_dir_source().list(pattern, sink);
  }
  bool identity(const std::string& path, FolderId& id) override {
    return win32_dir_source().identity(path, id);
  }
};

// Every entry of the tree as a row (path below the root, kind, size, stamp), in one order.
std::vector<std::string> rows_of(const lobj* top) {
  std::vector<std::string> rows;
  auto path_of = [top](const lobj* n) {
    std::string path;
    for (; n && n != top; n = n->parent) path = std::string(n->name) + (path.empty() ? "" : "\\" + path);
    return path;
  };
  for (const lobj* f = top; f; f = f->next) {
    const std::string folder = path_of(f);
    if (f != top) rows.push_back(folder + "\td\t" + std::to_string(f->stamp));
    for (const lobj* file = f->first; file; file = file->next) {
      rows.push_back((folder.empty() ? "" : folder + "\\") + file->name + "\tf\t" +
                     std::to_string(file->size.load()) + "\t" + std::to_string(file->stamp));
    }
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Whether the two trees hold the same rows; the first rows of each that the other lacks are
// printed when not.
bool same_rows(const lobj* table, const lobj* walk) {
  std::vector<std::string> rows[2] = {rows_of(table), rows_of(walk)};
  if (rows[0] == rows[1]) return true;
  std::vector<std::string> only[2];
  std::set_difference(rows[0].begin(), rows[0].end(), rows[1].begin(), rows[1].end(),
                      std::back_inserter(only[0]));
  std::set_difference(rows[1].begin(), rows[1].end(), rows[0].begin(), rows[0].end(),
                      std::back_inserter(only[1]));
  for (int way = 0; way < 2; ++way) {
    for (size_t i = 0; i < only[way].size() && i < 10; ++i)
      std::fprintf(stderr, "only in the %s: %s\n", way == 0 ? "table" : "walk", only[way][i].c_str());
  }
  std::fprintf(stderr, "the table and the walk disagree: %zu and %zu rows of their own\n", only[0].size(),
               only[1].size());
  return false;
}

uint64_t entries_of(mdir& m) {
  lobj* top = m.ptop.load();
  return top ? 1 + static_cast<uint64_t>(top->ndir.load()) + static_cast<uint64_t>(top->nfil.load()) : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ntfs_bench PATH [ROUNDS [COPY]]\n");
    return 2;
  }
  const std::string drive = narrow(argv[1]);
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  const bool folder = !(drive.size() == 3 && drive[1] == ':' && drive[2] == '\\') && drive.size() != 2;
  const std::string copy = argc > 3 && !folder ? narrow(argv[3]) : std::string();
  // The scan's log says which way the tree came: the table's scans must have read the table.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string log_path = narrow(temp) + "ntfs_bench.log";
  Log log;
  if (!log.open(log_path)) {
    std::fprintf(stderr, "no log at %s\n", log_path.c_str());
    return 1;
  }
  Settings settings;
  std::atomic<int> busy{0};

  // Memory first, each in a fresh holder: private bytes before and after one tree is built.
  // The platform's own source: the program's way, the table where the raw device opens.
  WalkOnly walk_only;
  // Each way once beforehand, so that what the process sets up on first use (the device, the
  // folders' handles, the readers' threads) is charged to neither.
  for (int way = 0; way < 2; ++way) {
    mdir holder(log, settings, busy);
    holder.set_source(way == 0 ? &win32_dir_source() : static_cast<DirSource*>(&walk_only));
    bool ok = false;
    program_scan(holder, busy, drive, ok);
  }
  double per_entry[2] = {0, 0};
  uint64_t entries[2] = {0, 0};
  for (int way = 0; way < 2; ++way) {
    mdir holder(log, settings, busy);
    holder.set_source(way == 0 ? &win32_dir_source() : static_cast<DirSource*>(&walk_only));
    const size_t before = private_bytes();
    bool ok = false;
    program_scan(holder, busy, drive, ok);
    const size_t after = private_bytes();
    if (!ok || !holder.ptop) {
      std::fprintf(stderr, "scan of %s failed\n", drive.c_str());
      return 1;
    }
    entries[way] = entries_of(holder);
    per_entry[way] = static_cast<double>(after - before) / static_cast<double>(entries[way]);
  }
  {
    std::ifstream in(log_path);
    std::stringstream text;
    text << in.rdbuf();
    const bool table = text.str().find(drive + " read from the NTFS table") != std::string::npos;
    const bool small =
        text.str().find(drive + " walked, not read from the NTFS table: the folder holds fewer") !=
        std::string::npos;
    if (!table && !(folder && small)) {
      std::fprintf(stderr, "the table was not read: %s\n", text.str().c_str());
      return 1;
    }
    if (folder) std::printf("way: %s\n", table ? "table" : "walk");
  }
  std::printf("entries: %llu\n", static_cast<unsigned long long>(entries[0]));
  if (entries[0] != entries[1]) {
    std::fprintf(stderr, "the table and the walk disagree: %llu and %llu entries\n",
                 static_cast<unsigned long long>(entries[0]), static_cast<unsigned long long>(entries[1]));
    return 1;
  }

  mdir table(log, settings, busy);
  table.set_source(&win32_dir_source());
  mdir walk(log, settings, busy);
  walk.set_source(&walk_only);
  std::vector<double> table_ms, walk_ms, copy_ms;
  for (int i = 0; i < rounds; ++i) {
    // Alternating, so that a change of the machine's load falls on both.
    bool table_ok = false, walk_ok = false;
    walk_ms.push_back(program_scan(walk, busy, drive, walk_ok));
    table_ms.push_back(program_scan(table, busy, drive, table_ok));
    std::fflush(stdout);
    if (!table_ok || !walk_ok || entries_of(table) != entries_of(walk)) {
      std::fprintf(stderr, "the table and the walk disagree\n");
      return 1;
    }
    // Entry by entry, once: after the memory was measured, which the rows would change.
    if (i == 0 && !same_rows(table.ptop, walk.ptop)) return 1;
    if (!copy.empty()) {
      bool copy_ok = false;
      copy_ms.push_back(program_scan(walk, busy, copy, copy_ok));
      // The copy is the drive's one folder: the drive's root is the one entry more.
      if (!copy_ok || entries_of(walk) + 1 != entries_of(table)) {
        std::fprintf(stderr, "the copy holds another tree: %llu entries\n",
                     static_cast<unsigned long long>(entries_of(walk)));
        return 1;
      }
    }
    std::printf("round %d: walk %.0f ms, table %.0f ms", i + 1, walk_ms.back(), table_ms.back());
    if (!copy.empty()) std::printf(", walk of the copy %.0f ms", copy_ms.back());
    std::printf("\n");
    std::fflush(stdout);
  }
  const double w = median(walk_ms), t = median(table_ms);
  std::printf("walk median: %.0f ms, table median: %.0f ms\n", w, t);
  if (!copy.empty()) std::printf("table/copy walk ratio: %.3f\n", t / median(copy_ms));
  std::printf("table/walk ratio: %.3f\n", t / w);
  std::printf("bytes per entry: table %.1f, walk %.1f\n", per_entry[0], per_entry[1]);
  return 0;
}
