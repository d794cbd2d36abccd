// Soak: rescans of one folder tree in one process with the real frame and views, each followed
// by navigation (into a folder and one below it, up with "..", to the root with "\\", a unit
// change) and the deletion of one file through the program's own Delete, with the platform's
// shell (to the recycle bin). After every rescan: private bytes, the handle count and the GDI
// and USER objects. A second thread asks the main window for an answer all along and keeps the
// longest wait. Prints one line per round, the counts first/middle/last, and "soak growth: P%" last:
// private bytes after the last rescan over after the first, minus one.
//   soak_bench FOLDER [RESCANS]
// The run fails on a fault of a round, a message, a wait of 5 s or more and, from 10 rescans
// on, on growth above 5 % or counts that are not flat (fewer rounds say nothing about a leak).
// FOLDER is best a drive root (a drive letter mapped to the tree): "\\" below a folder scan
// would rescan the whole drive, so elsewhere the root step is left out.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "app/mapp.h"
#include "base/message_box.h"
#include "base/strf.h"
#include "base/utf8_path.h"
#include "bench/bench_app.h"
#include "bench/bench_clock.h"
#include "bench/process_counts.h"
#include "frame/mwin.h"
#include "res/resource_ids.h"
#include "views/list_geometry.h"
#include "views/mvwl.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

// Windows calls a program that has not answered for this long "not responding".
constexpr double kNotResponding = 5000;

struct Figures {
  size_t private_bytes = 0;
  unsigned long handles = 0;
  unsigned long gdi = 0;
  bool gdi_known = false;
  unsigned long user = 0;
};

Figures measure() {
  Figures f;
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge and is filled.
  f.private_bytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
  f.handles = handle_count();
  f.gdi_known = gdi_object_count(f.gdi);
  f.user = user_object_count();
  return f;
}

// Asks the main window for an answer every few milliseconds from its own thread; a message
// sent from another thread is answered only when the program's thread reads its queue.
class Pinger {
 public:
  explicit Pinger(HWND window) : window_(window), thread_([this] { run(); }) {}
  // On the window's thread: a ping under way is answered while the thread ends, else it
  // would wait its whole timeout for a thread that only waits for it. Only sent messages are
  // taken; posted ones stay in the queue.
  ~Pinger() {
    stop_.store(true);
    while (!ended_.load()) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
    }
    thread_.join();
  }
  // The longest wait since the last call, in milliseconds.
  double take_longest() { return longest_.exchange(0); }
  // Between the two, the program's thread measures for the bench: a ping that overlaps it
  // does not count.
  void measuring() { ++epoch_; }
  void measured() { ++epoch_; }
  int unanswered() const { return unanswered_.load(); }
  int pings() const { return pings_.load(); }

 private:
  void run() {
    while (!stop_.load()) {
      DWORD_PTR result = 0;
      const int epoch = epoch_.load();
      const double t0 = now_ms();
      if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) ++unanswered_;
      const double wait = now_ms() - t0;
      if (epoch % 2 == 0 && epoch_.load() == epoch) {
        double seen = longest_.load();
        while (wait > seen && !longest_.compare_exchange_weak(seen, wait)) {
        }
        ++pings_;
      }
      Sleep(10);
    }
    ended_.store(true);
  }

  HWND window_;
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::atomic<int> unanswered_{0};
  std::atomic<int> pings_{0};
  std::atomic<int> epoch_{0};
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

// The round's slowest step on the program's thread, with what it was.
struct Slowest {
  double ms = 0;
  const char* what = "";
};
Slowest slowest;

