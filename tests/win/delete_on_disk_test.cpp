// Deleting real files while the disk changes under the program: an entry that is no longer
// what the scan listed is left alone, an entry counts as gone only from a folder that is still
// there, a case twin does not make a deletion look failed, and the shell's work runs off the
// window's thread. Every box is caught by the message handler (questions answered Yes).
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/final_place.h"
#include "removal/delete_check.h"
#include "scan/item_texts.h"
#include "tests/support/message_capture.h"
#include "tests/support/program_window.h"
#include "tests/support/scoped_replace.h"
#include "tests/support/unix_shell.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

// The platform's probe, except that the scanned folder can be made another one, or none.
class MovableRoot : public DiskProbe {
 public:
  explicit MovableRoot(DiskProbe& platform) : platform_(platform) {}
  bool moved = false;
  bool unreachable = false;
  bool folder_identity(const std::string& path, FolderId& id) override {
    if (unreachable || !platform_.folder_identity(path, id)) return false;
    if (moved) id.file ^= 1;
    return true;
  }
  bool drive_known(char letter) override { return platform_.drive_known(letter); }
  std::string short_path(const std::string& path) override { return platform_.short_path(path); }

 private:
  DiskProbe& platform_;
};

// The platform's remover, held at each removal until released; after it, an optional file is
// made as each entry is let go (a twin the real deletion leaves beside the entry).
class HeldRemover : public EntryRemover {
 public:
  explicit HeldRemover(EntryRemover& platform) : platform_(platform) {}
  ~HeldRemover() override {
    CloseHandle(entered);
    CloseHandle(release);
  }
  HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // not held unless reset
  std::atomic<int> calls{0};
  std::atomic<int> finished{0};
  std::atomic<DWORD> thread{0};
  int hold_from = 1;  // the first removal that is held
  std::string twin;

  OpenResult open_root(const std::string& path, const FolderId* recorded, OpenEntry& out) override {
    return platform_.open_root(path, recorded, out);
  }
  OpenResult open(const OpenEntry& folder, const std::string& name, const ListedEntry& listed, bool on_way,
                  OpenEntry& out) override {
    return platform_.open(folder, name, listed, on_way, out);
  }
  OpenResult open_through(const OpenEntry& folder, const std::string& name, const FolderId& target,
                          OpenEntry& out) override {
    return platform_.open_through(folder, name, target, out);
  }
  RemoveResult remove(OpenEntry& entry, bool is_dir) override {
    thread = GetCurrentThreadId();
    if (++calls >= hold_from) {
      SetEvent(entered);
      WaitForSingleObject(release, 20000);
    }
    const RemoveResult result = platform_.remove(entry, is_dir);
    ++finished;
    return result;
  }
  void close(OpenEntry& entry) override {
    platform_.close(entry);
    if (!twin.empty()) std::ofstream(fs::path(widen(twin))) << "twin";
  }
  Presence find(const OpenEntry& folder, const std::string& name) override {
    return platform_.find(folder, name);
  }
  bool names(const OpenEntry& folder, std::vector<std::string>& out) override {
    return platform_.names(folder, out);
  }
  uint32_t stamp(const OpenEntry& folder) override { return platform_.stamp(folder); }

 private:
  EntryRemover& platform_;
};

struct DeleteOnDisk : testing_fakes::ProgramWindowTest {
  DeleteOnDisk() : ProgramWindowTest("Software\\Tarnwick\\KelvaneDeleteOnDiskTest") {}
  std::string folder;
  testing_fakes::MessageCapture messages;
  std::vector<std::string>& shown = messages.texts;
  MovableRoot probe{disk_probe()};
  HeldRemover held{entry_remover()};
  testing_fakes::ScopedEntryRemover remover_scope{held};
  testing_fakes::ScopedDiskProbe probe_scope{probe};

  void SetUp() override {
    std::wstring temp(MAX_PATH + 1, L'\0');
    temp.resize(GetTempPathW(MAX_PATH + 1, temp.data()));
    folder = narrow(temp) + "kelvane delete " + std::to_string(GetCurrentProcessId());
    fs::remove_all(fs::path(widen(folder)));
    fs::create_directories(fs::path(widen(folder)));
    ProgramWindowTest::SetUp();
    app->CGUI.ud = 0;  // for good: nothing goes to the desktop's trash
  }
  bool made_links = false;
  void TearDown() override {
    SetEvent(held.release);
    ProgramWindowTest::TearDown();
    // Unix links go as links: removed through Wine, what they name would go instead.
    if (made_links) run_unix("find '" + unix_name_of(folder) + "' -type l -delete", folder, "unlinked");
    std::error_code ignored;
    fs::remove_all(fs::path(widen(folder)), ignored);
  }

