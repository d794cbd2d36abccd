// The scan reads folders ahead on a pool of readers unless sq is 1: both modes must build the
// same tree and write the same level-1 log, and both must always end their threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifdef __linux__
#include <dirent.h>
#endif

#include "base/log.h"
#include "base/settings.h"
#include "scan/mdir.h"
#include "scan/read_ahead.h"
#include "tests/support/memory_dir_source.h"
#include "tests/support/scan_recorder.h"
#include "tests/support/tree_compare.h"

namespace kelvane {
namespace {

// Threads of this process, or -1 where that cannot be counted.
int thread_count() {
#ifdef __linux__
  int n = 0;
  if (DIR* d = opendir("/proc/self/task")) {
    while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
    closedir(d);
  }
  return n;
#else
  return -1;
#endif
}

std::string read_file(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
  }
  return text;
}

// One scan in one mode, with its own log at level 1.
struct ModeRun {
  ModeRun(DirSource& fs, int sq, const std::string& name) {
    settings.vl = 1;
    settings.sq = sq;
    log_path = ::testing::TempDir() + "scan_modes_" + name + std::to_string(sq) + ".log";
    log.open(log_path);
    holder = std::make_unique<mdir>(log, settings, busy);
    holder->set_source(&fs);
  }
  ~ModeRun() {
    holder.reset();
    std::remove(log_path.c_str());
  }
  void scan(const std::string& path) {
    busy = 1;
    holder->read_mdir(path, &client);
  }
  Settings settings;
  Log log;
  std::string log_path;
  std::atomic<int> busy{0};
  testing_fakes::ScanRecorder client{busy};
  std::unique_ptr<mdir> holder;
};

// Every case a walk must get right, in one tree under C:\T.
void make_tree(MemoryDirSource& fs) {
  const std::string unicode =
      "Gr\xc3\xbc\xc3\x9f"
      "e \xe6\x97\xa5\xe6\x9c\xac";
  fs.add_file("C:\\T\\first", 1);
  fs.add_file("C:\\T\\" + unicode + "\\" + unicode + ".txt", 5);
  fs.add_folder("C:\\T\\empty");
  fs.add_folder("C:\\T\\E1\\E2\\E3");
  fs.add_file("C:\\T\\locked\\secret", 100);
  fs.set_unreadable("C:\\T\\locked");
  fs.add_file("C:\\T\\A\\a", 3);
  fs.add_link("C:\\T\\A\\up", "C:\\T");    // a cycle
  fs.add_link("C:\\T\\toE", "C:\\T\\E1");  // inside the tree: not entered
  // Outside the tree: entered, and beneath it a way back and a way into it again.
  fs.add_file("C:\\O\\o1\\f", 4);
  fs.add_link("C:\\O\\back", "C:\\T");
  fs.add_link("C:\\O\\o1\\again", "C:\\O");
  fs.add_link("C:\\T\\out", "C:\\O");
  std::string deep = "C:\\T\\deep";
  while (deep.size() < 320) deep += "\\abcdefghijklmnopqrstuvwxyz";
  fs.add_file(deep + "\\deepest", 11);
  const int many = fs.add_folder("C:\\T\\many");
  for (int i = 0; i < 100000; ++i)
    fs.append(many, "f" + std::to_string(i), false, static_cast<uint64_t>(i % 977));
  // Many small folders beside it: the readers have work in many places at once.
  for (int i = 0; i < 300; ++i) {
    const std::string f = "C:\\T\\w\\" + std::to_string(i % 7) + "\\" + std::to_string(i);
    for (int j = 0; j < i % 13; ++j) fs.add_file(f + "\\x" + std::to_string(j), static_cast<uint64_t>(j));
    if (i % 5 == 0) fs.add_folder(f + "\\sub");
  }
  fs.add_file("C:\\T\\last", 2);
}

TEST(ScanModes, BothModesBuildTheSameTreeAndLog) {
  MemoryDirSource fs;
  make_tree(fs);
  for (const std::string path : {"C:\\T", "C:"}) {
    SCOPED_TRACE(path);
    ModeRun parallel(fs, 0, "p"), sequential(fs, 1, "s");
    const size_t calls0 = fs.list_calls();
    parallel.scan(path);
    const size_t calls1 = fs.list_calls();
    sequential.scan(path);
    const size_t calls2 = fs.list_calls();
    ASSERT_TRUE(parallel.client.ok);
    ASSERT_TRUE(sequential.client.ok);
    EXPECT_EQ(tree_difference(parallel.holder->ptop, sequential.holder->ptop), "");
    EXPECT_EQ(parallel.holder->pcur.load(), parallel.holder->ptop.load());
    EXPECT_EQ(parallel.client.patterns, sequential.client.patterns);
    // Every folder is read once in either mode (the links to folders entered already never).
    EXPECT_EQ(calls1 - calls0, calls2 - calls1);
    const std::string log = read_file(parallel.log_path);
    EXPECT_GT(log.size(), 1000000u);
    EXPECT_TRUE(log == read_file(sequential.log_path));
    EXPECT_GT(parallel.holder->ptop.load()->nfil.load(), 100000);
  }
}

// Stopped at every stage, failed, or finished: in both modes no reader is left running.
TEST(ScanModes, ReadersAlwaysEnd) {
  MemoryDirSource fs;
  make_tree(fs);
  const int threads = thread_count();
  for (int sq : {0, 1}) {
    SCOPED_TRACE(sq);
    ModeRun run(fs, sq, "end");
    run.settings.vl = 0;
    for (const char* bad : {"C:\\missing", "C:\\T\\first"}) {
      run.scan(bad);
      EXPECT_FALSE(run.client.ok);
      EXPECT_EQ(run.holder->ptop.load(), nullptr);
    }
    for (int delay : {0, 1, 5, 20}) {
      run.client.ok = false;
      run.holder->start_scan("C:\\T", &run.client);
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      run.holder->stop_scan();
      EXPECT_EQ(run.busy.load(), 0);
      EXPECT_FALSE(run.holder->scan_running());
      if (threads >= 0) {
        EXPECT_EQ(thread_count(), threads);
      }
      if (run.holder->ptop) {
        // It finished before the stop came: a whole tree.
        EXPECT_TRUE(run.client.ok);
        run.holder->pcur = nullptr;
        run.holder->free_tree();
      }
    }
    run.scan("C:\\T");
    EXPECT_TRUE(run.client.ok);
    if (threads >= 0) {
      EXPECT_EQ(thread_count(), threads);
    }
  }
}

TEST(ScanModes, PoolSizeFollowsTheProcessors) {
  EXPECT_GE(ReadAhead::default_readers(), 2);
  MemoryDirSource fs;
  std::atomic<bool> stop{false};
  EXPECT_EQ(ReadAhead(fs, 0, stop).readers(), 0);
  EXPECT_EQ(ReadAhead(fs, 3, stop).readers(), 3);
}

// A reader lists the folders in the walk's own order: the first subfolder first, and its
// subfolders before its next sibling.
TEST(ScanModes, ReadAheadReadsTheFirstSubfolderFirst) {
  struct Recording : MemoryDirSource {
    std::mutex mutex;
    std::vector<std::string> listed;
    bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override {
      {
        std::lock_guard<std::mutex> lock(mutex);
        listed.push_back(pattern);
      }
      return MemoryDirSource::list(pattern, sink);
    }
  } fs;
  for (const char* folder : {"C:\\T\\A\\A1", "C:\\T\\B", "C:\\T\\C"}) fs.add_folder(folder);
  std::atomic<bool> stop{false};
  {
    ReadAhead ahead(fs, 1, stop);
    ahead.root("C:\\T\\*.*", "C:\\T");
    for (int i = 0; i < 500 && fs.list_calls() < 5; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(fs.listed, (std::vector<std::string>{"C:\\T\\*.*", "C:\\T\\A\\*.*", "C:\\T\\A\\A1\\*.*",
                                                 "C:\\T\\B\\*.*", "C:\\T\\C\\*.*"}));
}

}  // namespace
}  // namespace kelvane
