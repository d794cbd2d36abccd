#include "scan/walk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "scan/mdir.h"
#include "scan/root_state.h"
#include "scan/search_pattern.h"
#include "tests/support/fake_disk_probe.h"
#include "tests/support/memory_dir_source.h"
#include "tests/support/scan_recorder.h"
#include "tests/support/scoped_replace.h"
#include "tests/support/text_file.h"
#include "tests/support/tree_queries.h"

namespace kelvane {
namespace {

// Delegates to an in-memory file system and counts what the walk asks of it; can ask the
// holder to stop at a chosen listing, as the program does when it closes.
class WatchedSource : public DirSource {
 public:
  explicit WatchedSource(DirSource& inner) : inner_(inner) {}
  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override {
    // Readers list folders side by side.
    const int n = ++lists;
    if (holder && n == stop_at) {
      cur_at_stop = holder->pcur.load();
      holder->request_stop();
    }
    if (n == 1 && at_first_list) at_first_list();
    return inner_.list(pattern, sink);
  }
  bool identity(const std::string& path, FolderId& id) override {
    ++identities;
    const bool known = inner_.identity(path, id);
    if (no_place) id.place.clear();  // a platform that cannot tell where a folder really is
    return known;
  }
  bool no_place = false;
  std::atomic<int> lists{0};
  std::atomic<int> identities{0};
  int stop_at = 0;
  std::function<void()> at_first_list;  // runs on the walk's thread, before the first listing
  mdir* holder = nullptr;
  lobj* cur_at_stop = nullptr;  // what the idle status update could be reading then

 private:
  DirSource& inner_;
};

class WalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_path = ::testing::TempDir() + "walk_test_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    ASSERT_TRUE(log.open(log_path));
    holder = std::make_unique<mdir>(log, settings, busy);
    holder->set_source(&fs);
  }
  void TearDown() override {
    holder.reset();
    std::remove(log_path.c_str());
  }

  // The worked example: a drive whose top folder reports F1, D1 (F2, S (F3)), D2, F4.
  void make_worked_example(const std::string& drive) {
    fs.add_file(drive + "\\F1", 1);
    fs.add_folder(drive + "\\D1");
    fs.add_file(drive + "\\D1\\F2", 2);
    fs.add_folder(drive + "\\D1\\S");
    fs.add_file(drive + "\\D1\\S\\F3", 4);
    fs.add_folder(drive + "\\D2");
    fs.add_file(drive + "\\F4", 8);
  }

  void scan(const std::string& path) {
    busy = 1;
    holder->read_mdir(path, &client);
  }

  std::vector<lobj*> folders() const {
    std::vector<lobj*> list;
    for (lobj* f = holder->ptop; f; f = f->next) list.push_back(f);
    return list;
  }
  std::vector<std::string> file_names(const lobj* folder) const {
    std::vector<std::string> names;
    for (lobj* f = folder->first; f; f = f->next) names.push_back(f->name);
    return names;
  }
  lobj* folder_named(const std::string& name) const { return kelvane::folder_named(*holder, name); }

  void expect_failed_scan() {
    EXPECT_EQ(client.finished, 1);
    EXPECT_FALSE(client.ok);
    EXPECT_EQ(client.message, "INVALID PATH !");
    EXPECT_EQ(holder->ptop.load(), nullptr);
    EXPECT_EQ(holder->pcur.load(), nullptr);
    EXPECT_EQ(busy.load(), 0);
  }

  std::string log_path;
  Log log;
  Settings settings;
  std::atomic<int> busy{0};
  MemoryDirSource fs;
  testing_fakes::ScanRecorder client{busy};
  std::unique_ptr<mdir> holder;
};

using V = std::vector<long long>;