  std::string at(const std::string& name) const { return folder + "\\" + name; }
  void make_file(const std::string& name, size_t size) {
    std::ofstream(fs::path(widen(at(name))), std::ios::binary) << std::string(size, 'k');
  }
  bool on_disk(const std::string& name) const { return fs::exists(fs::path(widen(at(name)))); }
  lobj* node_of(const std::string& name) { return left->list().actions().node_of_row(row_of(name)); }
  // The bytes and files on disk beneath the named folder.
  std::pair<uint64_t, int> disk_totals(const std::string& name) const {
    std::pair<uint64_t, int> totals{0, 0};
    for (const auto& e : fs::recursive_directory_iterator(fs::path(widen(at(name))))) {
      if (!e.is_regular_file()) continue;
      totals.first += e.file_size();
      ++totals.second;
    }
    return totals;
  }
  // Runs the window's queue until the status bar reads text, for ten seconds at most.
  bool status_reads(const std::string& text) {
    for (int i = 0; i < 500 && app->frame()->status().message() != text; ++i) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      app->pump();
    }
    return app->frame()->status().message() == text;
  }
  int row_of(const std::string& name) {
    for (int r = 0; r < left->list().rows(); ++r) {
      if (left->list().row_name(r) == name) return r;
    }
    return -1;
  }
  void select(const std::vector<std::string>& names) {
    left->list().select_item(-1, false);
    for (const std::string& name : names) left->list().select_item(row_of(name), true);
  }
  // Delete of the named rows, answered Yes; returns the boxes shown after the question.
  std::vector<std::string> delete_rows(const std::vector<std::string>& names) {
    select(names);
    shown.clear();
    left->list().OnDelete();
    settle();
    return shown.empty() ? shown : std::vector<std::string>(shown.begin() + 1, shown.end());
  }
  std::string behind_link(const std::string& name) { return behind_link_text(upper_folder() + "\\" + name); }
  std::string changed(const std::string& name) {
    return upper_folder() + "\\" + name + "\nCHANGED SINCE THE SCAN, SCAN AGAIN !";
  }
  // The path as the tree holds it: the scanned folder as it was requested.
  std::string upper_folder() { return std::string(app->mdir.ptop.load()->root_path); }
};

TEST_F(DeleteOnDisk, EntryThatChangedSinceTheScanIsLeftAlone) {
  make_file("x", 10);
  make_file("y", 10);
  make_file("z", 10);
  scan(folder);
  // x is now a folder of three files, y has grown, and then the scanned folder is another.
  fs::remove(fs::path(widen(at("x"))));
  fs::create_directories(fs::path(widen(at("x"))));
  for (const char* name : {"x\\1", "x\\2", "x\\3"}) make_file(name, 100);
  make_file("y", 20);

  EXPECT_EQ(delete_rows({"x"}), std::vector<std::string>{changed("x")});
  EXPECT_EQ(delete_rows({"y"}), std::vector<std::string>{changed("y")});
  probe.moved = true;
  EXPECT_EQ(delete_rows({"z"}), std::vector<std::string>{changed("z")});
  EXPECT_EQ(held.calls.load(), 0);
  EXPECT_TRUE(on_disk("x\\3"));
  EXPECT_EQ(fs::file_size(fs::path(widen(at("y")))), 20u);
  EXPECT_TRUE(on_disk("z"));
  EXPECT_NE(row_of("x"), -1);
  EXPECT_NE(row_of("y"), -1);
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 30u);

  // Unchanged, it goes.
  probe.moved = false;
  EXPECT_TRUE(delete_rows({"z"}).empty());
  EXPECT_FALSE(on_disk("z"));
  EXPECT_EQ(row_of("z"), -1);
}

