// The scan against a bare walk of the same tree, under the same platform: how much the
// program's scan adds to what reading the folders costs anyway, and what the tree costs in
// memory per entry. The scan runs in both modes: with its readers (the default) and on one
// thread (sq 1). Prints "scan/walk ratio: R" and "bytes per entry: B" last.
//   scan_bench FOLDER [ROUNDS]
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
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

struct WalkCount {
  uint64_t bytes = 0;
  uint64_t entries = 0;
};

// The reference: one thread, one enumeration per folder, sizes summed, nothing kept.
void bare_walk(std::wstring& folder, WalkCount& count) {
  const size_t keep = folder.size();
  folder += L"\\*";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(folder.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  folder.resize(keep);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> subfolders;
  do {
    const wchar_t* n = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if ((n[0] == L'.' && n[1] == 0) || (n[0] == L'.' && n[1] == L'.' && n[2] == 0)) continue;
      ++count.entries;
      subfolders.emplace_back(n);
    } else {
      ++count.entries;
      count.bytes += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const std::wstring& sub : subfolders) {
    folder += L'\\';
    folder += sub;
    bare_walk(folder, count);
    folder.resize(keep);
  }
}

size_t private_bytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge and is filled.
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// One scan of the program from start_scan until scan_finished; returns its milliseconds.
double program_scan(mdir& holder, std::atomic<int>& busy, const std::string& folder, bool& ok) {
  if (holder.ptop) holder.free_tree();
  holder.pcur = nullptr;
  Quiet client(busy);
  const double t0 = now_ms();
  holder.start_scan(folder, &client);
  client.wait();
  const double t1 = now_ms();
  // The thread is collected before its client goes and before the next scan frees the tree.
  holder.stop_scan();
  ok = client.ok;
  return t1 - t0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: scan_bench FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string folder = narrow(argv[1]);
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  Log log;
  Settings settings;
  std::atomic<int> busy{0};

  // Memory first, in a fresh holder: private bytes before and after one tree is built.
  uint64_t entries = 0;
  double per_entry = 0;
  {
    mdir holder(log, settings, busy);
    holder.set_source(&win32_dir_source());
    const size_t before = private_bytes();
    bool ok = false;
    // The finished thread is collected inside: its stack is not the tree's.
    program_scan(holder, busy, folder, ok);
    const size_t after = private_bytes();
    if (!ok || !holder.ptop) {
      std::fprintf(stderr, "scan of %s failed\n", folder.c_str());
      return 1;
    }
    lobj* top = holder.ptop;
    entries = 1 + static_cast<uint64_t>(top->ndir.load()) + static_cast<uint64_t>(top->nfil.load());
    per_entry = static_cast<double>(after - before) / static_cast<double>(entries);
    // Where the bytes go: nodes (a file node is only the head), the texts, and the rest
    // (unused tails of the store's blocks, heap the scan used and gave back but the process keeps).
    double files = 0, folders = 0, texts = 0;
    for (lobj* f = top; f; f = f->next) {
      ++folders;
      texts += std::strlen(f->name) + 1 + (f->parent ? 0 : std::strlen(f->root_path) + 1);
      for (lobj* file = f->first; file; file = file->next) {
        ++files;
        texts += std::strlen(file->name) + 1;
      }
    }
    const double nodes = files * sizeof(lobj_head) + folders * sizeof(lobj);
    std::printf("per entry: nodes %.1f (file %u, folder %u bytes), texts %.1f, rest %.1f\n", nodes / entries,
                static_cast<unsigned>(sizeof(lobj_head)), static_cast<unsigned>(sizeof(lobj)),
                texts / entries, per_entry - (nodes + texts) / entries);
    std::printf("entries: %llu, bytes: %llu\n", static_cast<unsigned long long>(entries),
                static_cast<unsigned long long>(top->size.load()));
  }

  mdir holder(log, settings, busy);
  holder.set_source(&win32_dir_source());
  Settings one_thread = settings;
  one_thread.sq = 1;
  mdir sequential(log, one_thread, busy);
  sequential.set_source(&win32_dir_source());
  std::vector<double> walk_ms, scan_ms, seq_ms;
  for (int i = 0; i < rounds; ++i) {
    // Alternating, so that a change of the machine's load falls on all three.
    WalkCount count;
    std::wstring path = widen(folder);
    const double t0 = now_ms();
    bare_walk(path, count);
    walk_ms.push_back(now_ms() - t0);
    bool ok = false, seq_ok = false;
    scan_ms.push_back(program_scan(holder, busy, folder, ok));
    seq_ms.push_back(program_scan(sequential, busy, folder, seq_ok));
    auto count_of = [](mdir& m) {
      lobj* top = m.ptop.load();
      return top ? 1 + static_cast<uint64_t>(top->ndir.load()) + static_cast<uint64_t>(top->nfil.load()) : 0;
    };
    const uint64_t scanned = count_of(holder), seq_scanned = count_of(sequential);
    std::printf("round %d: walk %.0f ms (%llu entries), scan %.0f ms (%llu entries), sequential %.0f ms\n",
                i + 1, walk_ms.back(), static_cast<unsigned long long>(count.entries + 1), scan_ms.back(),
                static_cast<unsigned long long>(scanned), seq_ms.back());
    std::fflush(stdout);
    if (!ok || !seq_ok || scanned != count.entries + 1 || seq_scanned != scanned) {
      std::fprintf(stderr, "the scan and the walk disagree\n");
      return 1;
    }
  }
  const double walk = median(walk_ms), scan = median(scan_ms), seq = median(seq_ms);
  std::printf("walk median: %.0f ms, scan median: %.0f ms, sequential median: %.0f ms\n", walk, scan, seq);
  std::printf("sequential/walk ratio: %.3f\n", seq / walk);
  std::printf("scan/walk ratio: %.3f\n", scan / walk);
  std::printf("bytes per entry: %.1f\n", per_entry);
  return 0;
}