TEST_F(WalkTest, WorkedExampleDirectThenRecursiveTotals) {
  make_worked_example("D:");
  Walk walk(*holder, fs, &client);
  std::string message;
  ASSERT_TRUE(walk.read("D:", true, message));
  EXPECT_EQ(message, "");

  const std::vector<lobj*> list = folders();
  ASSERT_EQ(list.size(), 4u);
  lobj *root = list[0], *d1 = list[1], *s = list[2], *d2 = list[3];
  EXPECT_STREQ(root->name, "D:");
  EXPECT_STREQ(d1->name, "D1");
  EXPECT_STREQ(s->name, "S");
  EXPECT_STREQ(d2->name, "D2");
  EXPECT_EQ(root->depth, 0);
  EXPECT_EQ(d1->depth, 1);
  EXPECT_EQ(s->depth, 2);
  EXPECT_EQ(d2->depth, 1);
  EXPECT_EQ(root->parent, nullptr);
  EXPECT_EQ(d1->parent, root);
  EXPECT_EQ(s->parent, d1);
  EXPECT_EQ(d2->parent, root);
  EXPECT_EQ(root->prev, nullptr);
  EXPECT_EQ(d1->prev, root);
  EXPECT_EQ(s->prev, d1);
  EXPECT_EQ(d2->prev, s);

  EXPECT_EQ(totals(root), (V{9, 2, 2}));
  EXPECT_EQ(totals(d1), (V{2, 1, 1}));
  EXPECT_EQ(totals(s), (V{4, 0, 1}));
  EXPECT_EQ(totals(d2), (V{0, 0, 0}));

  EXPECT_EQ(file_names(root), (std::vector<std::string>{"F1", "F4"}));
  EXPECT_EQ(file_names(d1), (std::vector<std::string>{"F2"}));
  EXPECT_EQ(file_names(s), (std::vector<std::string>{"F3"}));
  EXPECT_EQ(root->first->depth, 1);
  EXPECT_EQ(s->first->depth, 3);
  EXPECT_EQ(root->first->next->prev, root->first);
  EXPECT_EQ(root->first->isdir, 0);  // a file node has no folder fields to read

  Walk::totals(root);
  EXPECT_EQ(totals(root), (V{15, 3, 4}));
  EXPECT_EQ(totals(d1), (V{6, 1, 2}));
  EXPECT_EQ(totals(s), (V{4, 0, 1}));
  EXPECT_EQ(totals(d2), (V{0, 0, 0}));
}

TEST_F(WalkTest, DriveScanEndsAtRootAndReportsEachFolderOnce) {
  make_worked_example("D:");
  scan("D:");
  EXPECT_EQ(client.finished, 1);
  EXPECT_TRUE(client.ok);
  EXPECT_EQ(client.message, "");
  EXPECT_EQ(holder->pcur.load(), holder->ptop.load());
  EXPECT_EQ(totals(holder->ptop), (V{15, 3, 4}));
  EXPECT_EQ(client.patterns,
            (std::vector<std::string>{"D:\\*.*", "D:\\D1\\*.*", "D:\\D1\\S\\*.*", "D:\\D2\\*.*"}));
  EXPECT_EQ(folder_named("S")->fpath(), "D:\\D1\\S");
  EXPECT_EQ(busy.load(), 0);
  EXPECT_FALSE(holder->scan_running());
}

TEST_F(WalkTest, DriveWithBackslashKeepsNameAndDoesNotDoubleSeparators) {
  make_worked_example("D:");
  scan("D:\\");
  ASSERT_TRUE(client.ok);
  EXPECT_STREQ(holder->ptop.load()->name, "D:\\");
  EXPECT_EQ(holder->ptop.load()->fpath(), "D:\\");
  EXPECT_EQ(folder_named("D1")->fpath(), "D:\\D1");
  EXPECT_EQ(folder_named("S")->fpath(), "D:\\D1\\S");
  EXPECT_EQ(client.patterns.front(), "D:\\*.*");
  EXPECT_EQ(totals(holder->ptop), (V{15, 3, 4}));
}

// A drive-relative path reads the drive's current folder, whose entries the tree would file
// under the root: refused, so nothing is ever listed (or deleted) under a wrong path.
TEST_F(WalkTest, DriveRelativePathIsRefusedAndTheNextScanWorks) {
  make_worked_example("D:");
  scan("D:X");
  EXPECT_EQ(client.finished, 1);
  EXPECT_FALSE(client.ok);
  EXPECT_EQ(client.message, "INVALID PATH !");
  EXPECT_EQ(holder->ptop.load(), nullptr);
  EXPECT_EQ(holder->pcur.load(), nullptr);
  EXPECT_TRUE(client.patterns.empty());
  scan("D:");
  EXPECT_TRUE(client.ok);
  ASSERT_NE(holder->ptop.load(), nullptr);
}

TEST_F(WalkTest, UnreadableDriveGivesAnEmptyRoot) {
  fs.add_folder("E:");
  fs.set_unreadable("E:");
  scan("E:");
  EXPECT_TRUE(client.ok);
  ASSERT_NE(holder->ptop.load(), nullptr);
  EXPECT_EQ(totals(holder->ptop), (V{0, 0, 0}));
  EXPECT_EQ(holder->ptop.load()->next, nullptr);
}