// What the program acts on is what it scanned: every folder on the way down is still the one
// scanned and no link, and the entry itself is the one listed, not another of the same name,
// kind and size put in its place.
TEST_F(DeleteOnDisk, EntryReachedAnotherWayOrReplacedIsLeftAlone) {
  const std::string outside = folder + " outside";
  fs::create_directories(fs::path(widen(outside + "\\D")));
  std::ofstream(fs::path(widen(outside + "\\x")), std::ios::binary) << std::string(1000, 'o');
  std::ofstream(fs::path(widen(outside + "\\D\\precious")), std::ios::binary) << "keep";
  for (const char* name : {"sub", "D", "keep"}) fs::create_directories(fs::path(widen(at(name))));
  make_file("sub\\x", 1000);
  make_file("D\\d1", 10);
  make_file("f", 10);
  make_file("keep\\y", 5);
  scan(folder);
  // sub moved aside and a link to the outside folder put in its place; D moved aside and a
  // new D made; f written anew with as many bytes.
  const std::string u = unix_name_of(folder);
  ASSERT_TRUE(run_unix("cd '" + u + "' && mv sub sub.old && ln -s '" + unix_name_of(outside) +
                           "' sub && mv D D.old && mkdir D && printf keep > D/precious",
                       folder, "swapped"));
  make_file("f", 10);
  HANDLE f = CreateFileW(widen(at("f")).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  const FILETIME y2001{0xC89DC000u, 0x01C07385u};  // another time than the scanned file's
  SetFileTime(f, &y2001, nullptr, &y2001);
  CloseHandle(f);

  select({"sub"});
  left->list().OnOpen();
  EXPECT_EQ(delete_rows({"x"}), std::vector<std::string>{behind_link("sub\\x")});
  select({".."});
  left->list().OnOpen();
  // Once, under a full run, D was taken for a link: where the system placed it then says why.
  EXPECT_EQ(delete_rows({"D"}), std::vector<std::string>{changed("D")})
      << "D is at " << narrow(final_place(widen(at("D")))) << ", its folder at "
      << narrow(final_place(widen(folder)));
  EXPECT_EQ(delete_rows({"f"}), std::vector<std::string>{changed("f")});
  EXPECT_EQ(held.calls.load(), 0);
  EXPECT_EQ(fs::file_size(fs::path(widen(outside + "\\x"))), 1000u);
  EXPECT_TRUE(fs::exists(fs::path(widen(outside + "\\D\\precious"))));
  EXPECT_TRUE(on_disk("D\\precious"));
  EXPECT_TRUE(on_disk("f"));

  // What is still as scanned goes: a file on a way of unchanged folders, then its folder.
  select({"keep"});
  left->list().OnOpen();
  EXPECT_TRUE(delete_rows({"y"}).empty());
  select({".."});
  left->list().OnOpen();
  EXPECT_TRUE(delete_rows({"keep"}).empty());
  EXPECT_FALSE(on_disk("keep"));
  EXPECT_EQ(held.calls.load(), 2);
  run_unix("rm -f '" + u + "/sub'", folder, "unlinked");
  std::error_code ignored;
  fs::remove_all(fs::path(widen(outside)), ignored);
}

TEST_F(DeleteOnDisk, AlreadyGoneOnlyWhereTheFolderIsStillThere) {
  fs::create_directories(fs::path(widen(at("sub"))));
  make_file("sub\\f", 5);
  make_file("g", 7);
  make_file("h", 9);
  scan(folder);
  select({"sub"});
  left->list().OnOpen();
  ASSERT_NE(row_of("f"), -1);
  fs::remove_all(fs::path(widen(at("sub"))));
  EXPECT_EQ(delete_rows({"f"}),
            std::vector<std::string>{"Could not delete " + upper_folder() + "\\sub\\f !"});
  EXPECT_NE(row_of("f"), -1);

  // The drive (or the scanned folder) cannot be reached: nothing is taken for gone.
  select({".."});
  left->list().OnOpen();
  probe.unreachable = true;
  fs::remove(fs::path(widen(at("h"))));
  EXPECT_EQ(delete_rows({"g"}), std::vector<std::string>{"Could not delete " + upper_folder() + "\\g !"});
  EXPECT_EQ(delete_rows({"h"}), std::vector<std::string>{"Could not delete " + upper_folder() + "\\h !"});
  EXPECT_TRUE(on_disk("g"));
  EXPECT_NE(row_of("h"), -1);
  // Reachable again: h is gone from a folder that is there.
  probe.unreachable = false;
  EXPECT_TRUE(delete_rows({"h"}).empty());
  EXPECT_EQ(row_of("h"), -1);
  EXPECT_EQ(held.calls.load(), 0);
}

TEST_F(DeleteOnDisk, CaseTwinLeftBesideADeletedEntryIsNotAFailure) {
  make_file("CASE.txt", 8);
  scan(folder);
  // Where names differ by case only, a twin stays behind the real deletion.
  held.twin = at("Case.txt");
  EXPECT_TRUE(delete_rows({"CASE.txt"}).empty());
  EXPECT_EQ(held.finished.load(), 1);
  EXPECT_EQ(row_of("CASE.txt"), -1);
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 0u);
}

