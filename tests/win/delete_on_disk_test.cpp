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
  DiskEntry entry(const std::string& path) override { return platform_.entry(path); }
  bool folder_identity(const std::string& path, FolderId& id) override {
    if (unreachable || !platform_.folder_identity(path, id)) return false;
    if (moved) id.file ^= 1;
    return true;
  }
  bool holds_link(const std::string& path) override { return platform_.holds_link(path); }
  bool drive_known(char letter) override { return platform_.drive_known(letter); }
  std::string short_path(const std::string& path) override { return platform_.short_path(path); }

 private:
  DiskProbe& platform_;
};

// The platform's shell, held at each deletion until released; after it, an optional file is
// made (a twin the real deletion leaves beside the entry).
class HeldShell : public Shell {
 public:
  explicit HeldShell(Shell& platform) : platform_(platform) {}
  ~HeldShell() override {
    CloseHandle(entered);
    CloseHandle(release);
  }
  HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // not held unless reset
  std::atomic<int> calls{0};
  std::atomic<int> finished{0};
  std::atomic<DWORD> thread{0};
  std::string twin;

  int delete_path(const std::string& path, unsigned flags) override {
    thread = GetCurrentThreadId();
    ++calls;
    SetEvent(entered);
    WaitForSingleObject(release, 20000);
    const int result = platform_.delete_path(path, flags);
    if (!twin.empty()) std::ofstream(fs::path(widen(twin))) << "twin";
    ++finished;
    return result;
  }
  int find_executable(const std::string& file, std::string& program) override {
    return platform_.find_executable(file, program);
  }
  bool start_program(const std::string&, const std::string&) override { return false; }
  std::string system_folder() override { return platform_.system_folder(); }

 private:
  Shell& platform_;
};

struct DeleteOnDisk : testing_fakes::ProgramWindowTest {
  DeleteOnDisk() : ProgramWindowTest("Software\\Tarnwick\\KelvaneDeleteOnDiskTest") {}
  std::string folder;
  testing_fakes::MessageCapture messages;
  std::vector<std::string>& shown = messages.texts;
  MovableRoot probe{disk_probe()};
  HeldShell held{shell()};
  testing_fakes::ScopedShell shell_scope{held};
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
  void TearDown() override {
    SetEvent(held.release);
    ProgramWindowTest::TearDown();
    std::error_code ignored;
    fs::remove_all(fs::path(widen(folder)), ignored);
  }

  std::string at(const std::string& name) const { return folder + "\\" + name; }
  void make_file(const std::string& name, size_t size) {
    std::ofstream(fs::path(widen(at(name))), std::ios::binary) << std::string(size, 'k');
  }
  bool on_disk(const std::string& name) const { return fs::exists(fs::path(widen(at(name)))); }
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
  EXPECT_EQ(delete_rows({"x"}), std::vector<std::string>{changed("sub\\x")});
  select({".."});
  left->list().OnOpen();
  EXPECT_EQ(delete_rows({"D"}), std::vector<std::string>{changed("D")});
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
  EXPECT_EQ(app->frame()->status().message(), deleting_text(upper_folder() + "\\mid.txt"));
  // Meanwhile the panes take no request: no second deletion, no new scan.
  const size_t boxes = shown.size();
  select({"big.bin"});
  left->list().OnDelete();
  left->OnEnumDir();
  EXPECT_EQ(shown.size(), boxes);
  EXPECT_EQ(held.calls.load(), 1);
  EXPECT_TRUE(on_disk("mid.txt"));

  SetEvent(held.release);
  settle();
  EXPECT_FALSE(on_disk("mid.txt"));
  EXPECT_EQ(row_of("mid.txt"), -1);
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 3010u);
  EXPECT_NE(app->frame()->status().message(), deleting_text(upper_folder() + "\\mid.txt"));
}

TEST_F(DeleteOnDisk, ClosingDuringADeletionEndsTheEntryAtHandAndStartsNoOther) {
  make_file("big.bin", 3000);
  make_file("mid.txt", 2000);
  scan(folder);
  ResetEvent(held.release);
  select({"big.bin", "mid.txt"});
  left->list().OnDelete();
  ASSERT_EQ(WaitForSingleObject(held.entered, 10000), WAIT_OBJECT_0);
  // The entry at hand goes on once the window has asked the run to stop.
  std::thread releaser([this] {
    for (int i = 0; i < 1000 && !app->mdir.delete_stop_asked(); ++i) Sleep(10);
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

}  // namespace
}  // namespace kelvane