TEST_F(WalkTest, FolderScanOfThreeFilesAndASubfolder) {
  for (const char* path : {"C:\\DATA", "C:\\DATA\\"}) {
    SCOPED_TRACE(path);
    MemoryDirSource local;
    holder->set_source(&local);
    local.add_file("C:\\Data\\one", 1);
    local.add_file("C:\\Data\\two", 2);
    local.add_folder("C:\\Data\\Sub");
    local.add_file("C:\\Data\\Sub\\four", 4);
    local.add_file("C:\\Data\\three", 3);
    client.finished = 0;
    scan(path);
    ASSERT_TRUE(client.ok);
    EXPECT_EQ(holder->path, "C:\\DATA");
    lobj* root = holder->ptop;
    // The name and path as the file system spells them.
    EXPECT_STREQ(root->name, "Data");
    EXPECT_EQ(root->fpath(), "C:\\Data");
    EXPECT_EQ(root->depth, 1);
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(totals(root), (V{10, 1, 4}));
    lobj* sub = folder_named("Sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->depth, 2);
    EXPECT_EQ(sub->parent, root);
    EXPECT_EQ(sub->fpath(), "C:\\Data\\Sub");
    EXPECT_EQ(totals(sub), (V{4, 0, 1}));
    EXPECT_EQ(file_names(root), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(holder->pcur.load(), root);
    EXPECT_EQ(client.patterns.back(), "C:\\Data\\Sub\\*.*");
    holder->pcur = nullptr;
    holder->free_tree();
    client.patterns.clear();
  }
}

TEST_F(WalkTest, EmptyFolderAtTheDeepestLevelStillCounts) {
  fs.add_file("C:\\R\\A\\f", 5);
  fs.add_folder("C:\\R\\A\\B\\C\\D");
  fs.add_folder("C:\\R\\Z");
  scan("C:\\R");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(totals(holder->ptop), (V{5, 5, 1}));
  EXPECT_EQ(totals(folder_named("A")), (V{5, 3, 1}));
  EXPECT_EQ(totals(folder_named("C")), (V{0, 1, 0}));
  EXPECT_EQ(totals(folder_named("D")), (V{0, 0, 0}));
  EXPECT_EQ(folder_named("Z")->parent, holder->ptop.load());
  EXPECT_EQ(folder_named("Z")->depth, 2);
}

TEST_F(WalkTest, FileSizesAreWholeSixtyFourBitLengths) {
  const uint64_t five_gib = 5ull << 30;
  fs.add_file("D:\\big\\movie", five_gib);
  fs.add_file("D:\\big\\small", 3);
  fs.add_file("D:\\four", 4ull << 30);
  scan("D:");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(folder_named("big")->first->size.load(), five_gib);
  EXPECT_EQ(folder_named("big")->size.load(), five_gib + 3);
  EXPECT_EQ(holder->ptop.load()->size.load(), five_gib + 3 + (4ull << 30));
}

TEST_F(WalkTest, FailedFolderScansLeaveNoTreeAndAllowAnotherScan) {
  fs.add_file("C:\\DATA\\x", 7);
  fs.add_file("C:\\note.txt", 1);
  const char* refused[] = {"C:\\MISSING", "C:\\DATA\\*.*", "C:\\DA*", "C:\\DAT?", "C:\\note.txt", "", "\\"};
  for (const char* path : refused) {
    SCOPED_TRACE(path);
    client.reset();
    scan(path);
    expect_failed_scan();
    // The next scan on the same holder works.
    client.reset();
    scan("C:\\DATA");
    ASSERT_TRUE(client.ok);
    EXPECT_EQ(totals(holder->ptop), (V{7, 0, 1}));
    holder->pcur = nullptr;
    holder->free_tree();
  }
}

TEST_F(WalkTest, ForwardSlashesNameTheSameFolderAndItsEntriesKeepTheirOwnPaths) {
  fs.add_file("C:\\DATA\\SUB\\x", 5);
  fs.add_folder("C:\\DATA\\SUB\\in");
  fs.add_file("C:\\SUB\\decoy", 99);  // what a path formed from the drive alone would read
  scan("C:/DATA/SUB/");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(holder->path, "C:\\DATA\\SUB");
  EXPECT_EQ(holder->ptop.load()->fpath(), "C:\\DATA\\SUB");
  EXPECT_EQ(folder_named("in")->fpath(), "C:\\DATA\\SUB\\in");
  EXPECT_EQ(totals(holder->ptop), (V{5, 1, 1}));
}

TEST_F(WalkTest, UnreadableFolderInsideTheTreeIsAnEmptyNode) {
  fs.add_file("C:\\R\\locked\\secret", 100);
  fs.set_unreadable("C:\\R\\locked");
  fs.add_file("C:\\R\\open", 1);
  scan("C:\\R");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(totals(folder_named("locked")), (V{0, 0, 0}));
  EXPECT_EQ(totals(holder->ptop), (V{1, 1, 1}));
}

// Every real folder is entered once per scan, whatever links lead to it and in whatever order
// they are met; a link to a folder entered already is a node of 0 B with nothing beneath.
TEST_F(WalkTest, EveryFolderIsEnteredOncePerScan) {
  fs.add_file("C:\\R\\A\\a", 1);
  fs.add_link("C:\\R\\A\\up", "C:\\R");       // an ancestor
  fs.add_link("C:\\R\\A\\self", "C:\\R\\A");  // its own folder
  fs.add_link("C:\\R\\early", "C:\\R\\B");    // a folder of the tree met before it
  fs.add_file("C:\\R\\B\\b", 10);
  fs.add_link("C:\\R\\B\\back", "C:\\R\\early");  // a link to that link
  fs.add_file("C:\\O\\o", 100);
  fs.add_file("C:\\O\\P\\p", 1000);
  fs.add_link("C:\\R\\toO", "C:\\O");  // outside: entered
  fs.add_link("C:\\R\\toO2", "C:\\O");
  fs.add_link("C:\\R\\toP", "C:\\O\\P");  // inside a folder entered through a link
  fs.add_file("C:\\Q\\q", 5);
  fs.add_file("C:\\Q\\S\\s", 7);
  fs.add_link("C:\\R\\toS", "C:\\Q\\S");  // entered; then its parent through another link
  fs.add_link("C:\\R\\toQ", "C:\\Q");
  fs.add_file("C:\\X\\x", 10000);
  fs.add_link("C:\\R\\drive", "C:");  // the drive that holds the root
  WatchedSource watched(fs);
  holder->set_source(&watched);
  scan("C:\\R");
  ASSERT_TRUE(client.ok);

  for (const char* name : {"up", "self", "early", "back", "toO2", "toP"}) {
    SCOPED_TRACE(name);
    lobj* f = folder_named(name);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(totals(f), (V{0, 0, 0}));
  }
  EXPECT_EQ(totals(folder_named("B")), (V{10, 1, 1}));
  EXPECT_EQ(totals(folder_named("toO")), (V{1100, 1, 2}));
  EXPECT_EQ(totals(folder_named("toS")), (V{7, 0, 1}));
  EXPECT_EQ(totals(folder_named("toQ")), (V{5, 1, 1}));  // its S entered already: 0 B
  // Through the drive only X is new: R, O and Q were entered already.
  EXPECT_EQ(totals(folder_named("drive")), (V{10000, 4, 1}));
  EXPECT_EQ(totals(holder->ptop), (V{11123, 18, 7}));
  // The path, then R, A, B, O, P, S, Q, the drive and X, each once; identities for the root
  // and the ten links only.
  EXPECT_EQ(watched.lists, 10);
  EXPECT_EQ(watched.identities, 11);
}

// Links three wide and eight deep over one file: each level once, not three times the last.
TEST_F(WalkTest, WideChainsOfLinksCountTheirTargetOnce) {
  for (int level = 1; level <= 8; ++level)
    for (const char* link : {"x", "y", "z"})
      fs.add_link("C:\\N" + std::to_string(level) + "\\" + link, "C:\\N" + std::to_string(level + 1));
  fs.add_file("C:\\N9\\f", 1000);
  for (int sq = 0; sq < 2; ++sq) {
    settings.sq = sq;
    client.reset();
    if (holder->ptop) holder->free_tree();
    holder->pcur = nullptr;
    scan("C:\\N1");
    ASSERT_TRUE(client.ok);
    EXPECT_EQ(totals(holder->ptop), (V{1000, 24, 1}));
    EXPECT_EQ(client.patterns.size(), 10u);  // the path, then N1 to N9
  }
}

// Without a real location only the identity tells that a second link leads where the first did.
TEST_F(WalkTest, SecondLinkToAFolderIsNotEnteredWhereThePlatformGivesNoPlace) {
  fs.add_file("C:\\O\\o", 100);
  fs.add_link("C:\\R\\toO", "C:\\O");
  fs.add_link("C:\\R\\toO2", "C:\\O");
  WatchedSource watched(fs);
  watched.no_place = true;
  holder->set_source(&watched);
  scan("C:\\R");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(totals(folder_named("toO")), (V{100, 0, 1}));
  EXPECT_EQ(totals(folder_named("toO2")), (V{0, 0, 0}));
  EXPECT_EQ(totals(holder->ptop), (V{100, 2, 1}));
}

TEST_F(WalkTest, IdentityIsAskedOnlyForLinks) {
  make_worked_example("D:");
  WatchedSource watched(fs);
  holder->set_source(&watched);
  scan("D:");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(watched.identities, 0);
  EXPECT_EQ(watched.lists, 4);
}

TEST_F(WalkTest, LongPathsAndUnicodeNamesAreKeptExactly) {
  std::string path = "C:\\top";
  const std::string name = "Grüße — 日本語";
  for (int i = 0; i < 30; ++i) path += "\\" + name;
  fs.add_file(path + "\\" + name + ".txt", 42);
  scan("C:\\top");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(totals(holder->ptop), (V{42, 30, 1}));
  lobj* deepest = holder->ptop;
  while (deepest->next) deepest = deepest->next;
  EXPECT_EQ(deepest->fpath(), path);
  EXPECT_GT(path.size(), 600u);
  ASSERT_NE(deepest->first, nullptr);
  EXPECT_EQ(std::string(deepest->first->name), name + ".txt");
}

TEST_F(WalkTest, StopFlagEndsTheWalkWithoutReport) {
  settings.sq = 1;  // the listings counted are the walk's own (both modes: scan_modes_test)
  make_worked_example("D:");
  WatchedSource watched(fs);
  watched.holder = holder.get();
  watched.stop_at = 2;  // while D1 is being read
  holder->set_source(&watched);
  scan("D:");
  EXPECT_EQ(client.finished, 0);
  EXPECT_EQ(watched.lists, 2);
  EXPECT_EQ(holder->ptop.load(), nullptr);
  EXPECT_EQ(holder->pcur.load(), nullptr);
  EXPECT_EQ(busy.load(), 0);
  holder->stop_scan();  // collects nothing, and clears the request

  watched.stop_at = 0;
  scan("D:");
  EXPECT_TRUE(client.ok);
  EXPECT_EQ(totals(holder->ptop), (V{15, 3, 4}));
}

// The idle status update reads the node pcur names while the walk runs; a tree the walk gives
// up stays readable until the user-interface thread collects the scan (run under ASan).
TEST_F(WalkTest, AGivenUpTreeIsFreedOnlyWhenTheScanIsCollected) {
  settings.sq = 1;  // the listings counted are the walk's own (both modes: scan_modes_test)
  make_worked_example("D:");
  WatchedSource watched(fs);
  watched.holder = holder.get();
  watched.stop_at = 2;
  holder->set_source(&watched);
  scan("D:");
  EXPECT_EQ(holder->ptop.load(), nullptr);
  ASSERT_NE(watched.cur_at_stop, nullptr);
  EXPECT_STREQ(watched.cur_at_stop->name, "D:");
  EXPECT_EQ(watched.cur_at_stop->nfil.load(), 2);
  holder->stop_scan();
}

TEST_F(WalkTest, ScanThreadSetsBusyAndReportsOnce) {
  make_worked_example("D:");
  for (int round = 0; round < 2; ++round) {
    client.reset();
    holder->pcur = nullptr;
    if (holder->ptop) holder->free_tree();
    holder->start_scan("D:", &client);
    client.wait();
    EXPECT_EQ(client.busy_while_walking, 1);
    EXPECT_EQ(busy.load(std::memory_order_acquire), 0);
    EXPECT_FALSE(holder->scan_running());
    EXPECT_EQ(client.finished, 1);
    EXPECT_EQ(totals(holder->ptop), (V{15, 3, 4}));
  }
}

// The scan compares its root as it ends with the identity recorded as it began: another folder
// put under the path meanwhile is no finished scan; a place the platform could not tell at the
// start but tells at the end is no change.
TEST_F(WalkTest, RootReplacedDuringTheScanIsRefusedAPlaceLearntLaterIsNot) {
  make_worked_example("D:");
  testing_fakes::FakeDiskProbe probe;
  testing_fakes::ScopedDiskProbe scoped(probe);
  WatchedSource watched(fs);
  holder->set_source(&watched);
  const FolderId root{7, 1, "\\Device\\V1\\D"}, replaced{7, 2, root.place}, place_unknown{7, 1, ""};
  for (auto [before, after, ok] :
       {std::tuple{root, replaced, false}, std::tuple{place_unknown, root, true}}) {
    client.reset();
    probe.identity = before;
    watched.lists = 0;
    watched.at_first_list = [&probe, after] { probe.identity = after; };
    holder->start_scan("D:", &client);
    client.wait();
    holder->stop_scan();
    EXPECT_EQ(client.ok, ok);
    EXPECT_EQ(client.message, ok ? "" : gone_text("D:"));
    EXPECT_EQ(holder->ptop.load() != nullptr, ok);
  }
}

TEST_F(WalkTest, ClosingDuringAScanStopsAndJoins) {
  settings.sq = 1;  // the listings counted are the walk's own (both modes: scan_modes_test)
  make_worked_example("D:");
  WatchedSource watched(fs);
  watched.holder = holder.get();
  watched.stop_at = 3;
  holder->set_source(&watched);
  holder->start_scan("D:", &client);
  holder->stop_scan();
  EXPECT_FALSE(holder->scan_running());
  EXPECT_EQ(busy.load(), 0);
  EXPECT_EQ(client.finished, 0);
  EXPECT_EQ(holder->ptop.load(), nullptr);
  EXPECT_LE(watched.lists, 3);
}

TEST_F(WalkTest, DumpAtLevelOne) {
  settings.vl = 1;
  make_worked_example("D:");
  scan("D:");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(read_text_file(log_path),
            "mdir::mdir () OK ...\n"
            "  Thread:read_mdir () started ...\n"
            "FILE-LIST:\n"
            "pa->mdir.ptop: D:\n"
            "  F1 Parent:D:\n"
            "  F4 Parent:D:\n"
            "  D1:D::D:\n"
            "    F2 Parent:D1\n"
            "    S:D1:D1\n"
            "      F3 Parent:S\n"
            "  D2:D::S\n");
}

TEST_F(WalkTest, FolderScanDumpStartsWithTheRootAtDepthOne) {
  settings.vl = 1;
  fs.add_file("C:\\R\\f", 1);
  fs.add_folder("C:\\R\\S");
  scan("C:\\R");
  ASSERT_TRUE(client.ok);
  EXPECT_EQ(read_text_file(log_path),
            "mdir::mdir () OK ...\n"
            "  Thread:read_mdir () started ...\n"
            "FILE-LIST:\n"
            "  pa->mdir.ptop: R\n"
            "    f Parent:R\n"
            "    S:R:R\n");
}

TEST_F(WalkTest, TraceLinesAtLevelTwoAndNoneAtZero) {
  settings.vl = 2;
  make_worked_example("D:");
  scan("D:");
  EXPECT_EQ(read_text_file(log_path),
            "mdir::mdir () OK ...\n"
            "    read_sdir () started ...\n"
            "    read_sdir () finished ...\n"
            "  Thread:read_mdir () finished ...\n");

  settings.vl = 0;
  holder->pcur = nullptr;
  holder->free_tree();
  ASSERT_TRUE(log.open(log_path));
  scan("D:");
  EXPECT_EQ(read_text_file(log_path), "");
}

TEST(WalkPaths, PatternsAndJoins) {
  EXPECT_EQ(folder_pattern("D:\\"), "D:\\*.*");
  EXPECT_EQ(folder_pattern("D:\\X"), "D:\\X\\*.*");
  EXPECT_EQ(pattern_folder("D:\\*.*"), "D:");
  EXPECT_EQ(pattern_folder("D:\\X\\*.*"), "D:\\X");
  EXPECT_EQ(pattern_folder("\\\\srv\\share\\dir"), "\\\\srv\\share");
  EXPECT_EQ(pattern_folder("D:X"), "D:");
  // The root of the current drive, not a name relative to the current folder.
  EXPECT_EQ(pattern_folder("\\DATA"), "\\");
  EXPECT_EQ(join_path(pattern_folder("\\DATA"), "DATA"), "\\DATA");
  EXPECT_EQ(join_path("D:", "X"), "D:\\X");
  EXPECT_EQ(join_path("D:\\", "X"), "D:\\X");
}

}  // namespace
}  // namespace kelvane