TEST_F(DeleteOnDisk, DeletionRunsOffTheWindowThreadWhichKeepsAnswering) {
  make_file("big.bin", 3000);
  make_file("mid.txt", 2000);
  make_file("small.txt", 10);
  scan(folder);
  ResetEvent(held.release);
  select({"mid.txt"});
  left->list().OnDelete();
  ASSERT_EQ(WaitForSingleObject(held.entered, 10000), WAIT_OBJECT_0);
  EXPECT_NE(held.thread.load(), GetCurrentThreadId());
  EXPECT_EQ(app->busy.load(), kBusyDelete);
  app->pump();
  EXPECT_EQ(app->frame()->status().message(), deleting_text(upper_folder() + "\\mid.txt", 0, 1));
  // Meanwhile the panes take no request: no second deletion, no new scan.
  const size_t boxes = shown.size();
  select({"big.bin"});
  left->list().OnDelete();
  left->OnEnumDir(upper_folder());
  EXPECT_EQ(shown.size(), boxes);
  EXPECT_EQ(held.calls.load(), 1);
  EXPECT_TRUE(on_disk("mid.txt"));
  // Nor does the holder start a second run beside it; once the first is over, it does.
  auto second = std::make_shared<DeleteRun>(app->mdir, std::vector<lobj*>{node_of("big.bin")});
  EXPECT_FALSE(start_delete_run(app->mdir, second, left->delete_client()));

  SetEvent(held.release);
  settle();
  EXPECT_TRUE(on_disk("big.bin"));
  EXPECT_TRUE(start_delete_run(app->mdir, second, left->delete_client()));
  settle();
  EXPECT_FALSE(on_disk("big.bin"));
  EXPECT_EQ(held.calls.load(), 2);
  EXPECT_FALSE(on_disk("mid.txt"));
  EXPECT_EQ(row_of("mid.txt"), -1);
  EXPECT_EQ(row_of("big.bin"), -1);
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 10u);
  EXPECT_NE(app->frame()->status().message().rfind("Deleting ", 0), 0u);
}

TEST_F(DeleteOnDisk, ClosingDuringADeletionEndsTheEntryAtHandAndStartsNoOther) {
  make_file("big.bin", 3000);
  make_file("mid.txt", 2000);
  scan(folder);
  ResetEvent(held.release);
  select({"big.bin", "mid.txt"});
  left->list().OnDelete();
  ASSERT_EQ(WaitForSingleObject(held.entered, 10000), WAIT_OBJECT_0);
  // The entry at hand goes on once the window has asked the run to stop: the list's pane asks
  // as it is destroyed, so once its window is gone.
  const HWND pane = left->hwnd();
  std::thread releaser([this, pane] {
    for (int i = 0; i < 1000 && IsWindow(pane); ++i) Sleep(10);
    SetEvent(held.release);
  });
  app->free_main_window();
  left = nullptr;
  releaser.join();
  EXPECT_EQ(held.finished.load(), 1);
  EXPECT_EQ(held.calls.load(), 1);
  EXPECT_FALSE(on_disk("big.bin"));
  EXPECT_TRUE(on_disk("mid.txt"));
}