// A command as the menu, the toolbar or a key gives it to the frame, until its messages are
// handled.
void command(mapp& app, int id, const char* what) {
  const double t0 = now_ms();
  SendMessageW(app.frame()->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  app.pump();
  UpdateWindow(app.frame()->hwnd());
  const double ms = now_ms() - t0;
  if (ms > slowest.ms) slowest = Slowest{ms, what};
}

// Selects one row, as a click does, and opens it.
void open_row(mapp& app, mvwl& left, int row, const char* what) {
  left.list().select_item(-1, false);
  left.list().select_item(row, true);
  command(app, ID_CMD_OPEN, what);
}

// The row of the current folder's first subfolder that has subfolders itself (else any
// subfolder), or -1.
int folder_row(mvwl& left, int lead) {
  int any = -1;
  for (int i = 0; i < left.slices().count(); ++i) {
    const lobj* node = left.slices().node(i);
    if (node == nullptr || !node->isdir) continue;
    if (node->ndir.load() > 0) return row_of_item(i, lead);
    if (any < 0) any = row_of_item(i, lead);
  }
  return any;
}

int row_named(mvwl& left, const std::string& name) {
  for (int row = 0; row < left.list().rows(); ++row) {
    if (left.list().row_name(row) == name) return row;
  }
  return -1;
}

bool make_file(const std::string& path, int bytes) {
  HANDLE f = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const std::string data(static_cast<size_t>(bytes), 'k');
  DWORD written = 0;
  const bool ok = WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) != 0;
  CloseHandle(f);
  return ok && written == data.size();
}

