// A permanent deletion of one folder of many small files: the shell's own deletion of one copy
// (what a deletion for good was before the program removed entries itself) against the
// program's of an identical copy, in the same run; then the program's of a folder of a tenth
// as many, so that the time per file can be compared across folder sizes (it must not grow
// with the folder). All copies are scanned first, as the user would have them listed. Prints
// "delete rate: R files/s" last.
//   delete_bench FOLDER   (FOLDER holds "shell" and "program", alike, and "small")
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "base/utf8_path.h"
#include "bench/bench_clock.h"
#include "removal/delete_run.h"
#include "scan/mdir.h"
#include "scan/shell.h"
#include "scan/win32_dir_source.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

lobj* folder_named(mdir& holder, const char* name) {
  for (lobj* f = holder.ptop.load(); f != nullptr; f = f->next) {
    if (f->parent == holder.ptop.load() && std::string(f->name) == name) return f;
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: delete_bench FOLDER\n");
    return 2;
  }
  Settings settings;
  settings.ud = 0;
  Log log;
  std::atomic<int> busy{0};
  mdir holder(log, settings, busy);
  Quiet client(busy);
  holder.set_source(&win32_dir_source());
  holder.start_scan(narrow(argv[1]), &client);
  client.wait();
  holder.stop_scan();
  lobj* by_shell = folder_named(holder, "shell");
  lobj* by_program = folder_named(holder, "program");
  lobj* small = folder_named(holder, "small");
  if (by_shell == nullptr || by_program == nullptr || small == nullptr) {
    std::fprintf(stderr, "delete_bench: %s holds no folders \"shell\", \"program\" and \"small\"\n",
                 holder.path.c_str());
    return 1;
  }
  const int files = by_program->nfil.load();
  const int small_files = small->nfil.load();

  double t0 = now_ms();
  const int shell_result =
      shell().delete_path(by_shell->fpath(), kFofSilent | kFofNoConfirmation | kFofNoErrorUi, nullptr);
  const double shell_s = (now_ms() - t0) / 1000;
  const double shell_rate = by_shell->nfil.load() / shell_s;
  std::printf("shell:   %d files in %.1f s, %.0f files/s (result %d)\n", by_shell->nfil.load(), shell_s,
              shell_rate, shell_result);

  const std::atomic<bool> no_stop{false};
  // The program's deletion of one folder; its seconds.
  const auto program_deletes = [&](lobj* folder, int count, bool& ok) {
    DeleteRun run(holder, {folder});
    const double start = now_ms();
    run.run(no_stop, nullptr);
    const double seconds = (now_ms() - start) / 1000;
    std::printf("program: %d files in %.1f s, %.3f ms a file, %llu of %llu entries removed%s%s\n", count,
                seconds, seconds * 1000 / count, static_cast<unsigned long long>(run.done()),
                static_cast<unsigned long long>(run.total()), run.message().empty() ? "" : ", ",
                run.message().c_str());
    ok = ok && run.deleted() == 1;
    return seconds;
  };
  bool ok = true;
  const double small_s = program_deletes(small, small_files, ok);
  const double program_s = program_deletes(by_program, files, ok);
  const double rate = files / program_s;
  std::printf("time a file, %d files against %d in one folder: %.2f times\n", files, small_files,
              (program_s / files) / (small_s / small_files));
  std::printf("delete rate: %.0f files/s (%.1f times the shell's)\n", rate, rate / shell_rate);
  return ok ? 0 : 1;
}