// For good, the program removes a folder itself, entry by entry, counting in the status bar;
// Esc stops it after the entry at hand, and the rows and totals show what is still on disk.
TEST_F(DeleteOnDisk, PermanentDeletionCountsAndStopsOnEscLeavingTheRestListedTruly) {
  for (const char* name : {"F\\m", "F\\n"}) fs::create_directories(fs::path(widen(at(name))));
  make_file("F\\m\\a", 1);
  make_file("F\\m\\b", 2);
  make_file("F\\n\\c", 4);
  make_file("F\\d", 8);
  make_file("F\\e", 16);
  make_file("keep", 100);
  scan(folder);
  const std::string f = upper_folder() + "\\F";
  held.hold_from = 4;
  ResetEvent(held.release);
  select({"F"});
  shown.clear();
  left->list().OnDelete();
  ASSERT_EQ(WaitForSingleObject(held.entered, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(status_reads(deleting_text(f, 3, 8)));
  PostMessageW(left->list().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  app->pump();
  SetEvent(held.release);
  settle();
  EXPECT_EQ(held.calls.load(), 4);
  EXPECT_EQ(shown.size(), 1u);  // the question; a stop the user gave needs no box
  ASSERT_TRUE(on_disk("F"));
  const auto [bytes, files] = disk_totals("F");
  EXPECT_LT(files, 5);
  lobj* node = node_of("F");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->size.load(), bytes);
  EXPECT_EQ(node->nfil.load(), files);
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 100 + bytes);
}

// A folder inside the one being deleted is swapped for a link to an outside folder of the same
// layout while the deletion runs: nothing is removed through the link, nor what it names.
TEST_F(DeleteOnDisk, FolderSwappedForALinkDuringTheDeletionLeadsNowhere) {
  for (const char* name : {"F\\m", "out"}) fs::create_directories(fs::path(widen(at(name))));
  for (const char* name : {"F\\m\\x", "out\\x"}) make_file(name, 10);
  for (const char* name : {"F\\m\\y", "out\\y"}) make_file(name, 20);
  make_file("F\\z", 5);
  scan(folder);
  ResetEvent(held.release);
  select({"F"});
  shown.clear();
  left->list().OnDelete();
  ASSERT_EQ(WaitForSingleObject(held.entered, 10000), WAIT_OBJECT_0);
  fs::rename(fs::path(widen(at("F\\m"))), fs::path(widen(at("F\\moved"))));
  made_links = true;
  ASSERT_TRUE(run_unix("ln -s '" + unix_name_of(at("out")) + "' '" + unix_name_of(at("F")) + "/m'", folder,
                       "linked"));
  SetEvent(held.release);
  settle();
  for (const char* name : {"out\\x", "out\\y", "F\\moved\\x", "F\\moved\\y"})
    EXPECT_TRUE(on_disk(name)) << name;
  EXPECT_FALSE(on_disk("F\\z"));
  EXPECT_EQ(shown, (std::vector<std::string>{"Delete F ?", link_text(upper_folder() + "\\F", true, true)}));
  lobj* node = node_of("F");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->size.load(), 30u);  // z went; what the link stands in for stays listed
}

// The entry's folder replaced by a link to a folder of the same layout after the scan: deleting
// for good, the entry is looked for beneath the scanned folder's own place, and is not there.
TEST_F(DeleteOnDisk, FolderOnThePathSwappedForALinkAfterTheScanLeavesBothAlone) {
  for (const char* name : {"sub", "out"}) fs::create_directories(fs::path(widen(at(name))));
  for (const char* name : {"sub\\x", "out\\x"}) make_file(name, 1000);
  scan(folder);
  select({"sub"});
  left->list().OnOpen();
  fs::rename(fs::path(widen(at("sub"))), fs::path(widen(at("moved"))));
  made_links = true;
  ASSERT_TRUE(run_unix("ln -s '" + unix_name_of(at("out")) + "' '" + unix_name_of(at("sub")) + "'", folder,
                       "linked"));
  EXPECT_EQ(delete_rows({"x"}), std::vector<std::string>{behind_link("sub\\x")});
  EXPECT_TRUE(on_disk("out\\x"));
  EXPECT_TRUE(on_disk("moved\\x"));
  EXPECT_NE(row_of("x"), -1);
}