bool exists(const std::string& path) {
  return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string joined(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// Files a broken earlier run left in the tree.
void remove_leftovers(const std::string& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(widen(joined(folder, "kelvane-soak-*")).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    DeleteFileW(widen(joined(folder, narrow(data.cFileName))).c_str());
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: soak_bench FOLDER [RESCANS]\n");
    return 2;
  }
  std::string folder = narrow(argv[1]);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  const int rescans = argc > 2 ? std::max(1, _wtoi(argv[2])) : 25;
  const bool at_drive_root = folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
  remove_leftovers(folder);

  init_controls();
  // The delete question is answered Yes; any other message is a fault of the run.
  std::atomic<int> messages{0};
  set_message_handler([&messages](const std::string& text, unsigned type) {
    if (type == kMessageYesNo) return kAnswerYes;
    std::printf("message: %s\n", text.c_str());
    std::fflush(stdout);
    ++messages;
    return kAnswerOk;
  });
  mapp app(bench_sources("Software\\Tarnwick\\KelvaneSoak"));
  app.CGUI.ud = 1;  // the recycle bin, as a user has it
  mvwl* left = open_main_window(app, 1000, 700);
  if (left == nullptr) return 1;
  app.pump();

  auto pinger = std::make_unique<Pinger>(app.frame()->hwnd());
  const std::string tag = strf("%lu-%lu", GetCurrentProcessId(), GetTickCount());
  const double start = now_ms();
  Figures first, middle, last;
  const int middle_round = (rescans + 1) / 2;
  double longest_wait = 0;
  int faults = 0;
  // Round 0 is the first scan; rounds 1 to rescans are the rescans that are measured.
  for (int round = 0; round <= rescans; ++round) {
    // The file this round deletes, made before the scan so that the scan finds it.
    const std::string victim = strf("kelvane-soak-%s-%02d.dat", tag.c_str(), round);
    if (!make_file(joined(folder, victim), 4096 + round)) {
      std::printf("could not make %s\n", victim.c_str());
      return 1;
    }

    const double t0 = now_ms();
    app.epath.set_text(folder);
    slowest = Slowest{};
    // Sent alone: the messages of the scan are handled while it is awaited.
    SendMessageW(app.frame()->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CMD_ENUM_DIR, 0), 0);
    if (!wait_for_scan(app) || app.mdir.ptop.load() == nullptr) {
      std::printf("round %d: the scan did not end with a tree\n", round);
      return 1;
    }
    const double scan_ms = now_ms() - t0;
    pinger->measuring();
    const Figures f = measure();
    pinger->measured();
    if (round == 1) first = f;
    if (round == middle_round) middle = f;
    last = f;
    const lobj* top = app.mdir.ptop.load();
    const int entries = top->ndir.load() + top->nfil.load();
    const int lead = lead_rows(app.mdir.isdrv);

    // Down two levels, up one, to the root, and a unit change.
    int moves = 0;
    for (int depth = 0; depth < 2; ++depth) {
      const int row = folder_row(*left, lead);
      if (row < 0) break;
      const lobj* before = app.mdir.pcur.load();
      open_row(app, *left, row, "into a folder");
      moves += app.mdir.pcur.load() != before ? 1 : 0;
    }
    if (app.mdir.isdrv == 0 || app.mdir.pcur.load() != top) {
      const lobj* before = app.mdir.pcur.load();
      open_row(app, *left, 1, "up");
      moves += app.mdir.pcur.load() != before ? 1 : 0;
    }
    if (at_drive_root) {
      open_row(app, *left, 0, "root");
      moves += app.mdir.pcur.load() == top ? 1 : 0;
    } else {
      // Up to the top of the tree instead, bounded in case ".." stops working.
      for (int up = 0; up < 64 && app.mdir.pcur.load() != top; ++up) open_row(app, *left, 1, "up");
    }
    command(app, ID_CMD_UNIT_BYTES + round % 5, "unit");

    // The deletion, as the user does it: the row selected, Delete, Yes.
    const int rows_before = left->list().rows();
    const int row = row_named(*left, victim);
    bool deleted = false;
    if (row >= 0) {
      left->list().select_item(-1, false);
      left->list().select_item(row, true);
      command(app, ID_CMD_DELETE, "delete");
      // The shell's work runs on the deletion thread; its end comes back through the queue.
      wait_for_scan(app);
      deleted = !exists(joined(folder, victim)) && left->list().rows() == rows_before - 1 &&
                row_named(*left, victim) < 0;
    }
    UpdateWindow(app.frame()->hwnd());
    app.pump();
    const double wait = pinger->take_longest();
    longest_wait = std::max(longest_wait, wait);
    if (app.busy.load() != 0 || app.mdir.ptop.load() == nullptr || moves < 3 || !deleted) ++faults;

    std::printf(
        "round %2d: %s ms %6.0f, entries %d, private KB %7zu, handles %lu, gdi %lu, user %lu, moves %d, "
        "deleted %s, longest wait ms %.0f, slowest step %s ms %.0f\n",
        round, round == 0 ? "scan  " : "rescan", scan_ms, entries, f.private_bytes / 1024, f.handles, f.gdi,
        f.user, moves, deleted ? "yes" : "NO", wait, slowest.what, slowest.ms);
    std::fflush(stdout);
  }
  const double total_s = (now_ms() - start) / 1000;
  app.pump();
  longest_wait = std::max(longest_wait, pinger->take_longest());

  const double growth =
      first.private_bytes ? 100.0 * (double(last.private_bytes) / first.private_bytes - 1) : 0;
  std::printf("handles first/middle/last: %lu/%lu/%lu (%s)\n", first.handles, middle.handles, last.handles,
              handle_count_source());
  const bool gdi_known = first.gdi_known && middle.gdi_known && last.gdi_known;
  if (gdi_known) {
    std::printf("gdi objects first/middle/last: %lu/%lu/%lu (%s)\n", first.gdi, middle.gdi, last.gdi,
                gdi_count_source());
  } else {
    std::printf("skipped: gdi objects flat (%s gives no count here)\n", gdi_count_source());
  }
  std::printf("user objects first/middle/last: %lu/%lu/%lu (%s)\n", first.user, middle.user, last.user,
              user_count_source());
  // Flat: nothing rises over the second half, and a lock's system object made once on first
  // use (a step of one or two) is no leak; one object per round would rise by half the rounds.
  const auto flat_count = [](unsigned long a, unsigned long m, unsigned long z) {
    return z <= m && z <= a + 2;
  };
  const bool flat = flat_count(first.handles, middle.handles, last.handles) &&
                    (!gdi_known || flat_count(first.gdi, middle.gdi, last.gdi)) &&
                    flat_count(first.user, middle.user, last.user);
  std::printf("counts flat: %s\n", flat ? "yes" : "NO");
  std::printf("private KB first/last: %zu/%zu\n", first.private_bytes / 1024, last.private_bytes / 1024);
  std::printf("answers: %d pings, %d unanswered, longest wait ms %.0f\n", pinger->pings(),
              pinger->unanswered(), longest_wait);
  std::printf("rounds with a fault: %d, messages: %d, seconds: %.0f\n", faults, messages.load(), total_s);
  std::printf("soak growth: %.1f%%\n", growth);
  std::fflush(stdout);
  const int unanswered = pinger->unanswered();
  pinger.reset();
  app.free_main_window();
  const bool judged = rescans >= 10;
  return faults == 0 && messages.load() == 0 && unanswered == 0 && longest_wait < kNotResponding &&
                 (!judged || (growth <= 5 && flat))
             ? 0
             : 1;
}