// Beneath a link the scan entered, entries are deleted through the link while it leads to the
// folder the scan entered, two of them in one run, and in a folder beneath it, with either
// setting of the recycle bin. Pointed at another folder holding an entry of the same name and
// size, the link leads to what was never scanned: that entry is left alone, as changed (a scan
// again would list it).
TEST_F(DeleteOnDisk, EntryBeneathALinkTheScanEnteredGoesWhileTheLinkLeadsThere) {
  const std::string outside = folder + " entered", other = folder + " other";
  const std::string binned = "kelvane bin " + std::to_string(GetCurrentProcessId());
  for (const std::string& place : {outside, other}) {
    fs::create_directories(fs::path(widen(place + "\\deep")));
    std::ofstream(fs::path(widen(place + "\\y")), std::ios::binary) << std::string(7, 'e');
  }
  fs::create_directories(fs::path(widen(outside + "\\dd")));
  for (const std::string& name : {std::string("w"), std::string("dd\\z"), "deep\\" + binned})
    std::ofstream(fs::path(widen(outside + "\\" + name)), std::ios::binary) << "w";
  made_links = true;
  const std::string link = unix_name_of(at("L"));
  ASSERT_TRUE(run_unix("ln -s '" + unix_name_of(outside) + "' '" + link + "'", folder, "entered"));
  scan(folder);
  select({"L"});
  left->list().OnOpen();
  ASSERT_TRUE(run_unix("ln -sfn '" + unix_name_of(other) + "' '" + link + "'", folder, "elsewhere"));
  EXPECT_EQ(delete_rows({"y"}), std::vector<std::string>{changed("L\\y")});
  app->CGUI.ud = 1;
  EXPECT_EQ(delete_rows({"y"}), std::vector<std::string>{changed("L\\y")});
  app->CGUI.ud = 0;
  EXPECT_TRUE(fs::exists(fs::path(widen(other + "\\y"))));
  EXPECT_NE(row_of("y"), -1);
  ASSERT_TRUE(run_unix("ln -sfn '" + unix_name_of(outside) + "' '" + link + "'", folder, "back"));
  EXPECT_TRUE(delete_rows({"y", "w"}).empty());
  EXPECT_EQ(row_of("y"), -1);
  // A folder inside is on the volume the link leads to, not another one.
  EXPECT_TRUE(delete_rows({"dd"}).empty());
  EXPECT_EQ(row_of("dd"), -1);
  select({"deep"});
  left->list().OnOpen();
  app->CGUI.ud = 1;
  EXPECT_TRUE(delete_rows({binned}).empty());
  EXPECT_EQ(row_of(binned), -1);
  for (const std::string& name : {std::string("y"), std::string("w"), std::string("dd"), "deep\\" + binned})
    EXPECT_FALSE(fs::exists(fs::path(widen(outside + "\\" + name)))) << name;
  EXPECT_TRUE(fs::exists(fs::path(widen(other + "\\y"))));
  run_unix("cd ${XDG_DATA_HOME:-$HOME/.local/share}/Trash && rm -f 'files/" + binned + "' 'info/" + binned +
               ".trashinfo'",
           folder, "unbinned");
  std::error_code ignored;
  for (const std::string& place : {outside, other}) fs::remove_all(fs::path(widen(place)), ignored);
}

// A folder removed and made again since the scan, with a new file of a listed name and size:
// ext4 gives the freed inode to the next folder made, so only its creation time (under Wine its
// last-write time) tells it from the scanned one; neither setting of the recycle bin takes it.
// Beneath a folder deleted for good, a listed file replaced by a larger one is kept and named,
// with its folder. The program's own removals in a folder do not make it another: its entries
// go one run after another, then the folder.
TEST_F(DeleteOnDisk, FolderMadeAgainOrFileReplacedBeneathIsLeftAlone) {
  for (const char* name : {"R", "P", "S"}) fs::create_directories(fs::path(widen(at(name))));
  for (const char* name : {"R\\f", "P\\g"}) make_file(name, 700);
  for (const char* name : {"P\\h", "S\\a", "S\\b", "S\\c"}) make_file(name, 5);
  scan(folder);
  ASSERT_TRUE(
      run_unix("cd '" + unix_name_of(folder) + "' && rm -rf R && mkdir R && head -c 700 /dev/zero > R/f",
               folder, "made again"));
  make_file("P\\g", 4000);
  EXPECT_EQ(delete_rows({"R"}), std::vector<std::string>{changed("R")});
  app->CGUI.ud = 1;
  EXPECT_EQ(delete_rows({"R"}), std::vector<std::string>{changed("R")});
  app->CGUI.ud = 0;
  EXPECT_TRUE(on_disk("R\\f"));
  EXPECT_EQ(delete_rows({"P"}), std::vector<std::string>{changed("P\\g")});
  EXPECT_EQ(fs::file_size(fs::path(widen(at("P\\g")))), 4000u);
  EXPECT_FALSE(on_disk("P\\h"));
  EXPECT_NE(row_of("P"), -1);

  select({"S"});
  left->list().OnOpen();
  EXPECT_TRUE(delete_rows({"a", "b"}).empty());
  EXPECT_TRUE(delete_rows({"c"}).empty());
  select({".."});
  left->list().OnOpen();
  EXPECT_TRUE(delete_rows({"S"}).empty());
  EXPECT_FALSE(on_disk("S"));
}

// A file another program holds open, sharing its deletion (an indexer, a sync client), stays in
// its folder until that program lets go: deleting the folder for good, the folder is tried again
// briefly, then the file that stuck is named, and the rows and totals show what is on disk. A
// file held without sharing its deletion cannot even be opened for it: it stays, and says so.
TEST_F(DeleteOnDisk, ChildHeldOpenElsewhereIsNamedAndStaysListed) {
  fs::create_directories(fs::path(widen(at("H"))));
  make_file("H\\a", 10);
  make_file("H\\b", 20);
  make_file("keep", 5);
  make_file("busy", 40);
  scan(folder);
  HANDLE busy = CreateFileW(widen(at("busy")).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  EXPECT_EQ(delete_rows({"busy"}),
            std::vector<std::string>{"Could not delete " + upper_folder() + "\\busy !"});
  CloseHandle(busy);
  EXPECT_NE(row_of("busy"), -1);
  HANDLE b =
      CreateFileW(widen(at("H\\b")).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(b, INVALID_HANDLE_VALUE);
  EXPECT_EQ(delete_rows({"H"}), std::vector<std::string>{"Could not delete " + upper_folder() + "\\H\\b !"});
  const bool b_there = on_disk("H\\b");
  CloseHandle(b);
  EXPECT_TRUE(b_there);
  EXPECT_FALSE(on_disk("H\\a"));
  lobj* node = node_of("H");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->size.load(), 20u);
  EXPECT_EQ(node->nfil.load(), 1);
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 65u);
}

// While the question is up, keys, clicks and commands posted to the window start nothing: no
// second question, no Open, no scan, no Exit; the answer then acts on the entry asked about.
TEST_F(DeleteOnDisk, OneQuestionAtATime) {
  make_file("a", 10);
  make_file("b", 20);
  fs::create_directories(fs::path(widen(at("sub"))));
  make_file("sub\\s", 1);
  scan(folder);
  std::vector<std::string> asked;
  testing_fakes::ScopedMessageHandler answer([&](const std::string& text, unsigned type) {
    asked.push_back(text);
    if (asked.size() == 1) {
      HWND list = left->list().hwnd();
      HWND main = app->frame()->hwnd();
      PostMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
      PostMessageW(list, WM_KEYUP, VK_DELETE, 0);
      PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
      RECT r{};
      ListView_GetItemRect(list, row_of("sub"), &r, LVIR_BOUNDS);
      PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2));
      for (int id : {ID_CMD_OPEN, ID_CMD_DELETE, ID_CMD_PROPERTIES, ID_CMD_ENUM_DRIVES, ID_CMD_ENUM_DIR})
        PostMessageW(main, WM_COMMAND, id, 0);
      PostMessageW(main, WM_CLOSE, 0, 0);
      app->pump();
    }
    return type == kMessageYesNo ? kAnswerYes : kAnswerOk;
  });
  select({"a"});
  left->list().OnDelete();
  settle();
  EXPECT_EQ(asked, std::vector<std::string>{"Delete a ?"});
  EXPECT_FALSE(on_disk("a"));
  EXPECT_TRUE(on_disk("b"));
  EXPECT_TRUE(on_disk("sub\\s"));
  ASSERT_TRUE(IsWindow(app->frame()->hwnd()));
  EXPECT_EQ(app->mdir.pcur.load(), app->mdir.ptop.load());
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "..", "b", "sub"}));
}

}  // namespace
}  // namespace kelvane
